#include "TraceFin.h"

#include <cstdlib>
#include <utility>

void TraceFin::Polyligne(const QPoint *points, int n) {
  dernier_ = false, sens_ = Aucun, aligne_ = false;
  for (int i = 1; i < n; ++i)
    Segment(points[i - 1], points[i], (i == 1 ? BoutDebut : 0) | (i == n - 1 ? BoutFin : 0));
}

void TraceFin::Ligne(QPoint a, QPoint b) {
  if (a == b) {
    Pose(a.x(), a.y());
    return;
  }
  dernier_ = false;
  Segment(a, b, BoutDebut | BoutFin);
}

// Along the major axis u the segment covers the pixels whose centres lie between its ends,
// a cap moving an end half a pixel out; across it, w steps by a fixed 16.16 slope from the
// centre of the first pixel. Then the join with the segment before, as the painter makes
// it: its last pixel is not drawn twice, and a gap left by a change of direction gets one
// more pixel.
void TraceFin::Segment(QPoint a, QPoint b, int bouts) {
  const bool vertical = std::abs(b.x() - a.x()) < std::abs(b.y() - a.y());
  if (!vertical && a.x() == b.x()) return;  // a point: nothing drawn, nothing changes
  // 26.6 fixed point along both axes
  int64_t u1 = 64 * int64_t(vertical ? a.y() : a.x()), u2 = 64 * int64_t(vertical ? b.y() : b.x());
  int64_t w1 = 64 * int64_t(vertical ? a.x() : a.y()), w2 = 64 * int64_t(vertical ? b.x() : b.y());
  Sens sens = vertical ? Bas : Droite;
  const bool inverse = u1 > u2;
  if (inverse) {
    std::swap(u1, u2), std::swap(w1, w2);
    bouts = (bouts & BoutDebut ? BoutFin : 0) | (bouts & BoutFin ? BoutDebut : 0);
    sens = vertical ? Haut : Gauche;
  }
  const int64_t pas = (w2 - w1) * 65536 / (u2 - u1);  // truncated, as the painter's
  int64_t w = w1 * 1024;
  // turning back along the same axis caps the turn
  if ((sens_ ^ (vertical ? Bas | Haut : Droite | Gauche)) == sens)
    bouts |= inverse ? BoutFin : BoutDebut;
  if (bouts & BoutDebut) u1 -= 32, w -= pas >> 1;
  if (bouts & BoutFin) u2 += 32;
  int u = int((u1 + 32) >> 6), fin = int((u2 + 32) >> 6);
  if ((bouts & BoutDebut) && dernier_ && (vertical ? dernierY_ : dernierX_) == u + 1) ++u;
  if (u == fin) return;
  w += ((int64_t(u) * 64 + (pas > 0 ? 32 : 0) - u1) * pas) >> 6;

  auto pixel = [vertical](int uu, int64_t ww) {
    return vertical ? QPoint(int(ww >> 16), uu) : QPoint(uu, int(ww >> 16));
  };
  QPoint premier = pixel(u, w), dernier = pixel(fin - 1, w + (fin - u - 1) * pas);
  if (inverse) std::swap(premier, dernier);
  const bool aligne = std::abs(pas) < (1 << 14);
  if (dernier_) {
    const int ex = std::abs(dernierX_ - premier.x()), ey = std::abs(dernierY_ - premier.y());
    if (ex == 0 && ey == 0) {
      if (inverse)
        --fin;
      else
        ++u, w += pas;
    } else if (sens_ != sens && ((aligne && aligne_ && ex != 0 && ey != 0) || ex > 1 || ey > 1)) {
      if (inverse)
        ++fin;
      else
        --u, w -= pas;
    }
    // (the painter also shifts a segment by half a step when it goes on in the same
    // direction two rows off the last pixel: with integer points the rows at a join are
    // never more than one apart, so that never happens here)
  }
  sens_ = sens, aligne_ = aligne;
  dernier_ = true, dernierX_ = dernier.x(), dernierY_ = dernier.y();
  Parcourt(vertical, u, fin, w, pas);
}

void TraceFin::Parcourt(bool vertical, int u, int fin, int64_t w, int64_t pas) {
  // at least one pixel, even where the pixel left out was the only one (the painter's way)
  if (vertical) {
    uint32_t *ligne = pixels_ + int64_t(u) * parLigne_;
    do {
      ligne[w >> 16] = couleur_;
      ligne += parLigne_, w += pas;
    } while (++u < fin);
  } else {
    do {
      pixels_[(w >> 16) * parLigne_ + u] = couleur_;
      w += pas;
    } while (++u < fin);
  }
}
