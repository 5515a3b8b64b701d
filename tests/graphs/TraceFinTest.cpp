// The direct trace against the painter it stands for: the same polylines and lines drawn
// both ways on white images must give the same pixels, joins and ends included.
#include <gtest/gtest.h>

#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Dessin.h"
#include "TraceFin.h"

namespace {

constexpr QRgb Encre = 0xFF000000u;

QImage Blanche(int cote) {
  QImage image(cote, cote, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// The painter as the graphs set it up: a clip of the whole image, a 1-pixel solid pen.
void PeintreSur(QImage &image, const std::function<void(QPainter &)> &dessin) {
  QPainter p(&image);
  p.setClipRect(image.rect());
  p.setPen(QPen(QColor::fromRgba(Encre), 1));
  dessin(p);
}

std::string Texte(const QPolygon &points) {
  std::string s;
  for (const QPoint &q : points) s += "(" + std::to_string(q.x()) + "," + std::to_string(q.y()) + ")";
  return s;
}

// Empty when both images agree, else where they first differ.
std::string Ecart(const QImage &peintre, const QImage &trace) {
  for (int y = 0; y < peintre.height(); ++y)
    for (int x = 0; x < peintre.width(); ++x)
      if (peintre.pixel(x, y) != trace.pixel(x, y))
        return "first difference at (" + std::to_string(x) + "," + std::to_string(y) +
               "): painter " + (peintre.pixel(x, y) == Encre ? "ink" : "white");
  return {};
}

// Polyline drawn by the painter and by the trace; empty when they agree.
std::string ComparePolyligne(const QPolygon &points, int cote) {
  QImage peintre = Blanche(cote), trace = Blanche(cote);
  PeintreSur(peintre, [&](QPainter &p) { p.drawPolyline(points); });
  TraceFin(reinterpret_cast<uint32_t *>(trace.bits()), int(trace.bytesPerLine() / 4), Encre)
      .Polyligne(points.constData(), int(points.size()));
  if (peintre == trace) return {};
  return Texte(points) + ": " + Ecart(peintre, trace);
}

// The same as separate lines (drawLines), each pair of points one line.
std::string CompareLignes(const QPolygon &points, int cote) {
  std::vector<QLine> lignes;
  for (int i = 1; i < points.size(); i += 2) lignes.emplace_back(points[i - 1], points[i]);
  QImage peintre = Blanche(cote), trace = Blanche(cote);
  PeintreSur(peintre, [&](QPainter &p) { p.drawLines(lignes.data(), int(lignes.size())); });
  TraceFin t(reinterpret_cast<uint32_t *>(trace.bits()), int(trace.bytesPerLine() / 4), Encre);
  for (const QLine &l : lignes) t.Ligne(l.p1(), l.p2());
  if (peintre == trace) return {};
  return "lines " + Texte(points) + ": " + Ecart(peintre, trace);
}

TEST(TraceFin, LesJointuresEtLesBoutsSontCeuxDuPeintre) {
  struct Cas {
    const char *nom;
    QPolygon points;
  };
  const Cas cas[] = {
      {"one step", {QPoint(3, 3), QPoint(4, 3)}},
      {"45 degrees both ways", {QPoint(2, 2), QPoint(9, 9), QPoint(16, 2), QPoint(9, 16)}},
      {"back up a column", {QPoint(4, 2), QPoint(4, 12), QPoint(4, 6), QPoint(12, 6)}},
      {"back along a row", {QPoint(2, 4), QPoint(12, 4), QPoint(6, 4), QPoint(6, 12)}},
      {"down, then left: the corner filled", {QPoint(13, 12), QPoint(18, 1), QPoint(18, 3), QPoint(15, 6)}},
      {"right, then up: the corner filled", {QPoint(1, 17), QPoint(14, 14), QPoint(15, 4), QPoint(8, 11), QPoint(8, 9)}},
      {"a corner no segment draws", {QPoint(9, 6), QPoint(10, 9), QPoint(4, 8)}},
      {"gap across a turn", {QPoint(5, 13), QPoint(15, 3), QPoint(15, 2), QPoint(4, 1)}},
      {"last step up after up", {QPoint(4, 20), QPoint(4, 15), QPoint(4, 14)}},
      {"last step up after right", {QPoint(1, 15), QPoint(4, 15), QPoint(4, 14)}},
      {"last two up after a rise", {QPoint(1, 7), QPoint(6, 9), QPoint(6, 7)}},
      {"last diagonal step back", {QPoint(8, 12), QPoint(4, 7), QPoint(3, 6)}},
      {"last step left after left", {QPoint(12, 4), QPoint(7, 4), QPoint(6, 4)}},
      {"repeated first point", {QPoint(1, 4), QPoint(1, 4), QPoint(1, 6), QPoint(2, 7), QPoint(3, 5)}},
      {"repeated last point", {QPoint(3, 3), QPoint(9, 5), QPoint(9, 5)}},
      {"repeated everywhere", {QPoint(2, 2), QPoint(2, 2), QPoint(8, 8), QPoint(8, 8), QPoint(8, 2)}},
      {"a time curve's columns", {QPoint(1, 12), QPoint(1, 3), QPoint(2, 4), QPoint(2, 20), QPoint(3, 19), QPoint(3, 2)}},
  };
  for (const Cas &c : cas) {
    EXPECT_EQ(ComparePolyligne(c.points, 24), "") << c.nom;
    EXPECT_EQ(CompareLignes(c.points, 24), "") << c.nom;
  }
}

// Polylines of every kind in a small image: anywhere, rising left to right as a time curve
// does, in small steps, with repeated points; and the same points as separate lines.
TEST(TraceFin, DesMilliersDePolylignesAuHasardSontCellesDuPeintre) {
  std::mt19937 hasard(7);
  auto dans = [&](int a, int b) { return a + int(hasard() % uint32_t(b - a + 1)); };
  constexpr int Cote = 40;
  int comparees = 0;
  for (int t = 0; t < 4000; ++t) {
    QPolygon points;
    const int n = 2 + t % 9;
    for (int i = 0; i < n; ++i) {
      QPoint q(dans(1, Cote - 2), dans(1, Cote - 2));
      if (i > 0) {
        const QPoint avant = points.last();
        switch (t % 4) {
          case 1: q = avant + QPoint(dans(0, 3), dans(-8, 8)); break;
          case 2: q = avant + QPoint(dans(-2, 2), dans(-2, 2)); break;
          case 3: if (dans(0, 2) == 0) q = avant; break;
        }
      }
      points << QPoint(std::clamp(q.x(), 1, Cote - 2), std::clamp(q.y(), 1, Cote - 2));
    }
    if (points.first() == points.last()) continue;
    ++comparees;
    const std::string ecart = t % 5 == 4 ? CompareLignes(points, Cote) : ComparePolyligne(points, Cote);
    ASSERT_EQ(ecart, "");
  }
  EXPECT_GT(comparees, 3500);
}

// Long segments, where the truncated 16.16 slope drifts by up to a pixel over the length.
TEST(TraceFin, LesLonguesLignesDeriventCommeCellesDuPeintre) {
  std::mt19937 hasard(11);
  auto dans = [&](int a, int b) { return a + int(hasard() % uint32_t(b - a + 1)); };
  constexpr int Cote = 1100;
  for (int t = 0; t < 60; ++t) {
    QPolygon points;
    for (int i = 0; i < 2 + t % 3; ++i) points << QPoint(dans(1, Cote - 2), dans(1, Cote - 2));
    if (t % 4 == 0)  // nearly level across the whole image
      points[1] = QPoint(points[0].x() < Cote / 2 ? Cote - 2 : 1,
                         std::clamp(points[0].y() + dans(-3, 3), 1, Cote - 2));
    if (points.first() == points.last()) continue;
    ASSERT_EQ(ComparePolyligne(points, Cote), "");
    ASSERT_EQ(CompareLignes(points, Cote), "");
  }
}

TEST(TraceFin, LogeGardeUnPixelDeMarge) {
  for (QPoint dedans : {QPoint(1, 1), QPoint(8, 8), QPoint(5, 5)})
    EXPECT_TRUE(TraceFin::Loge(dedans, 10, 10)) << dedans.x() << "," << dedans.y();
  for (QPoint bord : {QPoint(0, 5), QPoint(9, 5), QPoint(5, 0), QPoint(5, 9), QPoint(-40, 5)})
    EXPECT_FALSE(TraceFin::Loge(bord, 10, 10)) << bord.x() << "," << bord.y();
}

// The trace is offered only where the painter would write the same pixels one by one.
TEST(TraceFin, LaTraceDirecteNestOfferteQueLaOuElleDessineCommeLePeintre) {
  struct Cas {
    const char *nom;
    QImage::Format format;
    double echelle;
    std::function<void(QPainter &)> regle;
    QColor couleur;
    bool offerte;
  };
  const QColor bleu(0, 0, 255);
  const auto rien = [](QPainter &) {};
  const Cas cas[] = {
      {"RGB32, clip of the whole image", QImage::Format_RGB32, 1, rien, bleu, true},
      {"premultiplied ARGB32", QImage::Format_ARGB32_Premultiplied, 1, rien, bleu, true},
      {"ARGB32", QImage::Format_ARGB32, 1, rien, bleu, false},
      {"RGB16", QImage::Format_RGB16, 1, rien, bleu, false},
      {"scale 2", QImage::Format_RGB32, 2, rien, bleu, false},
      {"translucent pen", QImage::Format_RGB32, 1, rien, QColor(0, 0, 255, 128), false},
      {"shifted", QImage::Format_RGB32, 1, [](QPainter &p) { p.translate(1, 0); }, bleu, false},
      {"antialiased", QImage::Format_RGB32, 1,
       [](QPainter &p) { p.setRenderHint(QPainter::Antialiasing); }, bleu, false},
      {"half opaque", QImage::Format_RGB32, 1, [](QPainter &p) { p.setOpacity(0.5); }, bleu, false},
      {"xor", QImage::Format_RGB32, 1,
       [](QPainter &p) { p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); }, bleu,
       false},
      {"clip inside the image", QImage::Format_RGB32, 1,
       [](QPainter &p) { p.setClipRect(2, 2, 10, 10); }, bleu, false},
      {"no clip", QImage::Format_RGB32, 1, [](QPainter &p) { p.setClipping(false); }, bleu, true},
  };
  for (const Cas &c : cas) {
    QImage image(32, 32, c.format);
    image.setDevicePixelRatio(c.echelle);
    QPainter p(&image);
    p.setClipRect(QRect(0, 0, 32, 32));
    c.regle(p);
    EXPECT_EQ(TraceDirecte(p, c.couleur).has_value(), c.offerte) << c.nom;
  }
}

}  // namespace
