// Compiled once per instruction set, NOYAU naming the namespace (see CMakeLists.txt).
#include "Noyau.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#if defined(__AVX2__) && defined(__FMA__)
#include <immintrin.h>
#endif

#include "Fft.h"
#include "Vecteurs.h"

namespace Fft::NOYAU {

namespace {

constexpr int M = TailleComplexe;

struct Cx {
  double r, i;
};

inline Cx operator+(Cx a, Cx b) { return {a.r + b.r, a.i + b.i}; }
inline Cx operator-(Cx a, Cx b) { return {a.r - b.r, a.i - b.i}; }
inline Cx Fois(Cx a, double wr, double wi) { return {wr * a.r - wi * a.i, wr * a.i + wi * a.r}; }
inline Cx FoisMoinsI(Cx a) { return {a.i, -a.r}; }

// 4-point DFT in place: a, b, c, d become y0..y3 with y_j = sum x_m (-i)^(j m).
template <class C>
inline void Radix4(C &a, C &b, C &c, C &d) {
  const C apc = a + c, amc = a - c, bpd = b + d, bmd = FoisMoinsI(b - d);
  a = apc + bpd, b = amc + bmd, c = apc - bpd, d = amc - bmd;
}

constexpr double H = 0.70710678118654752440;  // sqrt(1/2)
constexpr int Seg = Travail::Segment, Pas = TablesFft::Pas;  // an eighth, and padded
static_assert(8 * Seg == M && Pas == Travail::Place(Seg));

// one complex value of split arrays
inline Cx Lit(const double *__restrict r, const double *__restrict i, int n) {
  return {r[n], i[n]};
}
inline void Ecrit(double *__restrict r, double *__restrict i, int n, Cx z) {
  r[n] = z.r, i[n] = z.i;
}

// 8-point DFT in place: x0..x7 become y0..y7 with y_j = sum x_m e^(-2 pi i j m / 8): one
// layer of radix 2, the 8th roots of unity, then two radix 4.
template <class C>
inline void Radix8(C &x0, C &x1, C &x2, C &x3, C &x4, C &x5, C &x6, C &x7) {
  const C a0 = x0 + x4, a1 = x1 + x5, a2 = x2 + x6, a3 = x3 + x7;
  C b0 = x0 - x4, b1 = Fois(x1 - x5, H, -H), b2 = FoisMoinsI(x2 - x6);
  C b3 = Fois(x3 - x7, -H, -H);
  x0 = a0, x2 = a1, x4 = a2, x6 = a3;
  Radix4(x0, x2, x4, x6);
  Radix4(b0, b1, b2, b3);
  x1 = b0, x3 = b1, x5 = b2, x7 = b3;
}

// The Hamming energy correction: the frame's energies before and after the window, summed
// in vector lanes (the order of the additions is free); 1 without energy. Each quarter has
// its own sums, so that four chains of additions run side by side instead of one.
double CorrectionHamming(const TablesFft &t, const double *__restrict x) {
  constexpr int Q = 2 * M / 4;
  const double *__restrict h = t.hamming.data();
  double a0 = 0, a1 = 0, a2 = 0, a3 = 0, b0 = 0, b1 = 0, b2 = 0, b3 = 0;
#pragma omp simd reduction(+ : a0, a1, a2, a3, b0, b1, b2, b3)
  for (int n = 0; n < Q; ++n) {
    const double x0 = x[n], x1 = x[n + Q], x2 = x[n + 2 * Q], x3 = x[n + 3 * Q];
    const double f0 = h[n] * x0, f1 = h[n + Q] * x1, f2 = h[n + 2 * Q] * x2;
    const double f3 = h[n + 3 * Q] * x3;
    a0 += x0 * x0, a1 += x1 * x1, a2 += x2 * x2, a3 += x3 * x3;
    b0 += f0 * f0, b1 += f1 * f1, b2 += f2 * f2, b3 += f3 * f3;
  }
  const double e1 = (a0 + a1) + (a2 + a3), e2 = (b0 + b1) + (b2 + b3);
  return e2 > 0 ? std::sqrt(e1 / e2) : 1.0;
}

// The first stage reads the real frame directly as z[n] = x[2n] + i x[2n+1], Hamming-
// windowed on the way or not, and writes each butterfly's eight outputs side by side.
// (Stages stay out of line: inlined, their __restrict is lost and the loops no longer
// vectorise.)
template <bool Hamming>
[[gnu::noinline]] void PremierEtage(const TablesFft &t, const double *__restrict x,
                                    double *__restrict yr, double *__restrict yi) {
  const double *__restrict wr = t.w0r.data(), *__restrict wi = t.w0i.data();
  const double *__restrict hp = t.hammingPair.data(), *__restrict hi = t.hammingImpair.data();
  for (int s = 0; s < 8; ++s) {
    // outputs 8p..8p+7 of segment s
    double *__restrict br = yr + s * Travail::Marge, *__restrict bi = yi + s * Travail::Marge;
    for (int p = s * Seg / 8; p < (s + 1) * Seg / 8; ++p) {
      auto lit = [&](int m) -> Cx {
        const double a = x[2 * (p + m * Seg)], b = x[2 * (p + m * Seg) + 1];
        if constexpr (Hamming) return {hp[p + m * Pas] * a, hi[p + m * Pas] * b};
        return {a, b};
      };
      Cx z0 = lit(0), z1 = lit(1), z2 = lit(2), z3 = lit(3);
      Cx z4 = lit(4), z5 = lit(5), z6 = lit(6), z7 = lit(7);
      Radix8(z0, z1, z2, z3, z4, z5, z6, z7);
      auto tourne = [&](Cx z, int j) {
        return Fois(z, wr[(j - 1) * Pas + p], wi[(j - 1) * Pas + p]);
      };
      z1 = tourne(z1, 1), z2 = tourne(z2, 2), z3 = tourne(z3, 3), z4 = tourne(z4, 4);
      z5 = tourne(z5, 5), z6 = tourne(z6, 6), z7 = tourne(z7, 7);
      Ecrit(br, bi, 8 * p, z0), Ecrit(br, bi, 8 * p + 1, z1), Ecrit(br, bi, 8 * p + 2, z2);
      Ecrit(br, bi, 8 * p + 3, z3), Ecrit(br, bi, 8 * p + 4, z4), Ecrit(br, bi, 8 * p + 5, z5);
      Ecrit(br, bi, 8 * p + 6, z6), Ecrit(br, bi, 8 * p + 7, z7);
    }
  }
}

#if defined(__AVX2__) && defined(__FMA__)
// The same first stage written by hand: left to the compiler, splitting the frame into
// real and imaginary parts and interleaving the eight outputs cost four times as many
// shuffles as these loads in halves and 4 x 4 transposes.
template <bool Hamming>
[[gnu::noinline]] void PremierEtageAvx2(const TablesFft &t, const double *__restrict x,
                                        double *__restrict yr, double *__restrict yi) {
  const double *__restrict wr = t.w0r.data(), *__restrict wi = t.w0i.data();
  const double *__restrict hp = t.hammingPair.data(), *__restrict hi = t.hammingImpair.data();
  for (int s = 0; s < 8; ++s) {
    double *__restrict br = yr + s * Travail::Marge, *__restrict bi = yi + s * Travail::Marge;
    for (int p = s * Seg / 8; p < (s + 1) * Seg / 8; p += 4) {
      // z[n..n+3], n = p + m Seg: pairs 0 and 2, then 1 and 3, in one register each
      auto lit = [&](int m) -> V {
        const double *e = x + 2 * (p + m * Seg);
        const __m256d a = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(e)),
                                               _mm_loadu_pd(e + 4), 1);
        const __m256d b = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(e + 2)),
                                               _mm_loadu_pd(e + 6), 1);
        V z{_mm256_unpacklo_pd(a, b), _mm256_unpackhi_pd(a, b)};
        if constexpr (Hamming) {
          z.r *= _mm256_loadu_pd(hp + p + m * Pas), z.i *= _mm256_loadu_pd(hi + p + m * Pas);
        }
        return z;
      };
      V z0 = lit(0), z1 = lit(1), z2 = lit(2), z3 = lit(3);
      V z4 = lit(4), z5 = lit(5), z6 = lit(6), z7 = lit(7);
      Radix8(z0, z1, z2, z3, z4, z5, z6, z7);
      auto tourne = [&](V z, int j) {
        const int o = (j - 1) * Pas + p;
        return Fois(z, _mm256_loadu_pd(wr + o), _mm256_loadu_pd(wi + o));
      };
      z1 = tourne(z1, 1), z2 = tourne(z2, 2), z3 = tourne(z3, 3), z4 = tourne(z4, 4);
      z5 = tourne(z5, 5), z6 = tourne(z6, 6), z7 = tourne(z7, 7);
      auto ecrit = [&](double *__restrict y, __m256d a, __m256d b, __m256d c, __m256d d,
                       int j) {
        Transpose4(a, b, c, d);
        _mm256_storeu_pd(y + 8 * p + j, a), _mm256_storeu_pd(y + 8 * p + 8 + j, b);
        _mm256_storeu_pd(y + 8 * p + 16 + j, c), _mm256_storeu_pd(y + 8 * p + 24 + j, d);
      };
      ecrit(br, z0.r, z1.r, z2.r, z3.r, 0), ecrit(br, z4.r, z5.r, z6.r, z7.r, 4);
      ecrit(bi, z0.i, z1.i, z2.i, z3.i, 0), ecrit(bi, z4.i, z5.i, z6.i, z7.i, 4);
    }
  }
}
#endif

