#include "GraphesProvisoires.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "Fft.h"

namespace provisoire {
namespace {

QColor Couleur(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

double Y(const Tvoie &v, double x, int haut, int bas) {
  const double etendue = v.Maxi - v.Mini;
  if (etendue <= 0) return bas;
  return bas - (x - v.Mini) / etendue * (bas - haut);
}

void Fond(QPainter &p, const QRect &r) {
  p.fillRect(r, Qt::white);
  p.setPen(QPen(Qt::lightGray, 1, Qt::DotLine));
  for (int i = 1; i < 10; ++i) p.drawLine(r.left() + r.width() * i / 10, r.top(),
                                          r.left() + r.width() * i / 10, r.bottom());
  for (int i = 1; i < 8; ++i) p.drawLine(r.left(), r.top() + r.height() * i / 8, r.right(),
                                         r.top() + r.height() * i / 8);
  p.setPen(Qt::black);
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

TCourbe::TCourbe(const char *nom, int index, const char *unite) : Tvoie(index) {
  NomGrandeur = nom;
  SetNomUnite(unite);
}

void TCourbeOsc::AnalyseCourbe(uint16_t n) {
  if (n < 16) return;
  static std::array<double, Fft::NbCases> re, im;
  Fft::Spectrum(n, Fft::Echantillons(Valeurs.data(), Fft::NbCases), re, im);
  Fft::Amplitudes(Fft::Raies(Spectre.data(), Fft::NbCases), re, im);
  const auto [mi, ma] = std::minmax_element(Valeurs.begin(), Valeurs.begin() + n);
  Minimum = *mi;
  Maximum = *ma;
  CreteACrete = Maximum - Minimum;
  double s = 0, s2 = 0;
  for (int i = 0; i < n; ++i) s += Valeurs[size_t(i)], s2 += Valeurs[size_t(i)] * Valeurs[size_t(i)];
  Moyenne = s / n;
  Efficace = std::sqrt(s2 / n);
  // one period between the first two rising crossings of the mid level
  const double m = (Minimum + Maximum) / 2;
  int montees[2] = {-1, -1}, k = 0;
  for (int i = 1; i < n && k < 2; ++i)
    if (Valeurs[size_t(i - 1)] < m && Valeurs[size_t(i)] >= m) montees[k++] = i;
  DebutPeriode = uint16_t(k == 2 ? montees[0] : 0);
  FinPeriode = uint16_t(k == 2 ? montees[1] : n - 1);
}

void TCourbeMesure::CalculMesure(TgrapheOsc &temps) {
  TCourbeOsc &c = temps.Courbe(VoieMesure);
  const int periode = c.FinPeriode - c.DebutPeriode;
  switch (Grandeur) {
    case 0: Valeur = periode > 0 ? 1.0 / (periode * PeriodeEchantillonnage) : 1.0; break;
    case 1: Valeur = c.Efficace; break;
    case 3: Valeur = c.Moyenne; break;
    case 5: Valeur = c.CreteACrete; break;
    default: break;
  }
}

TgrapheOsc::TgrapheOsc() {
  Abscisse.Active = true;
  for (int v : {1, 2}) Courbe(v).Active = true;
}

void TgrapheOsc::Dessine(QImage &image) {
  QPainter p(&image);
  const QRect r = image.rect().adjusted(4, 4, -4, -4);
  Fond(p, r);
  if (NbPoints == 0 || Abscisse.Maxi <= Abscisse.Mini) return;
  p.setRenderHint(QPainter::Antialiasing);
  for (int v : {1, 2}) {
    TCourbeOsc &c = Courbe(v);
    if (!c.Active) continue;
    p.setPen(QPen(Couleur(c.Couleur), ModeBarres ? 1 : 1.5));
    const int n = NbPoints;
    const auto &valeurs = c.Valeurs;
    QPolygonF ligne;
    for (int i = 0; i < n; ++i) {
      const double xv = ModeBarres ? i * PasFrequence : Abscisse.Valeurs[size_t(i)];
      const double x = r.left() + (xv - Abscisse.Mini) / (Abscisse.Maxi - Abscisse.Mini) * r.width();
      const double y = Y(c, valeurs[size_t(i)], r.top(), r.bottom());
      if (ModeBarres) p.drawLine(QPointF(x + 3 * (v - 1), r.bottom()), QPointF(x, y));
      else ligne << QPointF(x, y);
    }
    p.drawPolyline(ligne);
    if (!ModeBarres && VoieSynchro == v) {
      const int y = r.bottom() - NiveauSynchro * r.height() / 255;
      const int x0 = v == 1 ? r.left() : r.right() - 24;
      p.drawLine(x0, y, x0 + 24, y);
    }
  }
}

TgrapheMesure::TgrapheMesure() {
  const char *noms[5] = {"f", "VA", "VB", "VC", "VD"};
  for (int i = 0; i < 5; ++i) Courbes[size_t(i)] = std::make_unique<TCourbeMesure>(noms[i], i, i ? "V" : "Hz");
  Courbes[0]->Grandeur = 0;
  Courbes[0]->Mini = 0;
  Courbes[0]->Maxi = 10000;
  Courbes[0]->Active = true;
  Courbes[1]->Active = true;
}

void TgrapheMesure::Dessine(QImage &image) {
  QPainter p(&image);
  const QRect r = image.rect().adjusted(4, 4, -4, -4);
  Fond(p, r);
  p.end();
  Curseur(image);
}

void TgrapheMesure::Curseur(QImage &image) {
  QPainter p(&image);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  const QRect r = image.rect().adjusted(4, 4, -4, -4);
  const TCourbeMesure &f = *Courbes[0];
  if (f.Maxi <= f.Mini) return;
  const double x = r.left() + (f.Valeur - f.Mini) / (f.Maxi - f.Mini) * r.width();
  for (int i = 1; i < 5; ++i) {
    const TCourbeMesure &c = *Courbes[size_t(i)];
    if (!c.Active) continue;
    const double y = Y(c, c.Valeur, r.top(), r.bottom());
    p.setPen(QPen(Couleur(c.Couleur), 3));
    p.drawLine(QPointF(x - 10, y), QPointF(x + 10, y));
    p.drawLine(QPointF(x, y - 10), QPointF(x, y + 10));
  }
}

}  // namespace provisoire
