#pragma once
// Plain stand-ins for the curves and graphs, with the fields the window and its
// acquisition cycle use: they keep the program whole and drawable until the
// graphs library takes their place.
#include <QImage>
#include <array>
#include <cstdint>
#include <memory>

#include "Tvoie.h"

namespace provisoire {

inline double PasFrequence = 100.0;          // hertz per spectrum line
inline double PeriodeEchantillonnage = 1.0;  // seconds per sample

class TCourbe : public Tvoie {
 public:
  TCourbe(const char *nom, int index, const char *unite);
};

// An oscilloscope channel: its samples, their spectrum and levels.
class TCourbeOsc : public TCourbe {
 public:
  using TCourbe::TCourbe;
  std::array<double, NbValeursVoie> Spectre{};
  double Minimum = 0, Maximum = 0, Efficace = 0, Moyenne = 0, CreteACrete = 0;
  uint16_t DebutPeriode = 0, FinPeriode = 0;
  void AnalyseCourbe(uint16_t n);
};

class TgrapheOsc;

// A measured quantity of the frequency-response diagram.
class TCourbeMesure : public TCourbe {
 public:
  using TCourbe::TCourbe;
  uint8_t Grandeur = 1;
  double Valeur = 0;
  uint8_t VoieMesure = 1, VoieReference = 1;
  void CalculMesure(TgrapheOsc &temps);
};

// The oscilloscope screen (time mode) or the spectrum (bar mode).
class TgrapheOsc {
 public:
  TgrapheOsc();
  TCourbe Abscisse{"t", 0, "s"};
  TCourbeOsc &Courbe(int voie) { return voie == 2 ? v2_ : v1_; }
  uint16_t NbPoints = 0;
  bool ModeBarres = false;
  uint8_t NiveauSynchro = 127, SensSynchro = 0, VoieSynchro = 0;
  double OrigineTemps = 0;
  int32_t NbBandes = 0;
  void Dessine(QImage &image);

 private:
  TCourbeOsc v1_{"V1", 1, "V"}, v2_{"V2", 2, "V"};
};

// The frequency-response diagram: curve 0 the frequency, 1..4 the quantities.
class TgrapheMesure {
 public:
  TgrapheMesure();
  std::array<std::unique_ptr<TCourbeMesure>, 5> Courbes;
  uint16_t NbPoints = 0;
  void Dessine(QImage &image);
  void Curseur(QImage &image);  // inverting: a second call erases it
};

}  // namespace provisoire