#if defined(__AVX512F__)
// The first stage on eight butterflies at once: the frame split into real and imaginary
// parts by two permutes per eight values, the outputs put back in order by 8 x 8
// transposes.
template <bool Hamming>
[[gnu::noinline]] void PremierEtage512(const TablesFft &t, const double *__restrict x,
                                       double *__restrict yr, double *__restrict yi) {
  const double *__restrict wr = t.w0r.data(), *__restrict wi = t.w0i.data();
  const double *__restrict hp = t.hammingPair.data(), *__restrict hi = t.hammingImpair.data();
  for (int s = 0; s < 8; ++s) {
    double *__restrict br = yr + s * Travail::Marge, *__restrict bi = yi + s * Travail::Marge;
    for (int p = s * Seg / 8; p < (s + 1) * Seg / 8; p += 8) {
      auto lit = [&](int m) -> V8 {
        const double *e = x + 2 * (p + m * Seg);
        const D8 a = Charge8(e), b = Charge8(e + 8);
        V8 z{__builtin_shuffle(a, b, I8{0, 2, 4, 6, 8, 10, 12, 14}),
             __builtin_shuffle(a, b, I8{1, 3, 5, 7, 9, 11, 13, 15})};
        if constexpr (Hamming) {
          z.r *= Charge8(hp + p + m * Pas), z.i *= Charge8(hi + p + m * Pas);
        }
        return z;
      };
      V8 z0 = lit(0), z1 = lit(1), z2 = lit(2), z3 = lit(3);
      V8 z4 = lit(4), z5 = lit(5), z6 = lit(6), z7 = lit(7);
      Radix8(z0, z1, z2, z3, z4, z5, z6, z7);
      auto tourne = [&](V8 z, int j) {
        const int o = (j - 1) * Pas + p;
        return Fois(z, Charge8(wr + o), Charge8(wi + o));
      };
      z1 = tourne(z1, 1), z2 = tourne(z2, 2), z3 = tourne(z3, 3), z4 = tourne(z4, 4);
      z5 = tourne(z5, 5), z6 = tourne(z6, 6), z7 = tourne(z7, 7);
      D8 r[8] = {z0.r, z1.r, z2.r, z3.r, z4.r, z5.r, z6.r, z7.r};
      D8 i[8] = {z0.i, z1.i, z2.i, z3.i, z4.i, z5.i, z6.i, z7.i};
      Transpose8(r);
      Transpose8(i);
      for (int l = 0; l < 8; ++l) Range8(br + 8 * (p + l), r[l]), Range8(bi + 8 * (p + l), i[l]);
    }
  }
}
#endif

