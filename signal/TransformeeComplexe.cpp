#include "TransformeeComplexe.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace Fft {

namespace {

// Radix 4, self-sorting (each stage reads one buffer and writes the other, so no
// bit-reversal pass), split real and imaginary arrays so that the inner loops run over
// consecutive doubles and vectorise. 4096 = 4^6: six stages; stage e works on
// sub-transforms of length n = 4096 / 4^e, S = 4^e of them interleaved.
constexpr int M = TailleComplexe;
constexpr int NbEtages = 6;

// Twiddles of every stage, w^p, w^2p, w^3p with w = e^(-2 pi i / n), p < n / 4, one block
// per stage (1024 + 256 + 64 + 16 + 4 + 1 entries).
struct Facteurs {
  static constexpr int Taille = 1365;
  std::array<double, Taille> w1r, w1i, w2r, w2i, w3r, w3i;
  std::array<int, NbEtages> debut;

  Facteurs() {
    int d = 0;
    for (int e = 0, n = M; e < NbEtages; ++e, n /= 4) {
      debut[e] = d;
      const double theta = 2 * std::numbers::pi / n;
      for (int p = 0; p < n / 4; ++p, ++d) {
        w1r[d] = std::cos(theta * p), w1i[d] = -std::sin(theta * p);
        w2r[d] = std::cos(2 * theta * p), w2i[d] = -std::sin(2 * theta * p);
        w3r[d] = std::cos(3 * theta * p), w3i[d] = -std::sin(3 * theta * p);
      }
    }
  }
};

const Facteurs &LesFacteurs() {
  static const Facteurs f;
  return f;
}

struct Pointeurs {
  const double *__restrict w1r, *__restrict w1i, *__restrict w2r, *__restrict w2i,
      *__restrict w3r, *__restrict w3i;
};

struct Twiddles {
  double w1r, w1i, w2r, w2i, w3r, w3i;
};

// L radix-4 butterflies side by side: inputs a, b, c, d (a quarter of the transform
// apart), outputs y0..y3, the last three turned by the twiddles. Plain runs of doubles, so
// the loop vectorises.
template <bool Tourne>
void Papillons(int L, const double *__restrict xr, const double *__restrict xi, int q4,
               double *__restrict y0r, double *__restrict y0i, double *__restrict y1r,
               double *__restrict y1i, double *__restrict y2r, double *__restrict y2i,
               double *__restrict y3r, double *__restrict y3i, Twiddles w) {
  const double *__restrict ar = xr, *__restrict ai = xi;
  const double *__restrict br = xr + q4, *__restrict bi = xi + q4;
  const double *__restrict cr = xr + 2 * q4, *__restrict ci = xi + 2 * q4;
  const double *__restrict dr = xr + 3 * q4, *__restrict di = xi + 3 * q4;
  for (int q = 0; q < L; ++q) {
    const double apcr = ar[q] + cr[q], apci = ai[q] + ci[q];
    const double amcr = ar[q] - cr[q], amci = ai[q] - ci[q];
    const double bpdr = br[q] + dr[q], bpdi = bi[q] + di[q];
    const double bmdr = br[q] - dr[q], bmdi = bi[q] - di[q];
    // j (b - d) = (-bmdi, bmdr)
    const double u1r = amcr + bmdi, u1i = amci - bmdr;  // (a - c) - j (b - d)
    const double u2r = apcr - bpdr, u2i = apci - bpdi;
    const double u3r = amcr - bmdi, u3i = amci + bmdr;  // (a - c) + j (b - d)
    y0r[q] = apcr + bpdr;
    y0i[q] = apci + bpdi;
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

// The first stage: one butterfly per twiddle, outputs four apart.
void PremierEtage(const Pointeurs &w, const double *__restrict xr, const double *__restrict xi,
                  double *__restrict yr, double *__restrict yi) {
  constexpr int q4 = M / 4;
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
    yr[4 * p + 1] = w.w1r[p] * u1r - w.w1i[p] * u1i, yi[4 * p + 1] = w.w1r[p] * u1i + w.w1i[p] * u1r;
    yr[4 * p + 2] = w.w2r[p] * u2r - w.w2i[p] * u2i, yi[4 * p + 2] = w.w2r[p] * u2i + w.w2i[p] * u2r;
    yr[4 * p + 3] = w.w3r[p] * u3r - w.w3i[p] * u3i, yi[4 * p + 3] = w.w3r[p] * u3i + w.w3i[p] * u3r;
  }
}

// A later stage with S interleaved sub-transforms of length n = M / S: for each twiddle p,
// S butterflies side by side.
template <int S>
void Etage(const Pointeurs &w, const double *xr, const double *xi, double *yr, double *yi) {
  constexpr int q4 = M / 4;
  constexpr int n1 = M / 4 / S;
  for (int p = 0; p < n1; ++p) {
    const int i = S * p, o = 4 * S * p;
    const Twiddles t{w.w1r[p], w.w1i[p], w.w2r[p], w.w2i[p], w.w3r[p], w.w3i[p]};
    Papillons<(n1 > 1)>(S, xr + i, xi + i, q4, yr + o, yi + o, yr + o + S, yi + o + S,
                        yr + o + 2 * S, yi + o + 2 * S, yr + o + 3 * S, yi + o + 3 * S, t);
  }
}

Pointeurs PointeursEtage(const Facteurs &f, int e) {
  const int d = f.debut[e];
  return {f.w1r.data() + d, f.w1i.data() + d, f.w2r.data() + d,
          f.w2i.data() + d, f.w3r.data() + d, f.w3i.data() + d};
}

}  // namespace

void InitialiseComplexe() { LesFacteurs(); }

void TransformeeComplexe(double *zr, double *zi, double *tr, double *ti) {
  const Facteurs &f = LesFacteurs();
  // An even number of stages: the result lands back in z.
  PremierEtage(PointeursEtage(f, 0), zr, zi, tr, ti);
  Etage<4>(PointeursEtage(f, 1), tr, ti, zr, zi);
  Etage<16>(PointeursEtage(f, 2), zr, zi, tr, ti);
  Etage<64>(PointeursEtage(f, 3), tr, ti, zr, zi);
  Etage<256>(PointeursEtage(f, 4), zr, zi, tr, ti);
  Etage<1024>(PointeursEtage(f, 5), tr, ti, zr, zi);
}

}  // namespace Fft
