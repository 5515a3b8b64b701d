// Compiled once per instruction set, NOYAU naming the namespace (see CMakeLists.txt).
#include "Noyau.h"

#include <cmath>

#include "Fft.h"

namespace Fft::NOYAU {

namespace {

constexpr int M = TailleComplexe;

double PrepareEntree(const TablesFft &t, const double *__restrict x, int count, bool hamming,
                     double *__restrict zr, double *__restrict zi) {
  const int paires = count / 2;
  for (int n = 0; n < paires; ++n) zr[n] = x[2 * n], zi[n] = x[2 * n + 1];
  for (int n = paires; n < M; ++n) zr[n] = zi[n] = 0.0;
  if (count % 2) zr[paires] = x[count - 1];
  if (!hamming) return 1.0;
  // The energies are summed in vector lanes (the order of the additions is free), so the
  // loop vectorises; the zeros after count add nothing.
  const double *__restrict hr = t.hammingPair.data(), *__restrict hi = t.hammingImpair.data();
  double e1 = 0, e2 = 0;
#pragma omp simd reduction(+ : e1, e2)
  for (int n = 0; n < M; ++n) {
    const double a = zr[n], b = zi[n];
    const double wa = hr[n] * a, wb = hi[n] * b;
    e1 += a * a + b * b;
    e2 += wa * wa + wb * wb;
    zr[n] = wa, zi[n] = wb;
  }
  return e2 > 0 ? std::sqrt(e1 / e2) : 1.0;
}

struct Twiddles {
  double w1r, w1i, w2r, w2i, w3r, w3i;
};

// L radix-4 butterflies side by side: inputs a, b, c, d a quarter of the transform apart,
// outputs y0..y3, the last three turned by the twiddles. Plain runs of doubles, so the loop
// vectorises.
template <bool Tourne>
void Papillons(int L, const double *__restrict xr, const double *__restrict xi,
               double *__restrict y0r, double *__restrict y0i, double *__restrict y1r,
               double *__restrict y1i, double *__restrict y2r, double *__restrict y2i,
               double *__restrict y3r, double *__restrict y3i, Twiddles w) {
  constexpr int q4 = M / 4;
  const double *__restrict ar = xr, *__restrict ai = xi;
  const double *__restrict br = xr + q4, *__restrict bi = xi + q4;
  const double *__restrict cr = xr + 2 * q4, *__restrict ci = xi + 2 * q4;
  const double *__restrict dr = xr + 3 * q4, *__restrict di = xi + 3 * q4;
  for (int q = 0; q < L; ++q) {
    const double apcr = ar[q] + cr[q], apci = ai[q] + ci[q];
    const double amcr = ar[q] - cr[q], amci = ai[q] - ci[q];
    const double bpdr = br[q] + dr[q], bpdi = bi[q] + di[q];
    const double bmdr = br[q] - dr[q], bmdi = bi[q] - di[q];
    const double u1r = amcr + bmdi, u1i = amci - bmdr;  // (a - c) - j (b - d)
    const double u2r = apcr - bpdr, u2i = apci - bpdi;
    const double u3r = amcr - bmdi, u3i = amci + bmdr;  // (a - c) + j (b - d)
    y0r[q] = apcr + bpdr, y0i[q] = apci + bpdi;
    if constexpr (Tourne) {
      y1r[q] = w.w1r * u1r - w.w1i * u1i, y1i[q] = w.w1r * u1i + w.w1i * u1r;
      y2r[q] = w.w2r * u2r - w.w2i * u2i, y2i[q] = w.w2r * u2i + w.w2i * u2r;
      y3r[q] = w.w3r * u3r - w.w3i * u3i, y3i[q] = w.w3r * u3i + w.w3i * u3r;
    } else {
      y1r[q] = u1r, y1i[q] = u1i;
      y2r[q] = u2r, y2i[q] = u2i;
      y3r[q] = u3r, y3i[q] = u3i;
    }
  }
}

// The first stage: one butterfly per twiddle, its four outputs side by side.
void PremierEtage(const TablesFft &t, const double *__restrict xr, const double *__restrict xi,
                  double *__restrict yr, double *__restrict yi) {
  constexpr int q4 = M / 4;
  const double *__restrict w1r = t.w1r.data(), *__restrict w1i = t.w1i.data();
  const double *__restrict w2r = t.w2r.data(), *__restrict w2i = t.w2i.data();
  const double *__restrict w3r = t.w3r.data(), *__restrict w3i = t.w3i.data();
  for (int p = 0; p < q4; ++p) {
    const double ar = xr[p], ai = xi[p], br = xr[p + q4], bi = xi[p + q4];
    const double cr = xr[p + 2 * q4], ci = xi[p + 2 * q4];
    const double dr = xr[p + 3 * q4], di = xi[p + 3 * q4];
    const double apcr = ar + cr, apci = ai + ci, amcr = ar - cr, amci = ai - ci;
    const double bpdr = br + dr, bpdi = bi + di, bmdr = br - dr, bmdi = bi - di;
    const double u1r = amcr + bmdi, u1i = amci - bmdr;
    const double u2r = apcr - bpdr, u2i = apci - bpdi;
    const double u3r = amcr - bmdi, u3i = amci + bmdr;
    yr[4 * p] = apcr + bpdr, yi[4 * p] = apci + bpdi;
    yr[4 * p + 1] = w1r[p] * u1r - w1i[p] * u1i, yi[4 * p + 1] = w1r[p] * u1i + w1i[p] * u1r;
    yr[4 * p + 2] = w2r[p] * u2r - w2i[p] * u2i, yi[4 * p + 2] = w2r[p] * u2i + w2i[p] * u2r;
    yr[4 * p + 3] = w3r[p] * u3r - w3i[p] * u3i, yi[4 * p + 3] = w3r[p] * u3i + w3i[p] * u3r;
  }
}

// A later stage: S interleaved sub-transforms of length M / S; for each twiddle p, S
// butterflies side by side.
template <int S>
void Etage(const TablesFft &t, int e, const double *xr, const double *xi, double *yr,
           double *yi) {
  constexpr int n1 = M / 4 / S;
  const int d = t.debut[e];
  for (int p = 0; p < n1; ++p) {
    const int i = S * p, o = 4 * S * p;
    const Twiddles w{t.w1r[d + p], t.w1i[d + p], t.w2r[d + p],
                     t.w2i[d + p], t.w3r[d + p], t.w3i[d + p]};
    Papillons<(n1 > 1)>(S, xr + i, xi + i, yr + o, yi + o, yr + o + S, yi + o + S,
                        yr + o + 2 * S, yi + o + 2 * S, yr + o + 3 * S, yi + o + 3 * S, w);
  }
}

// Radix 4, self-sorting: each stage reads one buffer and writes the other, so there is no
// bit-reversal pass; six stages, an even number, so the result lands back in z.
void TransformeeComplexe(const TablesFft &t, double *zr, double *zi, double *tr, double *ti) {
  PremierEtage(t, zr, zi, tr, ti);
  Etage<4>(t, 1, tr, ti, zr, zi);
  Etage<16>(t, 2, zr, zi, tr, ti);
  Etage<64>(t, 3, tr, ti, zr, zi);
  Etage<256>(t, 4, zr, zi, tr, ti);
  Etage<1024>(t, 5, tr, ti, zr, zi);
}

// X[k] = (Z[k] + conj Z[M-k]) / 2 - i W^k (Z[k] - conj Z[M-k]) / 2, and X[M-k] the
// conjugate of the same with the second term's sign turned.
void SepareRaies(const TablesFft &t, const double *__restrict zr, const double *__restrict zi,
                 double gain0, double gain, double *__restrict xr, double *__restrict xi) {
  const double *__restrict wr = t.wr.data(), *__restrict wi = t.wi.data();
  xr[0] = gain0 * (zr[0] + zi[0]);
  xi[0] = 0;
  const double h = gain / 2;
  // k < M/2 only, so that the two halves written never meet; bin M/2 is conj Z[M/2].
  for (int k = 1; k < M / 2; ++k) {
    const int j = M - k;
    const double sr = zr[k] + zr[j], si = zi[k] - zi[j];  // Z[k] + conj Z[j]
    const double dr = zr[k] - zr[j], di = zi[k] + zi[j];  // Z[k] - conj Z[j]
    const double tr = wr[k] * di + wi[k] * dr;            // -i W^k D
    const double ti = wi[k] * di - wr[k] * dr;
    xr[k] = h * (sr + tr), xi[k] = h * (si + ti);
    xr[j] = h * (sr - tr), xi[j] = -h * (si - ti);
  }
  xr[M / 2] = gain * zr[M / 2];
  xi[M / 2] = -gain * zi[M / 2];
}

// Each bin minus c1 times its two neighbours, plus c2 times the next two, and so on;
// neighbours outside 0..M-1 are left out.
void ToitPlat(const double *__restrict src, double *__restrict dst) {
  const double c1 = CoefficientsToitPlat[0], c2 = CoefficientsToitPlat[1];
  const double c3 = CoefficientsToitPlat[2], c4 = CoefficientsToitPlat[3];
  auto voisins = [src](int k, int d) {
    return (k - d >= 0 ? src[k - d] : 0.0) + (k + d < M ? src[k + d] : 0.0);
  };
  auto bord = [&](int k) {
    dst[k] = src[k] - c1 * voisins(k, 1) + c2 * voisins(k, 2) - c3 * voisins(k, 3) +
             c4 * voisins(k, 4);
  };
  for (int k = 0; k < 4; ++k) bord(k);
  for (int k = 4; k < M - 4; ++k)
    dst[k] = src[k] - c1 * (src[k - 1] + src[k + 1]) + c2 * (src[k - 2] + src[k + 2]) -
             c3 * (src[k - 3] + src[k + 3]) + c4 * (src[k - 4] + src[k + 4]);
  for (int k = M - 4; k < M; ++k) bord(k);
}

void Amplitudes(const double *__restrict re, const double *__restrict im,
                double *__restrict out) {
  for (int k = 0; k < M; ++k) out[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
}

}  // namespace

const Noyau noyau{NOYAU_NOM, PrepareEntree, TransformeeComplexe, SepareRaies, ToitPlat,
                  Amplitudes};

}  // namespace Fft::NOYAU