// A later stage: S interleaved sub-transforms of length M / S; for each twiddle row p, S
// butterflies side by side, read an eighth of the transform apart (Tourne: with twiddles).
// Written out without local arrays, so that the loop over q vectorises.
template <int S, bool Tourne>
[[gnu::noinline]] void Etage8(const double *__restrict wr, const double *__restrict wi,
                              const double *__restrict xr, const double *__restrict xi,
                              double *__restrict yr, double *__restrict yi) {
  constexpr int lignes = Seg / S;
  // a row's 8 S outputs lie in one segment, except in the last stage, one per segment
  static_assert(Seg % (8 * S) == 0 || S == Seg);
  constexpr int T = S < Seg ? S : Pas;
  for (int p = 0; p < lignes; ++p) {
    const double *__restrict tr = wr + 7 * p, *__restrict ti = wi + 7 * p;
    const double *__restrict ar = xr + S * p, *__restrict ai = xi + S * p;
    double *__restrict br = yr + Travail::Place(8 * S * p);
    double *__restrict bi = yi + Travail::Place(8 * S * p);
    for (int q = 0; q < S; ++q) {
      Cx z0 = Lit(ar, ai, q), z1 = Lit(ar, ai, q + Pas), z2 = Lit(ar, ai, q + 2 * Pas);
      Cx z3 = Lit(ar, ai, q + 3 * Pas), z4 = Lit(ar, ai, q + 4 * Pas);
      Cx z5 = Lit(ar, ai, q + 5 * Pas), z6 = Lit(ar, ai, q + 6 * Pas);
      Cx z7 = Lit(ar, ai, q + 7 * Pas);
      Radix8(z0, z1, z2, z3, z4, z5, z6, z7);
      if constexpr (Tourne) {
        z1 = Fois(z1, tr[0], ti[0]), z2 = Fois(z2, tr[1], ti[1]), z3 = Fois(z3, tr[2], ti[2]);
        z4 = Fois(z4, tr[3], ti[3]), z5 = Fois(z5, tr[4], ti[4]), z6 = Fois(z6, tr[5], ti[5]);
        z7 = Fois(z7, tr[6], ti[6]);
      }
      Ecrit(br, bi, q, z0), Ecrit(br, bi, q + T, z1), Ecrit(br, bi, q + 2 * T, z2);
      Ecrit(br, bi, q + 3 * T, z3), Ecrit(br, bi, q + 4 * T, z4), Ecrit(br, bi, q + 5 * T, z5);
      Ecrit(br, bi, q + 6 * T, z6), Ecrit(br, bi, q + 7 * T, z7);
    }
  }
}

