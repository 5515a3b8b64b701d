#include "Glissements.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Courbe.h"
#include "ReglagesAcquis.h"

namespace {

bool Pres(std::optional<int32_t> ligne, int32_t y) {
  return ligne && std::abs(*ligne - y) < ToleranceLigne;
}

}  // namespace

GenreGlissement PriseTemps(const CiblesTemps &c, int32_t x, int32_t y) {
  GenreGlissement g = GlisseAucun;
  if (Pres(c.masse2, y)) g = GlisseMasse2;
  if (Pres(c.masse1, y)) g = GlisseMasse1;
  if (c.voieSeuil == 1 || c.voieSeuil == 2) {
    const bool cote = c.voieSeuil == 1 ? x < c.gauche + LargeurPriseSeuil
                                       : x > c.droite - LargeurPriseSeuil;
    if (cote && Pres(c.ligneSeuil, y)) g = GlisseSeuil;
  }
  return g;
}

int NiveauSeuilPixel(const TCourbe &voie, int32_t y) {
  // within the axis the level cannot leave 0..255
  const int32_t haut = std::min(voie.PixelMin, voie.PixelMax);
  const int32_t bas = std::max(voie.PixelMin, voie.PixelMax);
  if (haut == bas) return ReglagesAcquis::SeuilMilieu;
  const int niveau = voie.PixelEnNiveau(std::clamp(y, haut, bas));
  return std::clamp(niveau, ReglagesAcquis::SeuilMin, ReglagesAcquis::SeuilMax);
}

std::optional<int> CodeZeroPixel(const TCourbe &voie, int32_t y) {
  const double code = (voie.PixelEnValeur(y) - voie.Mini) * 255 / (voie.Maxi - voie.Mini);
  if (!std::isfinite(code)) return std::nullopt;
  return int(std::nearbyint(std::clamp(code, 0.0, 255.0)));
}

std::optional<double> RapportEchelle(const GlissementEchelle &g, int32_t x) {
  if (std::abs(g.xCourant - x) < PasMinimalEchelle || x < XMinimalEchelle || x <= g.gauche)
    return std::nullopt;
  return double(g.xDebut - g.gauche) / (x - g.gauche);
}

int NbHarmoniquesEchelle(double maxiDebut, double r, double pasFrequence) {
  const double lignes = maxiDebut * r / pasFrequence;
  if (std::isnan(lignes)) return NbHarmoniquesMax;
  return int(std::nearbyint(std::clamp(lignes, double(NbHarmoniquesMin), double(NbHarmoniquesMax))));
}

std::optional<double> FrequenceMaxEchelle(double maxiDebut, double mini, double r) {
  const double f = std::clamp((maxiDebut - mini) * r + mini, FrequenceMaxMin, FrequenceMaxMax);
  if (!(f > mini)) return std::nullopt;
  return f;
}
