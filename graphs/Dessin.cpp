#include "Dessin.h"

#include <QGuiApplication>
#include <QImage>
#include <QRegion>
#include <QPalette>
#include <exception>

#include "TableCaracteres.h"

QColor CouleurQt(uint32_t couleur) {
  return QColor(int(couleur & 0xFF), int((couleur >> 8) & 0xFF), int((couleur >> 16) & 0xFF));
}

QFont PoliceGraphe(int32_t hauteur) {
  QFont police(QString::fromLatin1(FamillePolice));
  police.setPixelSize(hauteur);
  return police;
}

std::optional<TraceFin> TraceDirecte(QPainter &p, QColor couleur) {
  QPaintDevice *surface = p.device();
  if (surface == nullptr || surface->devType() != QInternal::Image) return std::nullopt;
  auto &image = static_cast<QImage &>(*surface);
  const bool format = image.format() == QImage::Format_RGB32 ||
                      image.format() == QImage::Format_ARGB32_Premultiplied;
  if (!format || image.devicePixelRatio() != 1.0 || p.transform().type() != QTransform::TxNone ||
      p.opacity() != 1.0 || p.compositionMode() != QPainter::CompositionMode_SourceOver ||
      p.testRenderHint(QPainter::Antialiasing) || couleur.alpha() != 255)
    return std::nullopt;
  // a clip that cuts into the image would cut the painter's lines and not these
  if (p.hasClipping() && p.clipRegion() != QRegion(image.rect())) return std::nullopt;
  // the painter has the image to itself (it detached it when it began), so bits() copies nothing
  return TraceFin(reinterpret_cast<uint32_t *>(image.bits()), int(image.bytesPerLine() / 4),
                  couleur.rgba());
}

QColor CouleurFond() { return QGuiApplication::palette().color(QPalette::Window); }

void EcritTexte(QPainter &p, int32_t x, int32_t y, Qt::Alignment ancre, std::string_view octets) {
  // a box far larger than any label, placed so that its aligned edge is the anchor
  constexpr int32_t grand = 4000;
  int32_t gauche = x;
  if (ancre & Qt::AlignRight) gauche = x - grand;
  if (ancre & Qt::AlignHCenter) gauche = x - grand / 2;
  const int32_t haut = (ancre & Qt::AlignBottom) ? y - grand : y;
  p.drawText(QRect(gauche, haut, grand, grand), int(ancre),
             QString::fromUtf8(VersUtf8(octets).c_str()));
}

void Stylo(QPainter &p, QColor couleur, Qt::PenStyle style, int largeur) {
  QPen stylo(couleur, largeur, style);
  p.setPen(stylo);
}

Texte32 TexteEtiquette(const TCourbe &c, double v, double fractionZero) {
  if (fractionZero > 0 && LibelleNul(v, c.Mini, c.Maxi, fractionZero)) return "0";
  return c.TexteGraduation(v);
}

void EtalonneCourbe(TCourbe &c, int32_t pixelMin, int32_t pixelMax, bool dense) {
  const Limites l = LimitesUtilisables(c.Mini, c.Maxi);
  c.Mini = l.Mini;
  c.Maxi = l.Maxi;
  c.PixelMin = pixelMin;
  c.PixelMax = pixelMax;
  const Projection pr = ProjectionAxe(pixelMin, pixelMax, l.Mini, l.Maxi);
  c.Echelle = pr.Echelle;
  c.Decalage = pr.Decalage;
  try {
    c.CalculGraduation(dense);
  } catch (const std::exception &) {
    c.PasGraduation = 0;  // e.g. a first graduation beyond 32 bits: no graduations
  }
}

void DessineAxeHorizontal(QPainter &p, TCourbe &abscisse, const AxeHorizontal &axe,
                          const Rectangle &client, const Rectangle &zone, const Metriques &m,
                          PositionsEtiquettes &positions) {
  const int32_t t = m.Graduation, bas = zone.Bottom;
  const QColor couleur = p.pen().color();
  const int32_t x0 = Pixel(abscisse, 0);
  if (x0 > zone.Left && x0 < zone.Right) {
    Stylo(p, couleur, Qt::DashLine);
    p.drawLine(x0, bas, x0, zone.Top);
  }
  Stylo(p, couleur);
  p.drawLine(client.Left, bas, axe.FinAxe, bas);
  p.drawLine(axe.FinAxe - 3 * t, bas - t, axe.FinAxe, bas);
  p.drawLine(axe.FinAxe - 3 * t, bas + t, axe.FinAxe, bas);
  for (double v : Graduations(abscisse.PremiereGraduation, abscisse.PasGraduation, abscisse.Maxi)) {
    const int32_t x = Pixel(abscisse, v);
    if (x <= zone.Left || x >= zone.Right) continue;
    p.drawLine(x, bas - t, x, bas + t);
    if (x <= zone.Left + t || x >= client.Right - 2 * m.Caractere) continue;
    EcritTexte(p, x, bas + t, Qt::AlignHCenter | Qt::AlignTop,
               TexteEtiquette(abscisse, v, axe.FractionZero));
    positions.Ajoute(x);
  }
  EcritTexte(p, client.Left + t, bas + t, Qt::AlignLeft | Qt::AlignTop,
             abscisse.TitreAxe(abscisse.Multiplicateur));
  if (x0 > zone.Left && x0 < zone.Right) {
    Stylo(p, couleur, Qt::DotLine);
    p.drawLine(x0, zone.Top, x0, bas);
  }
}

void LigneZero(QPainter &p, const TCourbe &c, const Rectangle &zone, Qt::PenStyle style) {
  const int32_t y0 = Pixel(c, 0);
  if (y0 <= c.PixelMax || y0 >= c.PixelMin) return;
  Stylo(p, CouleurQt(c.Couleur), style);
  p.drawLine(zone.Left, y0, zone.Right, y0);
}

void DessineAxeVertical(QPainter &p, TCourbe &c, const AxeVertical &axe, const Rectangle &zone,
                        const Metriques &m) {
  const int32_t t = m.Graduation, f = m.Police, col = axe.Colonne;
  LigneZero(p, c, zone, Qt::SolidLine);
  Stylo(p, CouleurQt(c.Couleur));
  p.drawLine(col, c.PixelMin, col, c.PixelMax);
  p.drawLine(col - t, c.PixelMax + 2 * t, col, c.PixelMax - t);
  p.drawLine(col + t, c.PixelMax + 2 * t, col, c.PixelMax - t);
  for (double v : Graduations(c.PremiereGraduation, c.PasGraduation, c.Maxi)) {
    const int32_t y = Pixel(c, v);
    if (y <= c.PixelMax + f || y >= c.PixelMin - f) continue;
    p.drawLine(col - t, y, col + t, y);
    if (y <= c.PixelMax + 2 * f || y >= c.PixelMin - t || std::abs(y - zone.Bottom) <= t) continue;
    EcritTexte(p, axe.XEtiquettes, y + t, axe.Alignement | Qt::AlignBottom,
               TexteEtiquette(c, v, FractionZeroOrdonnee));
  }
  EcritTexte(p, axe.XTitre, axe.YTitre, axe.Alignement | Qt::AlignTop,
             c.TitreAxe(c.Multiplicateur));
}