// S butterflies side by side with twiddles, inputs In apart and outputs Out apart: one
// row of a stage, out of line for its __restrict (see above).
template <int S, int In, int Out>
[[gnu::noinline]] void Rangee(const double *__restrict tr, const double *__restrict ti,
                              const double *__restrict ar, const double *__restrict ai,
                              double *__restrict br, double *__restrict bi) {
  for (int q = 0; q < S; ++q) {
    Cx z0 = Lit(ar, ai, q), z1 = Lit(ar, ai, q + In), z2 = Lit(ar, ai, q + 2 * In);
    Cx z3 = Lit(ar, ai, q + 3 * In), z4 = Lit(ar, ai, q + 4 * In);
    Cx z5 = Lit(ar, ai, q + 5 * In), z6 = Lit(ar, ai, q + 6 * In);
    Cx z7 = Lit(ar, ai, q + 7 * In);
    Radix8(z0, z1, z2, z3, z4, z5, z6, z7);
    z1 = Fois(z1, tr[0], ti[0]), z2 = Fois(z2, tr[1], ti[1]), z3 = Fois(z3, tr[2], ti[2]);
    z4 = Fois(z4, tr[3], ti[3]), z5 = Fois(z5, tr[4], ti[4]), z6 = Fois(z6, tr[5], ti[5]);
    z7 = Fois(z7, tr[6], ti[6]);
    Ecrit(br, bi, q, z0), Ecrit(br, bi, q + Out, z1), Ecrit(br, bi, q + 2 * Out, z2);
    Ecrit(br, bi, q + 3 * Out, z3), Ecrit(br, bi, q + 4 * Out, z4);
    Ecrit(br, bi, q + 5 * Out, z5), Ecrit(br, bi, q + 6 * Out, z6);
    Ecrit(br, bi, q + 7 * Out, z7);
  }
}

// The second and third stages in one pass. Row g of the third stage reads the 512 values
// that rows g, g+8, ..., g+56 of the second stage write, so those go through a buffer that
// stays in the first-level cache instead of through the working arrays.
void EtagesMilieu(const TablesFft &t, const double *xr, const double *xi, double *yr,
                  double *yi) {
  constexpr int P1 = TablesFft::P1, L = 8 * P1;  // rows of the second stage, values of a group
  alignas(64) double lr[L], li[L];
  const double *w2r = t.w8r.data(), *w2i = t.w8i.data();
  const double *w3r = w2r + 7 * P1, *w3i = w2i + 7 * P1;
  for (int g = 0; g < TablesFft::P2; ++g) {
    for (int m = 0; m < 8; ++m) {
      const int p = g + 8 * m;  // its row of the second stage
      Rangee<8, Pas, 8>(w2r + 7 * p, w2i + 7 * p, xr + 8 * p, xi + 8 * p, lr + 64 * m,
                        li + 64 * m);
    }
    const int o = Travail::Place(L * g);
    Rangee<64, 64, 64>(w3r + 7 * g, w3i + 7 * g, lr, li, yr + o, yi + o);
  }
}

