#include "Erreurs.h"

#include <limits>

int64_t VerifieIntervalle(int64_t v, int64_t min, int64_t max) {
  if (v < min || v > max) throw ERangeError();
  return v;
}

double VerifieIntervalleReel(double v, double min, double max) {
  if (!(v >= min && v <= max)) throw ERangeError();
  return v;
}

int8_t EnOctetSigne(int64_t v) {
  return static_cast<int8_t>(VerifieIntervalle(v, INT8_MIN, INT8_MAX));
}

int16_t EnEntier16(int64_t v) {
  return static_cast<int16_t>(VerifieIntervalle(v, INT16_MIN, INT16_MAX));
}

int32_t EnEntier32(int64_t v) {
  return static_cast<int32_t>(VerifieIntervalle(v, INT32_MIN, INT32_MAX));
}

int32_t SommeVerifiee(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

int32_t DifferenceVerifiee(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

int32_t ProduitVerifie(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

int32_t OpposeVerifie(int32_t a) { return DifferenceVerifiee(0, a); }
