#pragma once
// A low-frequency generator that records what it is told (called on the device thread).
#include <mutex>
#include <vector>

#include "AccesGenerateurs.h"

class GenerateurNote final : public AccesGenerateurs {
 public:
  bool Ouvre(GenreGenerateur g) override { return g == GenreGenerateur::GBF; }
  void Stoppe(GenreGenerateur) override {}
  void SetFrequence(GenreGenerateur, double f) override { Note(frequences_, f); }
  void SetAmplitude(GenreGenerateur, double crete) override { Note(amplitudes_, crete); }
  void CalculeTable(GenreGenerateur) override {}
  bool Lance(GenreGenerateur) override { return true; }
  std::vector<double> Frequences() { return Lit(frequences_); }
  std::vector<double> Amplitudes() { return Lit(amplitudes_); }

 private:
  void Note(std::vector<double> &v, double x) {
    const std::lock_guard verrou(m_);
    v.push_back(x);
  }
  std::vector<double> Lit(const std::vector<double> &v) {
    const std::lock_guard verrou(m_);
    return v;
  }
  std::mutex m_;
  std::vector<double> frequences_, amplitudes_;
};