// Radix 8, self-sorting: each stage reads one pair of buffers and writes the other, so
// there is no bit-reversal pass; the result ends in w.br, w.bi.
double Transformee(const TablesFft &t, const double *x, bool hamming, Travail &w) {
  double *ar = w.ar.data(), *ai = w.ai.data(), *br = w.br.data(), *bi = w.bi.data();
  const double correction = hamming ? CorrectionHamming(t, x) : 1.0;
#if defined(__AVX512F__)
  if (hamming)
    PremierEtage512<true>(t, x, br, bi);
  else
    PremierEtage512<false>(t, x, br, bi);
#elif defined(__AVX2__) && defined(__FMA__)
  if (hamming)
    PremierEtageAvx2<true>(t, x, br, bi);
  else
    PremierEtageAvx2<false>(t, x, br, bi);
#else
  if (hamming)
    PremierEtage<true>(t, x, br, bi);
  else
    PremierEtage<false>(t, x, br, bi);
#endif
  EtagesMilieu(t, br, bi, ar, ai);
  Etage8<Seg, false>(nullptr, nullptr, ar, ai, br, bi);
  return correction;
}

#if defined(__AVX512F__)
// The flat top in place: the neighbours come from registers that still hold the bins as
// they were, the runs before, at and after k; outside 0..M-1 they are zeros, left out.
// The runs are the aligned blocks over x, the two ends read and written in part.
void ToitPlatSurPlace512(double *x) {
  const D8 c1 = D8{} + CoefficientsToitPlat[0], c2 = D8{} + CoefficientsToitPlat[1];
  const D8 c3 = D8{} + CoefficientsToitPlat[2], c4 = D8{} + CoefficientsToitPlat[3];
  const Ecrivain e(x);
  double *const base = e.Aligne(x);
  const int blocs = (e.decalage + M + 7) / 8;
  auto masque = [&](int n) -> __mmask8 {
    return n == 0 ? e.haut : n == blocs - 1 && e.decalage > 0 ? e.bas : __mmask8(0xFF);
  };
  auto lit = [&](int n) -> D8 {
    return n < blocs ? D8(_mm512_maskz_loadu_pd(masque(n), base + 8 * n)) : D8{};
  };
  D8 a{}, b = lit(0);
  for (int n = 0; n < blocs; ++n) {
    const D8 c = lit(n + 1);
    const D8 m1 = __builtin_shuffle(a, b, I8{7, 8, 9, 10, 11, 12, 13, 14});
    const D8 m2 = __builtin_shuffle(a, b, I8{6, 7, 8, 9, 10, 11, 12, 13});
    const D8 m3 = __builtin_shuffle(a, b, I8{5, 6, 7, 8, 9, 10, 11, 12});
    const D8 m4 = __builtin_shuffle(a, b, I8{4, 5, 6, 7, 8, 9, 10, 11});
    const D8 p1 = __builtin_shuffle(b, c, I8{1, 2, 3, 4, 5, 6, 7, 8});
    const D8 p2 = __builtin_shuffle(b, c, I8{2, 3, 4, 5, 6, 7, 8, 9});
    const D8 p3 = __builtin_shuffle(b, c, I8{3, 4, 5, 6, 7, 8, 9, 10});
    const D8 p4 = __builtin_shuffle(b, c, I8{4, 5, 6, 7, 8, 9, 10, 11});
    e.Ecrit(base + 8 * n, masque(n),
            b - c1 * (m1 + p1) + c2 * (m2 + p2) - c3 * (m3 + p3) + c4 * (m4 + p4));
    a = b, b = c;
  }
}
#endif

#if defined(__AVX512F__)

