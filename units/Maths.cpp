#include "Maths.h"
double PuissanceReel(double x, int n) {
  if (n < 0) return 1.0 / PuissanceReel(x, -n);
  if (n == 0) return 1.0;
  const double p = PuissanceReel(x, n / 2);
  return n % 2 ? p * p * x : p * p;
}
