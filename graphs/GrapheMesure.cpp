#include "GrapheMesure.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "Dessin.h"

TgrapheMesure::TgrapheMesure()
    : Courbes{TCourbeMesure("f", 0, "Hz"), TCourbeMesure("VA", 1, "V"), TCourbeMesure("VB", 2, "V"),
              TCourbeMesure("VC", 3, "V"), TCourbeMesure("VD", 4, "V")} {
  Courbes[0].Mini = 0;
  Courbes[0].Maxi = 10000;
  Courbes[0].Active = true;
  Courbes[0].SetGrandeur(0);
  Courbes[1].Active = true;
}

int TgrapheMesure::CourbeAxe() const {
  for (int i = 1; i <= 3; ++i)
    if (Courbes[i].Active) return i;
  return Courbes[4].Active ? 4 : -1;
}

void TgrapheMesure::Draw(QPaintDevice &surface) {
  Client = {0, 0, surface.width(), surface.height()};
  Positions.Vide();
  if (Client.Largeur() <= 0 || Client.Hauteur() <= 0) return;  // a hidden box
  {
    QPainter p(&surface);
    Police = MetriquesPolice(HauteurPolice(Client.Hauteur(), 30));
    p.setFont(PoliceGraphe(Police.Police));
    p.fillRect(QRect(0, 0, Client.Right, Client.Bottom), CouleurFond());
    MetEnPage();
    if (Etiquettes.EtiquettesX) {
      Stylo(p, CouleurQt(Courbes[0].Couleur));
      DessineAxeHorizontal(p, Courbes[0], {Client.Right, FractionZeroFrequence}, Client, Zone,
                           Police, Positions);
    }
    DessineOrdonnee(p);
    for (int i = 1; i < NbCourbes; ++i)
      if (Courbes[i].Active) DessinePoints(p, Courbes[i]);
  }
  Cursor(surface);
}

void TgrapheMesure::MetEnPage() {
  const MiseEnPage mp = MiseEnPageMesure(Client, Police, Etiquettes.AxeY);
  Etiquettes = mp.Etiquettes;
  Zone = mp.Zone;
  EtalonneCourbe(Courbes[0], Zone.Left, Zone.Right, Etiquettes.DenseX);
  for (int i = 1; i < NbCourbes; ++i) {
    Courbes[i].PixelMin = Zone.Bottom;
    Courbes[i].PixelMax = Zone.Top;
    if (Courbes[i].Active) EtalonneCourbe(Courbes[i], Zone.Bottom, Zone.Top, Etiquettes.DenseY);
  }
}

void TgrapheMesure::DessineOrdonnee(QPainter &p) {
  const int axe = CourbeAxe();
  if (axe < 0) return;  // no quantity shown: no axis, and no scale to graduate
  TCourbeMesure &c = Courbes[axe];
  if (!Etiquettes.EtiquettesY) {
    LigneZero(p, c, Zone, Qt::SolidLine);
    return;
  }
  const int32_t t = Police.Graduation;
  DessineAxeVertical(p, c, {Zone.Left, t, Qt::AlignLeft, Client.Left + t, Client.Top + t}, Zone,
                     Police);
}

void DessineMotif(QPainter &p, uint8_t motif, int32_t x, int32_t y, int32_t d) {
  switch (motif) {
    case MotifCroix:
      p.drawLine(x - d, y, x + d, y);
      p.drawLine(x, y - d, x, y + d);
      break;
    case MotifCroixDiag:
      p.drawLine(x - d, y - d, x + d, y + d);
      p.drawLine(x + d, y - d, x - d, y + d);
      break;
    case MotifCercle:
      p.drawEllipse(QRectF(x - d, y - d, 2 * d, 2 * d));
      break;
    case MotifCarre:  // one pixel smaller than the circle: columns x - d .. x + d - 1
      p.fillRect(QRect(x - d, y - d, 2 * d, 2 * d), p.brush());
      break;
    default:
      break;
  }
}

void TgrapheMesure::DessinePoints(QPainter &p, const TCourbeMesure &c) {
  const QColor couleur = CouleurQt(c.Couleur);
  Stylo(p, couleur);
  p.setBrush(couleur);
  const int n = std::min<int>(NbPoints, NbValeursVoie);
  for (int k = 0; k < n; ++k) {
    const int32_t x = Pixel(Courbes[0], Courbes[0].Valeurs[k]);
    const int32_t y = Pixel(c, c.Valeurs[k]);
    if (x == -1 || y == -1) continue;
    DessineMotif(p, c.Motif, x, y, DimPoint);
  }
}

void TgrapheMesure::Cursor(QPaintDevice &surface) {
  EcritValeurs();
  if (surface.width() <= 0 || surface.height() <= 0) return;
  QPainter p(&surface);
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  const int32_t x = Pixel(Courbes[0], Courbes[0].Valeur);
  for (int i = 1; i < NbCourbes; ++i) {
    const TCourbeMesure &c = Courbes[i];
    const int32_t y = Pixel(c, c.Valeur);
    if (!c.Active || x == -1 || y == -1) continue;
    // one path, so that the arms' crossing is inverted once, not twice
    QPainterPath croix;
    croix.moveTo(x - BrasCurseur, y);
    croix.lineTo(x + BrasCurseur, y);
    croix.moveTo(x, y - BrasCurseur);
    croix.lineTo(x, y + BrasCurseur);
    p.strokePath(croix, QPen(CouleurQt(c.Couleur), 3, Qt::SolidLine, Qt::FlatCap));
  }
}

void TgrapheMesure::EcritValeurs() {
  if (!Afficheur) return;
  for (int i = 0; i < NbCourbes; ++i)
    if (i == 0 || Courbes[i].Active)
      Afficheur->AfficheValeur(i, Courbes[i].Egalite(Courbes[i].Valeur));
}
