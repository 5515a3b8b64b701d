#include "GrapheOsc.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <optional>

#include "Dessin.h"
#include "TableCaracteres.h"

void TgrapheOsc::Draw(QPaintDevice &surface) {
  Client = {0, 0, surface.width(), surface.height()};
  Positions.Vide();
  if (Client.Largeur() <= 0 || Client.Hauteur() <= 0) return;  // a hidden box
  QPainter p(&surface);
  // Without a clip of its own the raster engine draws thin lines span by span; with one
  // (the whole device, so nothing is cut) it writes their pixels directly, the same pixels.
  p.setClipRect(QRect(0, 0, Client.Right, Client.Bottom));
  Police = MetriquesPolice(HauteurPolice(Client.Hauteur(), 40));
  p.setFont(PoliceGraphe(Police.Police));
  p.fillRect(QRect(0, 0, Client.Right, Client.Bottom), CouleurFond());
  MetEnPage();
  if (Etiquettes.EtiquettesX) {
    Stylo(p, Qt::black);
    DessineAxeHorizontal(p, Abscisse, {Client.Right - Police.Graduation, 0}, Client, Zone, Police,
                         Positions);
  }
  DessineOrdonnees(p);
  DessineSeuil(p);
  DessineOrigine(p);
  if (NbPoints == 0) return;
  for (int c = 1; c <= 2; ++c) {
    if (!Voie(c).Active) continue;
    if (ModeBarres)
      DessineBarres(p, Voie(c), c);
    else
      DessineCourbe(p, Voie(c));
  }
}

void TgrapheOsc::MetEnPage() {
  // the bands are counted here, from the channels shown now
  NbBandes = std::max(int(Voie1.Active) + int(Voie2.Active), 1);
  const MiseEnPage mp = MiseEnPageOsc(Client, Police, NbBandes, Superposition, Etiquettes.AxeY,
                                      Voie1.Active, Voie2.Active);
  Etiquettes = mp.Etiquettes;
  Zone = mp.Zone;
  EtalonneCourbe(Abscisse, Zone.Left, Zone.Right, Etiquettes.DenseX);
  int bande = 0;
  for (int c = 1; c <= 2; ++c) {
    TCourbeOsc &v = Voie(c);
    Bande b{Zone.Bottom, Zone.Top};
    if (Superposition && v.Active)
      b = BandeSuperposition(Zone, NbBandes, bande++, Police.Graduation);
    EtalonneCourbe(v, b.PixelMin, b.PixelMax, Etiquettes.DenseY);
  }
}

void TgrapheOsc::DessineOrdonnees(QPainter &p) {
  const int32_t t = Police.Graduation;
  for (int c = 1; c <= 2; ++c) {
    TCourbeOsc &v = Voie(c);
    if (!v.Active) continue;
    if (Etiquettes.EtiquettesY) {
      const bool gauche = c == 1 || Superposition;
      const int32_t col = gauche ? Zone.Left : Zone.Right;
      const int32_t x = gauche ? col - 2 * t : col + 2 * t;
      // stacked channels each title their own band; side by side they share the top row
      const int32_t yTitre = Superposition ? v.PixelMax : Zone.Top + t;
      DessineAxeVertical(p, v, {col, x, gauche ? Qt::AlignRight : Qt::AlignLeft, x, yTitre}, Zone,
                         Police);
    }
    if (!ModeBarres) LigneZero(p, v, Zone, Qt::DotLine);
  }
}