// SepareRaies over one segment of k, k0..k0+Seg-1, eight bins at once, every read
// aligned: the runs of M-k, one place off the aligned runs, are shifted out of two of
// them. The bins k go up from k0, the bins M-k down from M-k0 (see Ecrivain). The first
// bin (whose M-k lies elsewhere) comes out wrong and is done again by the caller.
void SepareSegment512(const double *__restrict wr, const double *__restrict wi,
                      const double *__restrict zkr, const double *__restrict zki,
                      const double *__restrict zjr, const double *__restrict zji, int k0,
                      double h, double *__restrict xr, double *__restrict xi) {
  const D8 h8 = D8{} + h;
  constexpr I8 haut{1, 2, 3, 4, 5, 6, 7, 8};
  const Ecrivain montR(xr + k0), montI(xi + k0);  // bins k
  const Ecrivain descR(xr + M - k0 - 7), descI(xi + M - k0 - 7);  // bins M-k, by runs of 8
  double *const mr = montR.Aligne(xr + k0), *const mi = montI.Aligne(xi + k0);
  double *const dr0 = descR.Aligne(xr + M - k0 - 7), *const di0 = descI.Aligne(xi + M - k0 - 7);
  D8 avantR = Charge8(zjr + M - k0), avantI = Charge8(zji + M - k0);  // lane 0: Z[M-k0]
  D8 montePR{}, montePI{}, descPR{}, descPI{};  // the runs of the last step
  for (int k = k0, n = 0; k < k0 + Seg; k += 8, ++n) {
    const int j = M - k - 8;  // the aligned run below M-k
    const D8 r = Charge8(zjr + j), i = Charge8(zji + j);
    const D8 br = Renverse8(__builtin_shuffle(r, avantR, haut));  // Z[M-k-l], l = 0..7
    const D8 bi = Renverse8(__builtin_shuffle(i, avantI, haut));
    avantR = r, avantI = i;
    const D8 ar = Charge8(zkr + k), ai = Charge8(zki + k);
    const D8 sr = ar + br, si = ai - bi, dr = ar - br, di = ai + bi;
    const D8 vr = Charge8(wr + k), vi = Charge8(wi + k);
    const D8 tr = vr * di + vi * dr, ti = vi * di - vr * dr;
    const D8 xkR = h8 * (sr + tr), xkI = h8 * (si + ti);
    // X[M-k-7..M-k] in order
    const D8 xjR = Renverse8(h8 * (sr - tr)), xjI = Renverse8(-h8 * (si - ti));
    if (n == 0) {
      montR.Ecrit(mr, montR.haut, montR.Joint(xkR, xkR));
      montI.Ecrit(mi, montI.haut, montI.Joint(xkI, xkI));
      descR.Ecrit(dr0 + 8, descR.bas, descR.Joint(xjR, xjR));
      descI.Ecrit(di0 + 8, descI.bas, descI.Joint(xjI, xjI));
    } else {
      montR.Ecrit(mr + 8 * n, 0xFF, montR.Joint(montePR, xkR));
      montI.Ecrit(mi + 8 * n, 0xFF, montI.Joint(montePI, xkI));
      descR.Ecrit(dr0 - 8 * (n - 1), 0xFF, descR.Joint(xjR, descPR));
      descI.Ecrit(di0 - 8 * (n - 1), 0xFF, descI.Joint(xjI, descPI));
    }
    montePR = xkR, montePI = xkI, descPR = xjR, descPI = xjI;
  }
  constexpr int n = Seg / 8 - 1;  // the last step
  montR.Ecrit(mr + 8 * (n + 1), montR.bas, montR.Joint(montePR, montePR));
  montI.Ecrit(mi + 8 * (n + 1), montI.bas, montI.Joint(montePI, montePI));
  descR.Ecrit(dr0 - 8 * n, descR.haut, descR.Joint(descPR, descPR));
  descI.Ecrit(di0 - 8 * n, descI.haut, descI.Joint(descPI, descPI));
}
#endif

#if defined(__AVX2__) && defined(__FMA__) && !defined(__AVX512F__)
// SepareRaies over one segment of k, four bins at once: the runs of M-k are loaded as they
// lie and turned end for end. The first bin comes out wrong, as in SepareSegment512.
void SepareSegment256(const double *__restrict wr, const double *__restrict wi,
                      const double *__restrict zkr, const double *__restrict zki,
                      const double *__restrict zjr, const double *__restrict zji, int k0,
                      double h, double *__restrict xr, double *__restrict xi) {
  const __m256d h4 = _mm256_set1_pd(h);
  for (int k = k0; k < k0 + Seg; k += 4) {
    const int j = M - k - 3;  // Z[M-k-l], l = 0..3, in reverse order from here
    const __m256d br = _mm256_permute4x64_pd(_mm256_loadu_pd(zjr + j), 0x1B);
    const __m256d bi = _mm256_permute4x64_pd(_mm256_loadu_pd(zji + j), 0x1B);
    const __m256d ar = _mm256_loadu_pd(zkr + k), ai = _mm256_loadu_pd(zki + k);
    const __m256d sr = ar + br, si = ai - bi, dr = ar - br, di = ai + bi;
    const __m256d vr = _mm256_loadu_pd(wr + k), vi = _mm256_loadu_pd(wi + k);
    const __m256d tr = vr * di + vi * dr, ti = vi * di - vr * dr;
    _mm256_storeu_pd(xr + k, h4 * (sr + tr)), _mm256_storeu_pd(xi + k, h4 * (si + ti));
    _mm256_storeu_pd(xr + j, _mm256_permute4x64_pd(h4 * (sr - tr), 0x1B));
    _mm256_storeu_pd(xi + j, _mm256_permute4x64_pd(-h4 * (si - ti), 0x1B));
  }
}
#endif

