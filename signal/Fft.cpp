#include "Fft.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "TransformeeComplexe.h"

namespace Fft {

uint8_t TypeFenetre = Rectangle;

namespace {

constexpr int M = TailleComplexe;  // the real frame is transformed as M complex points
static_assert(2 * M == N);

struct Tables {
  std::array<double, N> hamming;
  // Twiddles W^k = e^(-2 pi i k / N), k = 0..M/2, that split the half-size transform
  // into the real frame's bins.
  std::array<double, M / 2 + 1> wr, wi;

  Tables() {
    const double theta = 2 * std::numbers::pi / N;
    for (int k = 0; k < N; ++k) hamming[k] = 0.54 - 0.46 * std::cos(theta * k);
    for (int k = 0; k <= M / 2; ++k) {
      wr[k] = std::cos(theta * k);
      wi[k] = -std::sin(theta * k);
    }
  }
};

const Tables &LesTables() {
  static const Tables tables;
  return tables;
}

Facteurs derniers;

// The frame as M complex points z[n] = x[2n] + i x[2n+1], windowed on the way; samples
// from count on read as zeros, whatever the slots hold. Returns the Hamming energy
// correction sqrt(E1 / E2): 1 when the window is not Hamming, and 1 for an all-zero frame,
// which has no energy to keep.
double PrepareEntree(const double *__restrict x, int count, uint8_t fenetre,
                     double *__restrict zr, double *__restrict zi) {
  const int paires = count / 2;
  std::fill(zr + paires, zr + M, 0.0);
  std::fill(zi + paires, zi + M, 0.0);
  if (count % 2) zr[paires] = x[count - 1];
  if (fenetre != Hamming) {
    for (int n = 0; n < paires; ++n) {
      zr[n] = x[2 * n];
      zi[n] = x[2 * n + 1];
    }
    return 1.0;
  }
  const double *w = LesTables().hamming.data();
  double e1 = 0, e2 = 0;
  for (int n = 0; n < paires; ++n) {
    const double a = x[2 * n], b = x[2 * n + 1];
    const double wa = w[2 * n] * a, wb = w[2 * n + 1] * b;
    e1 += a * a + b * b;
    e2 += wa * wa + wb * wb;
    zr[n] = wa;
    zi[n] = wb;
  }
  if (count % 2) {
    const double a = x[count - 1], wa = w[count - 1] * a;
    e1 += a * a;
    e2 += wa * wa;
    zr[paires] = wa;
  }
  return e2 > 0 ? std::sqrt(e1 / e2) : 1.0;
}

// Bins 0..M-1 of the real frame from the half-size transform Z:
// X[k] = (Z[k] + conj Z[M-k]) / 2 - i W^k (Z[k] - conj Z[M-k]) / 2, and
// X[M-k] = conj of the same with the sign of the second term turned.
// Bin 0 gets gain0, the other bins gain.
void SepareRaies(const double *__restrict zr, const double *__restrict zi, double gain0,
                 double gain, double *__restrict xr, double *__restrict xi) {
  const Tables &t = LesTables();
  xr[0] = gain0 * (zr[0] + zi[0]);
  xi[0] = 0;
  const double h = gain / 2;
  for (int k = 1; k <= M / 2; ++k) {
    const int j = M - k;
    const double sr = zr[k] + zr[j], si = zi[k] - zi[j];  // Z[k] + conj Z[j]
    const double dr = zr[k] - zr[j], di = zi[k] + zi[j];  // Z[k] - conj Z[j]
    // -i W^k D
    const double tr = t.wr[k] * di + t.wi[k] * dr;
    const double ti = t.wi[k] * di - t.wr[k] * dr;
    xr[k] = h * (sr + tr);
    xi[k] = h * (si + ti);
    xr[j] = h * (sr - tr);
    xi[j] = -h * (si - ti);
  }
}

// Flat top in the frequency domain: each bin minus c1 times its two neighbours, plus c2
// times the next two, and so on; neighbours outside 0..M-1 are left out.
void ToitPlatDe(const double *__restrict src, double *__restrict dst) {
  const auto &c = CoefficientsToitPlat;
  auto voisins = [src](int k, int d) {
    return (k - d >= 0 ? src[k - d] : 0.0) + (k + d < M ? src[k + d] : 0.0);
  };
  auto borne = [&](int k) {
    dst[k] = src[k] - c[0] * voisins(k, 1) + c[1] * voisins(k, 2) - c[2] * voisins(k, 3) +
             c[3] * voisins(k, 4);
  };
  for (int k = 0; k < 4; ++k) borne(k);
  for (int k = 4; k < M - 4; ++k) {
    dst[k] = src[k] - c[0] * (src[k - 1] + src[k + 1]) + c[1] * (src[k - 2] + src[k + 2]) -
             c[2] * (src[k - 3] + src[k + 3]) + c[3] * (src[k - 4] + src[k + 4]);
  }
  for (int k = M - 4; k < M; ++k) borne(k);
}

}  // namespace

void Initialise() {
  LesTables();
  InitialiseComplexe();
}

Facteurs DerniersFacteurs() { return derniers; }

void Spectrum(int32_t count, Echantillons samples, Raies re, Raies im, uint8_t fenetre) {
  if (count < 0 || count > N) throw std::out_of_range("Fft::Spectrum: count outside 0..8192");
  if (count == 0) {
    std::copy(samples.begin(), samples.end(), re.begin());
    std::fill(im.begin(), im.end(), 0.0);
    return;
  }
  // The upper halves of re and im hold the half-size transform, the lower halves are
  // its working space and then receive the bins.
  double *zr = re.data() + M, *zi = im.data() + M;
  const double correction = PrepareEntree(samples.data(), count, fenetre, zr, zi);
  TransformeeComplexe(zr, zi, re.data(), im.data());

  derniers = {correction, double(N) / count};
  const double gain = correction * derniers.FacteurAmplitude / N;
  SepareRaies(zr, zi, gain, 2 * gain, re.data(), im.data());
  if (fenetre == ToitPlat) {
    std::copy_n(re.data(), M, zr);
    std::copy_n(im.data(), M, zi);
    ToitPlatDe(zr, re.data());
    ToitPlatDe(zi, im.data());
  }
}

void Spectrum(int32_t count, Echantillons samples, Raies re, Raies im) {
  Spectrum(count, samples, re, im, TypeFenetre);
}

void Amplitudes(Raies out, RaiesConst re, RaiesConst im) {
  for (int k = 0; k < NbRaies; ++k) out[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
}

}  // namespace Fft
