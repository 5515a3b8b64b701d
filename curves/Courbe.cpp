#include "Courbe.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "Erreurs.h"
#include "Maths.h"

TCourbe::TCourbe(std::string_view nom, int index, std::string_view unite) : Tvoie(index) {
  Active = false;
  NomGrandeur = nom;
  SetNomUnite(Texte32(unite).vue());
}

int32_t TCourbe::ValeurEnPixel(double valeur) const {
  if (EstIndefinie(valeur)) return -1;
  // nearbyint rounds halves to even, as the processor does by default
  return int32_t(VerifieIntervalleReel(std::nearbyint(Echelle * valeur + Decalage), INT32_MIN,
                                       INT32_MAX));
}

double TCourbe::PixelEnValeur(int32_t pixel) const { return (pixel - Decalage) / Echelle; }

uint8_t TCourbe::PixelEnNiveau(int32_t pixel) const {
  const double niveau = (double(PixelMin) - pixel) * 255 / (double(PixelMin) - PixelMax);
  return uint8_t(VerifieIntervalleReel(std::nearbyint(niveau), 0, 255));
}

void TCourbe::CalculGraduation(bool dense) {
  static constexpr std::array<double, 6> pas{0.1, 0.2, 0.5, 1, 2, 5};
  const double amax = std::max(std::fabs(Maxi), std::fabs(Mini));
  const int32_t e = Plancher(Log10(Maxi - Mini));
  const double mantisse = (Maxi - Mini) * Puissance10(-e);
  const double limite = dense ? 10 : 5;
  std::size_t i = 0;
  while (i < pas.size() - 1 && !(mantisse / pas[i] < limite)) ++i;
  PasGraduation = Puissance10(e) * pas[i];
  NbChiffres = Plafond(Log10(amax)) - Plancher(Log10(PasGraduation));
  PremiereGraduation = Plafond(Mini / PasGraduation) * PasGraduation;
  // floor division, so e = -1 gives 10^-3
  const int32_t e3 = e >= 0 ? e / 3 : -((2 - e) / 3);
  Multiplicateur = Puissance10(3 * e3);
  NbChiffres = std::max(NbChiffres, Plafond(Log10(amax / Multiplicateur)));
  NbChiffres = std::clamp(NbChiffres, 3, 4);
}

Texte32 TCourbe::TexteGraduation(double v) const {
  return FormatGeneral(v / Multiplicateur, NbChiffres, 0, SeparateurDecimal());
}