// X[k] = (Z[k] + conj Z[M-k]) / 2 - i W^k (Z[k] - conj Z[M-k]) / 2, and X[M-k] the
// conjugate of the same with the second term's sign turned. Z is padded: its index n lies
// at Place(n).
void SepareRaies(const TablesFft &t, const double *__restrict zr, const double *__restrict zi,
                 double gain0, double gain, double *__restrict xr, double *__restrict xi) {
  const double *__restrict wr = t.wr.data(), *__restrict wi = t.wi.data();
  const double h = gain / 2;
  // bins k and M-k, with Z[k] at k + dk and Z[M-k] at M-k + dj
  auto paire = [&](int k, int dk, int dj) {
    const int j = M - k;
    const double sr = zr[k + dk] + zr[j + dj], si = zi[k + dk] - zi[j + dj];  // Z[k] + conj Z[j]
    const double dr = zr[k + dk] - zr[j + dj], di = zi[k + dk] + zi[j + dj];  // Z[k] - conj Z[j]
    const double tr = wr[k] * di + wi[k] * dr;  // -i W^k D
    const double ti = wi[k] * di - wr[k] * dr;
    xr[k] = h * (sr + tr), xi[k] = h * (si + ti);
    xr[j] = h * (sr - tr), xi[j] = -h * (si - ti);
  };
  // k < M/2 only, so that the two halves written never meet. Past the start of a segment
  // of k, M-k stays in one segment too, so the offsets are constant over the run.
  for (int s = 0; s < 4; ++s) {
    const int dk = s * Travail::Marge, dj = (7 - s) * Travail::Marge;
#if defined(__AVX512F__)
    SepareSegment512(wr, wi, zr + dk, zi + dk, zr + dj, zi + dj, s * Seg, h, xr, xi);
#elif defined(__AVX2__) && defined(__FMA__)
    SepareSegment256(wr, wi, zr + dk, zi + dk, zr + dj, zi + dj, s * Seg, h, xr, xi);
#else
    for (int k = s * Seg + 1; k < (s + 1) * Seg; ++k) paire(k, dk, dj);
#endif
  }
  // the first bin of each segment, whose M-k lies one segment further
  for (int s = 1; s < 4; ++s) paire(s * Seg, s * Travail::Marge, (8 - s) * Travail::Marge);
  xr[0] = gain0 * (zr[0] + zi[0]);
  xi[0] = 0;
  const int n = Travail::Place(M / 2);  // bin M/2 is conj Z[M/2]
  xr[M / 2] = gain * zr[n];
  xi[M / 2] = -gain * zi[n];
}

// The filter's value at bin k from v, which holds bins o..o+7 as they were; neighbours
// outside 0..M-1 are left out.
[[maybe_unused]] double ToitPlatBord(const double *v, int o, int k) {
  const double c1 = CoefficientsToitPlat[0], c2 = CoefficientsToitPlat[1];
  const double c3 = CoefficientsToitPlat[2], c4 = CoefficientsToitPlat[3];
  auto voisins = [&](int d) {
    return (k - d >= 0 ? v[k - d - o] : 0.0) + (k + d < M ? v[k + d - o] : 0.0);
  };
  return v[k - o] - c1 * voisins(1) + c2 * voisins(2) - c3 * voisins(3) + c4 * voisins(4);
}

#if defined(__AVX2__) && defined(__FMA__) && !defined(__AVX512F__)
// Each bin minus c1 times its two neighbours, plus c2 times the next two, and so on, in
// place: the bins before k come from the registers that held them before they were
// written, those after are still as they were in memory. The four bins at each end are
// done last from copies.
void ToitPlatSurPlace256(double *x) {
  double debut[8], fin[8];
  std::memcpy(debut, x, sizeof debut);
  std::memcpy(fin, x + M - 8, sizeof fin);
  const __m256d v1 = _mm256_set1_pd(CoefficientsToitPlat[0]);
  const __m256d v2 = _mm256_set1_pd(CoefficientsToitPlat[1]);
  const __m256d v3 = _mm256_set1_pd(CoefficientsToitPlat[2]);
  const __m256d v4 = _mm256_set1_pd(CoefficientsToitPlat[3]);
  __m256d a = _mm256_loadu_pd(x), b = _mm256_loadu_pd(x + 4);  // bins k-4.., k..
  for (int k = 4; k < M - 4; k += 4) {
    const __m256d c = _mm256_loadu_pd(x + k + 4);
    const __m256d m2 = _mm256_permute2f128_pd(a, b, 0x21);  // k-2..k+1
    const __m256d m1 = _mm256_shuffle_pd(m2, b, 5);          // k-1..k+2
    const __m256d m3 = _mm256_shuffle_pd(a, m2, 5);          // k-3..k
    const __m256d p1 = _mm256_loadu_pd(x + k + 1), p2 = _mm256_loadu_pd(x + k + 2);
    const __m256d p3 = _mm256_loadu_pd(x + k + 3);
    _mm256_storeu_pd(x + k, b - v1 * (m1 + p1) + v2 * (m2 + p2) - v3 * (m3 + p3) + v4 * (a + c));
    a = b, b = c;
  }
  for (int k = 0; k < 4; ++k) x[k] = ToitPlatBord(debut, 0, k);
  for (int k = M - 4; k < M; ++k) x[k] = ToitPlatBord(fin, M - 8, k);
}
#endif

