#include "Calibres.h"

#include <algorithm>

double FrequenceOctets(uint8_t a, uint8_t b, uint8_t c) {
  constexpr double Horloges[] = {12e6, 4e6, 48e6};
  if (a > 2 || c == 0) return 0;
  return Horloges[a] / ((256.0 - b) * c);
}

uint8_t CodeCalibre(int calibre, int couplage) {
  const uint8_t bits = couplage == CouplageAC ? 1 : couplage == CouplageGND ? 2 : 0;
  return uint8_t(Calibres[size_t(calibre)].code + bits);
}

uint16_t ModeVoies(int couplage1, int couplage2) {
  const int somme = (couplage1 != CouplageGND ? 1 : 0) + (couplage2 != CouplageGND ? 2 : 0);
  return uint16_t(somme == 3 ? 0 : somme);
}

int ColonneCorrection(int duree) { return BasesDeTemps[size_t(duree)].a == 2 ? 1 : 0; }

uint8_t CodeDecalage(int zero, int correction) {
  return uint8_t(std::clamp(int64_t(zero) + correction, int64_t(0), int64_t(255)));
}
