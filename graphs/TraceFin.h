#pragma once
// Thin lines written straight into the pixels of a 32-bit image: the very pixels that the
// raster painter gives a solid, opaque 1-pixel pen on such an image with a rectangular clip
// (its rounding in 26.6 and 16.16 fixed point, its half-pixel caps, its joins: a pixel
// shared by two segments is not doubled, a gap at a change of direction is filled), without
// its per-pixel calls. The curves are most of a frame's drawing, and this draws them about
// five times faster. Only integer points inside the image: the caller checks.
#include <QPoint>
#include <cstdint>

class TraceFin {
 public:
  TraceFin(uint32_t *pixels, int parLigne, uint32_t couleur)
      : pixels_(pixels), parLigne_(parLigne), couleur_(couleur) {}

  // As QPainter::drawPolyline; the first point differs from the last (an equal pair makes
  // the painter close the path, which is not done here).
  void Polyligne(const QPoint *points, int n);
  // As QPainter::drawLine, or one line of drawLines: both ends capped, no join.
  void Ligne(QPoint a, QPoint b);

  // Whether a point keeps one pixel clear of the edges of a largeur x hauteur image: the
  // joins may add a pixel one step beyond a point, and the painter would clip it.
  static bool Loge(QPoint p, int largeur, int hauteur) {
    return p.x() >= 1 && p.x() <= largeur - 2 && p.y() >= 1 && p.y() <= hauteur - 2;
  }

 private:
  enum Sens : uint8_t { Aucun = 0, Bas = 1, Haut = 2, Droite = 4, Gauche = 8 };
  enum Bouts : uint8_t { BoutDebut = 1, BoutFin = 2 };

  void Segment(QPoint a, QPoint b, int bouts);
  // the pixels u..fin-1 along the major axis, w the minor coordinate in 16.16 at u
  void Parcourt(bool vertical, int u, int fin, int64_t w, int64_t pas);
  void Pose(int x, int y) { pixels_[int64_t(y) * parLigne_ + x] = couleur_; }

  uint32_t *pixels_;
  int parLigne_;
  uint32_t couleur_;
  // what the last segment drawn left for the next: its last pixel, its direction, and
  // whether it was within a quarter pixel per step of its axis
  bool dernier_ = false;
  int dernierX_ = 0, dernierY_ = 0;
  Sens sens_ = Aucun;
  bool aligne_ = false;
};
