#include "MiseEnPage.h"

#include <algorithm>
#include <cmath>

#include "ZelmUtil.h"

int32_t HauteurPolice(int32_t hauteurClient, int32_t diviseur) {
  const int32_t h = hauteurClient / diviseur;
  if (h < 14) return 13;
  if (h < 19) return 16;
  if (h <= 24) return 20;
  return h - h % 2;
}

Metriques MetriquesPolice(int32_t hauteurPolice) {
  return {hauteurPolice, 2 * hauteurPolice / 3, hauteurPolice / 3};
}

const char *NomPoliceGraphe(int32_t hauteurPolice) {
  return hauteurPolice < 21 ? "Tabulo" : "Arial Tabulo";
}

namespace {

// Labels fit across when the client is wider than 20 characters, densely beyond 40;
// upwards when a fifth of the height holds the labels of every band.
Drapeaux DrapeauxPour(const Rectangle &client, const Metriques &m, int32_t n, bool axeY) {
  Drapeaux d;
  const int32_t w = client.Largeur(), cinquieme = client.Hauteur() / 5;
  d.AxeY = axeY;
  d.EtiquettesX = w > 20 * m.Caractere;
  d.DenseX = w > 40 * m.Caractere;
  d.EtiquettesY = cinquieme > (5 * m.Police * n) / 4 && axeY;
  d.DenseY = cinquieme > (10 * m.Police * n) / 4;
  return d;
}

}  // namespace

MiseEnPage MiseEnPageOsc(const Rectangle &client, const Metriques &m, int32_t nbBandes,
                         bool superposition, bool axeY, bool actif1, bool actif2) {
  const int32_t n = superposition ? std::max(nbBandes, 1) : 1;
  MiseEnPage r{DrapeauxPour(client, m, n, superposition || axeY), client};
  r.Etiquettes.AxeY = axeY;
  const int32_t c = m.Caractere, t = m.Graduation;
  r.Zone.Left += t;
  r.Zone.Top += t;
  if (r.Etiquettes.EtiquettesY) {
    if (superposition) {
      r.Zone.Left += 6 * c;
    } else {
      if (actif1) r.Zone.Left += 6 * c;
      if (actif2) r.Zone.Right -= 6 * c + t;
    }
  }
  if (r.Etiquettes.EtiquettesX) r.Zone.Bottom -= (3 * m.Police) / 2;
  return r;
}

MiseEnPage MiseEnPageMesure(const Rectangle &client, const Metriques &m, bool axeY) {
  MiseEnPage r{DrapeauxPour(client, m, 1, axeY), client};
  const int32_t c = m.Caractere, t = m.Graduation;
  r.Zone.Left += t;
  r.Zone.Bottom -= t;
  if (r.Etiquettes.EtiquettesY) r.Zone.Left += 6 * c;
  if (r.Etiquettes.EtiquettesX) r.Zone.Bottom -= m.Police;
  return r;
}

Bande BandeSuperposition(const Rectangle &zone, int32_t n, int32_t k, int32_t t) {
  n = std::max(n, 1);
  const int32_t pas = zone.Hauteur() / n;
  const int32_t haut = zone.Top + k * pas + t;
  return {haut + pas - t, haut};
}

Limites LimitesUtilisables(double mini, double maxi) {
  if (!std::isfinite(mini)) mini = 0;
  if (!std::isfinite(maxi) || !(maxi > mini)) maxi = mini + 1;
  // so large a minimum that adding 1 changes nothing still needs a span
  if (!(maxi > mini)) maxi = mini + std::fabs(mini) * 1e-9;
  return {mini, maxi};
}

Projection ProjectionAxe(int32_t pixelMin, int32_t pixelMax, double mini, double maxi) {
  const Limites l = LimitesUtilisables(mini, maxi);
  const double echelle = double(pixelMax - pixelMin) / (l.Maxi - l.Mini);
  return {echelle, pixelMin - l.Mini * echelle};
}

int32_t PixelDessin(double echelle, double decalage, double valeur) {
  if (EstIndefinie(valeur)) return -1;
  const double p = std::nearbyint(echelle * valeur + decalage);
  if (std::isnan(p)) return -1;
  return int32_t(std::clamp(p, double(-LimitePixel), double(LimitePixel)));
}

int32_t LigneSeuil(uint8_t niveau, int32_t pixelMin, int32_t pixelMax) {
  return pixelMin - int32_t(std::nearbyint(double(niveau) * (pixelMin - pixelMax) / 255));
}

bool LibelleNul(double v, double mini, double maxi, double fraction) {
  return std::fabs(v) <= (maxi - mini) * fraction;
}

std::vector<double> Graduations(double premiere, double pas, double maxi) {
  std::vector<double> v;
  if (!(pas > 0) || !std::isfinite(pas) || !std::isfinite(premiere)) return v;
  // by index, so that a step below the precision of the values cannot stall the loop
  for (int k = 0; k < NbMaxGraduations; ++k) {
    const double g = premiere + k * pas;
    if (!(g < maxi)) break;
    v.push_back(g);
  }
  return v;
}

PositionsEtiquettes::PositionsEtiquettes() : emplacements_(32, 0) {}

void PositionsEtiquettes::Vide() {
  std::fill(emplacements_.begin(), emplacements_.end(), 0);
  nombre_ = 0;
}

void PositionsEtiquettes::Ajoute(int32_t x) {
  if (nombre_ == int32_t(emplacements_.size())) emplacements_.resize(emplacements_.size() + 16, 0);
  emplacements_[nombre_++] = x;
}

bool PositionsEtiquettes::Touche(int32_t x, int32_t y, int32_t basZone) const {
  if (y <= basZone) return false;
  return std::any_of(emplacements_.begin(), emplacements_.begin() + nombre_,
                     [x](int32_t p) { return std::abs(x - p) < 4; });
}