#if !defined(__AVX2__) || !defined(__FMA__)
// The same from src into dst.
void ToitPlat(const double *__restrict src, double *__restrict dst) {
  const double c1 = CoefficientsToitPlat[0], c2 = CoefficientsToitPlat[1];
  const double c3 = CoefficientsToitPlat[2], c4 = CoefficientsToitPlat[3];
  for (int k = 0; k < 4; ++k) dst[k] = ToitPlatBord(src, 0, k);
  for (int k = 4; k < M - 4; ++k)
    dst[k] = src[k] - c1 * (src[k - 1] + src[k + 1]) + c2 * (src[k - 2] + src[k + 2]) -
             c3 * (src[k - 3] + src[k + 3]) + c4 * (src[k - 4] + src[k + 4]);
  for (int k = M - 4; k < M; ++k) dst[k] = ToitPlatBord(src + M - 8, M - 8, k);
}
#endif

void Amplitudes(const double *__restrict re, const double *__restrict im,
                double *__restrict out) {
  // runs of 32 bins are read before any is written: a store just before the next loads
  // makes them wait when the arrays lie a multiple of 4 KiB apart, as equal arrays often do
#if defined(__AVX512F__)
  for (int k = 0; k < M; k += 32) {
    __m512d c[4];
    for (int l = 0; l < 4; ++l) {
      const __m512d r = _mm512_loadu_pd(re + k + 8 * l), i = _mm512_loadu_pd(im + k + 8 * l);
      c[l] = _mm512_fmadd_pd(r, r, _mm512_mul_pd(i, i));
    }
    for (int l = 0; l < 4; ++l) _mm512_storeu_pd(out + k + 8 * l, Racine8(c[l]));
  }
#elif defined(__AVX2__) && defined(__FMA__)
  for (int k = 0; k < M; k += 32) {
    __m256d c[8];
    for (int l = 0; l < 8; ++l) {
      const __m256d r = _mm256_loadu_pd(re + k + 4 * l), i = _mm256_loadu_pd(im + k + 4 * l);
      c[l] = _mm256_fmadd_pd(r, r, i * i);
    }
    for (int l = 0; l < 8; ++l) _mm256_storeu_pd(out + k + 4 * l, Racine4(c[l]));
  }
#else
  for (int k = 0; k < M; ++k) out[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
#endif
}

double Spectre(const TablesFft &t, const double *x, uint8_t fenetre, double amplitude,
               Travail &w, double *re, double *im) {
  const double correction = Transformee(t, x, fenetre == Fft::Hamming, w);
  // 2/N makes a sine's amplitude, 1/N in bin 0 the mean
  const double gain0 = correction * amplitude / N;
  const double *zr = w.br.data(), *zi = w.bi.data();
#if defined(__AVX512F__)
  SepareRaies(t, zr, zi, gain0, 2 * gain0, re, im);
  if (fenetre == Fft::ToitPlat) ToitPlatSurPlace512(re), ToitPlatSurPlace512(im);
#elif defined(__AVX2__) && defined(__FMA__)
  SepareRaies(t, zr, zi, gain0, 2 * gain0, re, im);
  if (fenetre == Fft::ToitPlat) ToitPlatSurPlace256(re), ToitPlatSurPlace256(im);
#else
  if (fenetre == Fft::ToitPlat) {
    // the filter reads the bins unchanged: they go to the upper halves first
    double *xr = re + M, *xi = im + M;
    SepareRaies(t, zr, zi, gain0, 2 * gain0, xr, xi);
    ToitPlat(xr, re);
    ToitPlat(xi, im);
  } else {
    SepareRaies(t, zr, zi, gain0, 2 * gain0, re, im);
  }
#endif
  return correction;
}

}  // namespace

const Noyau noyau{NOYAU_NOM, Spectre, Amplitudes};

}  // namespace Fft::NOYAU
