#pragma once
#include <array>
#include <cstdint>

#include "Courbe.h"

// The points of the frequency-response diagram: point p is Valeurs[p] of each of
// the five measurement curves (0: the measured frequency), and `nombre` says how
// many are valid. A point is the curves' current values.
class ListePoints {
 public:
  static constexpr int NbMax = 8192;  // the curves hold 8193 values

  enum class Refus : uint8_t {
    Aucun,             // the point is stored
    ValeurIncorrecte,  // a shown curve has no value
    Plein,             // NbMax points already
  };
  struct Resultat {
    Refus refus = Refus::Aucun;
    int courbe = -1;  // with ValeurIncorrecte: the first shown curve without a value
  };

  ListePoints(std::array<TCourbeMesure, 5> &courbes, uint16_t &nombre)
      : courbes_(courbes), nombre_(nombre) {}

  // Appends the current values; a curve not shown gets ValeurIndefinie at that
  // index, so that no stale sample is drawn or exported later.
  Resultat AcquiertPoint();
  // Drops the last point; false (nothing done) when there is none.
  bool Defaire();
  void Efface() { nombre_ = 0; }
  int Nombre() const { return nombre_; }

 private:
  std::array<TCourbeMesure, 5> &courbes_;
  uint16_t &nombre_;
};
