#pragma once
// The settings file "zelm.zlm" as values: what the window keeps between runs, read
// with every value checked (anything the program would not write takes the
// default) and written in the file's order. No Qt and no files here: the window
// opens the file and applies the values through its handlers.
#include <array>
#include <cstdint>

#include "TOscillo.h"

class FichierIni;

// One measurement curve of the diagram.
struct MesureFichier {
  bool active = true;
  int grandeur = 1;  // 1..8; curve 0 is always the frequency
  // kept in the program's own section
  int voieMesure = 1, voieReference = 1;  // 0..2, as the channel dialog accepts
  uint32_t couleur = 0;                   // 0x00BBGGRR
  int motif = 0;                          // 0..3
};

struct ReglagesFichier {
  int dimPoint = 2;  // 0..5, section "Graphe"
  int nbHarmoniques = 4096;
  bool axeYOscillo = true, analLog = false, axeYMesure = true;
  double frequenceMaxi = 10000;
  std::array<MesureFichier, 5> mesures{MesureFichier{true, 0}, {}, {}, {}, {}};  // 0: the frequency
  std::array<int, 3> couplage{1, 1, 1};  // [1], [2]: the channels
  int mode = 0, synchro = 0, sens = 0, seuil = 127;
  bool monocoup = false;
  int duree = 0;
  std::array<int, 3> calibre{5, 5, 5};
  TOscillo::TableCorrection correction{};

  // What users expect to find again, in the program's own section "Reprise".
  double frequenceMini = 100;
  int pointsBalayage = 0, delaiBalayage = 0;  // 0: never set, the dialog's defaults
  bool logarithmique = false, gammesAuto = false;
  std::array<double, 3> amplitude{0, 2.5, 1};  // peak volts by generator kind
  std::array<bool, 3> amplitudeLue{false, false, false};
  int fenetre = 0;  // the spectrum's window, 0..2
  bool mesuresEcran = false;  // the readouts under the time graph
};

// The values of `f`; a missing or unfit key gives the table's default, or
// `courant`'s value where the window's current value is the default.
ReglagesFichier LitReglages(const FichierIni &f, const ReglagesFichier &courant);
// Sets every key of `r` in `f`, in the file's order, keeping every other line.
void EcritReglages(FichierIni &f, const ReglagesFichier &r);
// Only the zero corrections, as after a "Zéro".
void EcritCorrections(FichierIni &f, const TOscillo::TableCorrection &t);
