#include "ReglageAuto.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

#include "Calibres.h"

VoieAuto AnalyseVoieAuto(std::span<const double> v, double maxi) {
  VoieAuto r;
  if (v.empty()) return r;
  const auto [mi, ma] = std::minmax_element(v.begin(), v.end());
  r.Min = *mi;
  r.Max = *ma;
  r.Moy = (r.Min + r.Max) / 2;
  const double h = (r.Max - r.Min) / 4;
  // flat: noise does not count. Levels are whole codes, so a peak-to-peak of exactly
  // 1/32 of the scale lands on the limit; rounding must not tip it over.
  if (h <= maxi / 128 * (1 + 1e-9)) return r;
  bool bas = v[0] < r.Moy - h;
  for (size_t k = 1; k < v.size(); ++k) {
    const bool avant = bas;
    bas = v[k] < r.Moy + (bas ? h : -h);
    if (bas != avant) ++r.Nb;
  }
  return r;
}

int CalibreAuto(double min, double max) {
  for (size_t k = 0; k < Calibres.size(); ++k) {
    const double pas = Calibres[k].span / 255;
    if (min >= -127 * pas && max <= 128 * pas) return int(k);
  }
  return int(Calibres.size()) - 1;
}

uint8_t SeuilAuto(double moy, int calibre) {
  const double span = Calibres[size_t(std::clamp(calibre, 0, 8))].span;
  const int prec = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double code = std::nearbyint(256 * moy / span) + 127;
  std::fesetround(prec);
  return uint8_t(std::clamp(code, 8.0, 248.0));
}

int VoieSynchroAuto(const std::array<VoieAuto, 3> &voies, const std::array<bool, 3> &actives) {
  int voie = 0;
  int32_t meilleurNb = 0;
  double meilleureAmplitude = std::numeric_limits<double>::infinity();
  for (int c : {1, 2}) {
    const VoieAuto &v = voies[size_t(c)];
    if (actives[size_t(c)] && v.Nb > meilleurNb) {
      meilleurNb = v.Nb;
      voie = c;
      meilleureAmplitude = v.CreteACrete();
    }
    if (v.Nb == meilleurNb && v.CreteACrete() > meilleureAmplitude) {
      voie = c;
      meilleureAmplitude = v.CreteACrete();
    }
  }
  return voie;
}

int DureePourFrequence(double f) {
  if (!(f > 0)) return int(BasesDeTemps.size()) - 1;
  constexpr double Echantillons = 8192, Periodes = 10;
  int choix = -1;
  for (size_t d = 0; d < BasesDeTemps.size(); ++d) {
    const double fe = BasesDeTemps[d].frequence;
    if (fe * Periodes / f <= Echantillons &&
        (choix < 0 || fe > BasesDeTemps[size_t(choix)].frequence))
      choix = int(d);
  }
  return choix < 0 ? int(BasesDeTemps.size()) - 1 : choix;
}

int CalibrePourSignal(double min, double max, int actuel, bool coupe) {
  const int k = CalibreAuto(min, max);
  const int dernier = int(Calibres.size()) - 1;
  return coupe ? std::min(std::max(k, actuel + 1), dernier) : k;
}
