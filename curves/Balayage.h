#pragma once
#include <cstdint>
#include <optional>

// What a sweep is asked to do.
struct ParametresBalayage {
  double fmin = 100, fmax = 100;  // hertz; fmax itself is never reached
  int points = 0;                 // 0: the dialog's default
  int delaiMs = 0;                // between a frequency step and its point; 0: the default
  bool logarithmique = false;     // k-th of n at fmin·(fmax/fmin)^(k/n) instead of linear
};

// The automatic sweep of the generator's frequency: the frequencies of its
// points, and when it ends. The point itself is taken by the caller.
class Balayage {
 public:
  static constexpr int PointsParDefaut = 256, DelaiParDefautMs = 500;

  // Starts from point 0 and gives its frequency. A count or delay of 0 takes the
  // default (a timer of 0 ms would never run).
  double Demarre(const ParametresBalayage &p);
  void Arrete() { enCours_ = false; }
  bool EnCours() const { return enCours_; }
  const ParametresBalayage &Parametres() const { return p_; }

  // The frequency of point k (0 .. points − 1).
  double Frequence(int k) const;
  // After a point was tried, with `nombre` points now stored: the frequency of the
  // next one, or nothing when the sweep has its points (it then ends).
  std::optional<double> Suivante(int nombre);

 private:
  ParametresBalayage p_;
  bool enCours_ = false;
};
