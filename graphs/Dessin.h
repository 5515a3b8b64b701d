#pragma once
// What both graphs draw the same way: colours, the font, 8-bit texts placed by an
// anchor, and the axes with their graduations, labels, arrow heads and titles.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Courbe.h"
#include "MiseEnPage.h"
#include "TraceFin.h"

// 0x00BBGGRR as a Qt colour.
QColor CouleurQt(uint32_t couleur);
// DejaVu Sans at `hauteur` pixels, whichever of the two symbol fonts the rule names.
QFont PoliceGraphe(int32_t hauteur);
// The colour the graphs are painted on (the window background).
QColor CouleurFond();

// Draws an 8-bit text through the character table. (x, y) is the anchor: its left,
// centre or right (AlignLeft, AlignHCenter, AlignRight) and its top or bottom (AlignTop,
// AlignBottom).
void EcritTexte(QPainter &p, int32_t x, int32_t y, Qt::Alignment ancre, std::string_view octets);

// Sets the painter's pen: solid, dotted or dashed, width 1 unless told.
void Stylo(QPainter &p, QColor couleur, Qt::PenStyle style = Qt::SolidLine, int largeur = 1);

// A trace straight into the pixels of the painter's device for a 1-pixel pen of `couleur`,
// where it draws what the painter would: an opaque colour on an RGB32 or premultiplied
// ARGB32 image at scale 1, painted over without transform, opacity or antialiasing (the
// painter then writes the pixels itself, one by one). Else none: the painter draws.
std::optional<TraceFin> TraceDirecte(QPainter &p, QColor couleur);

// Pixel of value v on a curve's axis, never failing (see PixelDessin).
inline int32_t Pixel(const TCourbe &c, double v) { return PixelDessin(c.Echelle, c.Decalage, v); }

// Label of graduation v: "0" when |v| is within `fractionZero` of the span (0: never),
// else the curve's own graduation text.
Texte32 TexteEtiquette(const TCourbe &c, double v, double fractionZero);

// Gives a curve its mapping onto pixelMin..pixelMax and its graduations. Limits that
// give no scale (empty, reversed, not finite) are replaced by usable ones first, as the
// time axis already does: Maxi = Mini + 1. A scale the graduation rule cannot handle
// draws no graduations.
void EtalonneCourbe(TCourbe &c, int32_t pixelMin, int32_t pixelMax, bool dense);

// The horizontal axis along the area bottom, in the pen's current colour.
// Share of the span within which an ordinate label reads 0; the time and spectrum
// abscissa has none, the diagram's abscissa one hundredth.
inline constexpr double FractionZeroOrdonnee = 1.0 / 1000;
inline constexpr double FractionZeroFrequence = 1.0 / 100;

struct AxeHorizontal {
  int32_t FinAxe;       // last column of the axis line (the arrow's tip)
  double FractionZero;  // labels within this share of the span read 0; 0: never
};
void DessineAxeHorizontal(QPainter &p, TCourbe &abscisse, const AxeHorizontal &axe,
                          const Rectangle &client, const Rectangle &zone, const Metriques &m,
                          PositionsEtiquettes &positions);

// A vertical axis in a channel's colour from its PixelMin up to its PixelMax, with its
// solid zero line across the area.
struct AxeVertical {
  int32_t Colonne;           // column of the axis line
  int32_t XEtiquettes;       // anchor column of the graduation labels
  Qt::Alignment Alignement;  // AlignLeft or AlignRight, for labels and title
  int32_t XTitre, YTitre;    // top anchor of the axis title
};
void DessineAxeVertical(QPainter &p, TCourbe &c, const AxeVertical &axe, const Rectangle &zone,
                        const Metriques &m);
// The zero line alone, solid or dotted, when 0 lies strictly inside the curve's span.
void LigneZero(QPainter &p, const TCourbe &c, const Rectangle &zone, Qt::PenStyle style);
