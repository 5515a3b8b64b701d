#include "Maths.h"

#include <cmath>
#include <numbers>

#include "Erreurs.h"

namespace {

// Binary exponentiation; the magnitude is unsigned so that n = INT_MIN works too.
double PuissancePositive(double x, uint64_t n) {
  if (n == 0) return 1.0;
  const double p = PuissancePositive(x, n / 2);
  return n % 2 ? p * p * x : p * p;
}

}  // namespace

double PuissanceReel(double x, int n) {
  if (n < 0) return 1.0 / PuissancePositive(x, -static_cast<int64_t>(n));
  return PuissancePositive(x, static_cast<uint64_t>(n));
}

double Puissance10(int n) { return PuissanceReel(10.0, n); }

double Log10(double x) { return std::log(x) * 0.4342944819032518; }

int32_t Plancher(double x) {
  return static_cast<int32_t>(VerifieIntervalleReel(std::floor(x), INT32_MIN, INT32_MAX));
}

int32_t Plafond(double x) {
  return static_cast<int32_t>(VerifieIntervalleReel(std::ceil(x), INT32_MIN, INT32_MAX));
}

void EnDegres(double &a) {
  if (AngleEnDegres) a *= 57.29577951308232;
}

double Angle(double x, double y) {
  double a;
  if (x == 0) {
    // y / x fails: vertical directions, or no direction at all
    if (y == 0 || std::isnan(y)) throw EInvalidOp();
    a = y >= 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  } else {
    a = std::atan(y / x);
    if (x < 0) a += y >= 0 ? std::numbers::pi : -std::numbers::pi;
  }
  EnDegres(a);
  return a;
}

int32_t PuissanceEntiere(int32_t i, int32_t n) {
  if (n < 1) return 1;
  // 0, 1 and -1 never overflow: answer at once rather than loop up to 2^31 times
  if (i == 0 || i == 1) return i;
  if (i == -1) return n % 2 ? -1 : 1;
  int32_t r = 1;
  for (int32_t k = 0; k < n; ++k) r = ProduitVerifie(r, i);
  return r;
}