void TgrapheOsc::DessineSeuil(QPainter &p) {
  if (VoieSeuil != 1 && VoieSeuil != 2) return;
  const TCourbeOsc &v = Voie(VoieSeuil);
  // on the trigger channel's own span, its band in superposition, as the drag reads it
  LigneSeuil = ::LigneSeuil(NiveauSeuil, v.PixelMin, v.PixelMax);
  const int32_t c = Police.Caractere;
  const int32_t bord = VoieSeuil == 1 ? Client.Left : Client.Right - 1;
  const int32_t sens = VoieSeuil == 1 ? 1 : -1;
  Stylo(p, CouleurQt(v.Couleur));
  p.drawLine(bord, LigneSeuil, bord + sens * 4 * c, LigneSeuil);
  const char symbole = SensSeuil == 0 ? OctetFrontMontant : OctetFrontDescendant;
  EcritTexte(p, bord + sens * 2 * c, LigneSeuil - Police.Police / 2,
             Qt::AlignHCenter | Qt::AlignTop, std::string_view(&symbole, 1));
}

void TgrapheOsc::DessineOrigine(QPainter &p) {
  if (!(OrigineTemps + Abscisse.Mini > 0)) return;
  const int32_t x = Pixel(Abscisse, OrigineTemps);
  Stylo(p, Qt::red, Qt::DashLine);
  p.drawLine(x, Zone.Top, x, Zone.Bottom);
}

void TgrapheOsc::DessineCourbe(QPainter &p, const TCourbeOsc &c) {
  // at most about one point per pixel column
  const int n = std::min<int>(NbPoints, NbValeursVoie);
  const int pas = std::max(n / std::max(Client.Right, 1), 1);
  QPolygon trace;
  trace.reserve(n / pas + 1);
  trace << QPoint(Pixel(Abscisse, Abscisse.Mini), Pixel(c, c.Valeurs[0]));
  for (int i = pas; i < n; i += pas)
    trace << QPoint(Pixel(Abscisse, Abscisse.Valeurs[i]), Pixel(c, c.Valeurs[i]));
  const QColor couleur = CouleurQt(c.Couleur);
  Stylo(p, couleur);
  std::optional<TraceFin> direct = TraceDirecte(p, couleur);
  const auto loge = [&](QPoint q) { return TraceFin::Loge(q, Client.Right, Client.Bottom); };
  if (direct && trace.first() != trace.last() && std::all_of(trace.begin(), trace.end(), loge))
    direct->Polyligne(trace.constData(), int(trace.size()));
  else
    p.drawPolyline(trace);
}

void TgrapheOsc::DessineBarres(QPainter &p, const TCourbeOsc &c, int voie) {
  // channel 2 is shifted 3 pixels so that both spectra stay readable
  const int32_t dec = 3 * (voie - 1);
  const int32_t y0 = Pixel(c, 0);
  const QColor couleur = CouleurQt(c.Couleur);
  Stylo(p, couleur);
  p.drawLine(Pixel(Abscisse, 0) + dec, y0 - dec, Pixel(Abscisse, 4095 * PasFrequence) + dec,
             y0 - dec);
  // One painter call for all the bars: they share one colour, so their order is free.
  // Upright bars (no shift) of one column cover each other from the zero row up, so
  // only the tallest of a run of bins in that column is drawn.
  const int n = std::min<int>(NbPoints, NbValeursVoie);
  barres_.clear();
  for (int i = 0; i < n; ++i) {
    const int32_t y = Pixel(c, c.Valeurs[i]);
    if (y >= y0) continue;
    const int32_t x = Pixel(Abscisse, i * PasFrequence);
    if (dec == 0 && !barres_.empty() && barres_.back().x2() == x) {
      if (y < barres_.back().y2()) barres_.back().setP2(QPoint(x, y));
      continue;
    }
    barres_.emplace_back(x + dec, y0, x, y - dec);
  }
  std::optional<TraceFin> direct = TraceDirecte(p, couleur);
  const auto loge = [&](const QLine &l) {
    return TraceFin::Loge(l.p1(), Client.Right, Client.Bottom) &&
           TraceFin::Loge(l.p2(), Client.Right, Client.Bottom);
  };
  if (direct && std::all_of(barres_.begin(), barres_.end(), loge))
    for (const QLine &l : barres_) direct->Ligne(l.p1(), l.p2());
  else
    p.drawLines(barres_.data(), int(barres_.size()));
}
