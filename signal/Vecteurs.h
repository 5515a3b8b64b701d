#pragma once
// The vector types of the kernels and their square root, for Noyau.cpp only (compiled once
// per instruction set, inside its kernel's namespace).
#include <cstdint>
#include <cstring>
#if defined(__AVX2__) && defined(__FMA__)
#include <immintrin.h>
#endif

namespace Fft::NOYAU {
namespace {

#if defined(__AVX2__) && defined(__FMA__)
// Four lanes of split complex values, with GCC's vector arithmetic.
struct V {
  __m256d r, i;
};
inline V operator+(V a, V b) { return {a.r + b.r, a.i + b.i}; }
inline V operator-(V a, V b) { return {a.r - b.r, a.i - b.i}; }
inline V Fois(V a, __m256d wr, __m256d wi) { return {wr * a.r - wi * a.i, wr * a.i + wi * a.r}; }
inline V Fois(V a, double wr, double wi) {
  return Fois(a, _mm256_set1_pd(wr), _mm256_set1_pd(wi));
}
inline V FoisMoinsI(V a) { return {a.i, -a.r}; }

// Rows 0..3 of a, b, c, d become its columns: the four lanes of a run of outputs.
inline void Transpose4(__m256d &a, __m256d &b, __m256d &c, __m256d &d) {
  const __m256d t0 = _mm256_unpacklo_pd(a, b), t1 = _mm256_unpackhi_pd(a, b);
  const __m256d t2 = _mm256_unpacklo_pd(c, d), t3 = _mm256_unpackhi_pd(c, d);
  a = _mm256_permute2f128_pd(t0, t2, 0x20), b = _mm256_permute2f128_pd(t1, t3, 0x20);
  c = _mm256_permute2f128_pd(t0, t2, 0x31), d = _mm256_permute2f128_pd(t1, t3, 0x31);
}
#endif

#if defined(__AVX512F__)
// Eight lanes of doubles as GCC vectors: arithmetic by operators, lane moves by
// __builtin_shuffle, which the compiler turns into the processor's permutes.
using D8 = double __attribute__((vector_size(64)));
using I8 = long long __attribute__((vector_size(64)));
struct V8 {
  D8 r, i;
};
inline V8 operator+(V8 a, V8 b) { return {a.r + b.r, a.i + b.i}; }
inline V8 operator-(V8 a, V8 b) { return {a.r - b.r, a.i - b.i}; }
inline V8 Fois(V8 a, D8 wr, D8 wi) { return {wr * a.r - wi * a.i, wr * a.i + wi * a.r}; }
inline V8 Fois(V8 a, double wr, double wi) { return Fois(a, D8{} + wr, D8{} + wi); }
inline V8 FoisMoinsI(V8 a) { return {a.i, -a.r}; }

inline D8 Charge8(const double *p) {
  D8 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void Range8(double *p, D8 v) { std::memcpy(p, &v, sizeof v); }
inline D8 Renverse8(D8 v) { return __builtin_shuffle(v, I8{7, 6, 5, 4, 3, 2, 1, 0}); }

// Rows 0..7 of r become its columns, in three layers of pairs.
inline void Transpose8(D8 (&r)[8]) {
  D8 a[8], b[8];
  for (int k = 0; k < 8; k += 2) {
    a[k] = __builtin_shuffle(r[k], r[k + 1], I8{0, 8, 2, 10, 4, 12, 6, 14});
    a[k + 1] = __builtin_shuffle(r[k], r[k + 1], I8{1, 9, 3, 11, 5, 13, 7, 15});
  }
  for (int k : {0, 1, 4, 5}) {
    b[k] = __builtin_shuffle(a[k], a[k + 2], I8{0, 1, 8, 9, 4, 5, 12, 13});
    b[k + 2] = __builtin_shuffle(a[k], a[k + 2], I8{2, 3, 10, 11, 6, 7, 14, 15});
  }
  for (int k = 0; k < 4; ++k) {
    r[k] = __builtin_shuffle(b[k], b[k + 4], I8{0, 1, 2, 3, 8, 9, 10, 11});
    r[k + 4] = __builtin_shuffle(b[k], b[k + 4], I8{4, 5, 6, 7, 12, 13, 14, 15});
  }
}

// The caller's arrays may start anywhere: a run of vectors meant for a place `decalage`
// lanes past an aligned one is written as aligned blocks, each made of two neighbouring
// vectors, the blocks at both ends in part (a block half outside costs two cache lines).
struct Ecrivain {
  I8 index;            // lanes < decalage from the lower vector's top, the rest from the higher
  __mmask8 bas, haut;  // lanes < decalage, lanes >= decalage
  explicit Ecrivain(const double *p) {
    const int d = int(reinterpret_cast<uintptr_t>(p) / sizeof(double) % 8);
    for (int i = 0; i < 8; ++i) index[i] = i < d ? 8 - d + i : 8 + i - d;
    bas = __mmask8((1u << d) - 1), haut = __mmask8(~bas);
    decalage = d;
  }
  int decalage;
  // the aligned place just below p (kept as an address: it may lie before the array)
  double *Aligne(double *p) const {
    return reinterpret_cast<double *>(reinterpret_cast<uintptr_t>(p) - decalage * sizeof(double));
  }
  D8 Joint(D8 bas8, D8 haut8) const { return _mm512_permutex2var_pd(bas8, index, haut8); }
  void Ecrit(double *aligne, __mmask8 masque, D8 v) const { _mm512_mask_storeu_pd(aligne, masque, v); }
};
#endif

#if defined(__AVX2__) && defined(__FMA__)
// The square root is the slow part of the amplitudes (a divider's throughput, and halved
// again on eight lanes), so it is built from the estimate r0 of 1/sqrt c that the processor
// gives at once, to 2^-11 or better: a third-order step on the estimate (relative error
// about 5/16 of the cube of the first), then a Newton step on the root itself, which squares
// it again: what is left is the last rounding. Lanes outside [2^-120, 2^120] (zero, the
// infinities and NaN among them) take the divider's root instead.
constexpr double PetitCarre = 0x1p-120, GrandCarre = 0x1p120;

inline __m256d Fma(__m256d a, __m256d b, __m256d c) { return _mm256_fmadd_pd(a, b, c); }
inline __m256d Fnma(__m256d a, __m256d b, __m256d c) { return _mm256_fnmadd_pd(a, b, c); }
#if defined(__AVX512F__)
inline __m512d Fma(__m512d a, __m512d b, __m512d c) { return _mm512_fmadd_pd(a, b, c); }
inline __m512d Fnma(__m512d a, __m512d b, __m512d c) { return _mm512_fnmadd_pd(a, b, c); }
#endif

template <class D>
inline D RacineAffinee(D c, D r0) {
  const D e = Fnma(c * r0, r0, D{} + 1.0);  // 1 - c r0^2
  const D r = Fma(r0 * e, Fma(e, D{} + 0.375, D{} + 0.5), r0);
  const D y = c * r;
  return Fma(0.5 * r, Fnma(y, y, c), y);
}

inline __m256d Racine4(__m256d c) {
  const __m256d y = RacineAffinee(c, _mm256_cvtps_pd(_mm_rsqrt_ps(_mm256_cvtpd_ps(c))));
  const __m256d dedans = _mm256_and_pd(_mm256_cmp_pd(c, _mm256_set1_pd(PetitCarre), _CMP_GE_OQ),
                                       _mm256_cmp_pd(c, _mm256_set1_pd(GrandCarre), _CMP_LE_OQ));
  if (_mm256_movemask_pd(dedans) == 0xF) return y;
  return _mm256_blendv_pd(_mm256_sqrt_pd(c), y, dedans);
}
#endif

#if defined(__AVX512F__)
inline __m512d Racine8(__m512d c) {
  // (the unmasked estimate warns in GCC 12)
  const __m512d y = RacineAffinee(c, _mm512_maskz_rsqrt14_pd(0xFF, c));
  const __mmask8 dedans = _mm512_cmp_pd_mask(c, _mm512_set1_pd(PetitCarre), _CMP_GE_OQ) &
                          _mm512_cmp_pd_mask(c, _mm512_set1_pd(GrandCarre), _CMP_LE_OQ);
  if (dedans == 0xFF) return y;
  return _mm512_mask_sqrt_pd(y, __mmask8(~dedans), c);
}
#endif

}  // namespace
}  // namespace Fft::NOYAU
