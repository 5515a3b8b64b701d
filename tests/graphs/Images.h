#pragma once
// Reading painted pictures: pixels of one colour within a rectangle.
#include <QColor>
#include <QImage>
#include <QRect>

inline int CompteCouleur(const QImage &image, const QRect &r, QColor couleur) {
  int n = 0;
  const QRect dedans = r.intersected(image.rect());
  for (int y = dedans.top(); y <= dedans.bottom(); ++y)
    for (int x = dedans.left(); x <= dedans.right(); ++x)
      if (image.pixelColor(x, y) == couleur) ++n;
  return n;
}

inline bool EstDe(const QImage &image, int x, int y, QColor couleur) {
  return image.pixelColor(x, y) == couleur;
}
