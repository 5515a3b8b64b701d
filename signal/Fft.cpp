#include "Fft.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "Noyau.h"

namespace Fft {

uint8_t TypeFenetre = Rectangle;

TablesFft::TablesFft() {
  const double theta = 2 * std::numbers::pi / N;
  for (int n = 0; n < M; ++n) {
    hammingPair[n] = 0.54 - 0.46 * std::cos(theta * (2 * n));
    hammingImpair[n] = 0.54 - 0.46 * std::cos(theta * (2 * n + 1));
  }
  for (int k = 0; k <= M / 2; ++k) wr[k] = std::cos(theta * k), wi[k] = -std::sin(theta * k);
  int d = 0;
  for (int e = 0, n = M; e < NbEtages; ++e, n /= 4) {
    debut[e] = d;
    const double t = 2 * std::numbers::pi / n;
    for (int p = 0; p < n / 4; ++p, ++d) {
      w1r[d] = std::cos(t * p), w1i[d] = -std::sin(t * p);
      w2r[d] = std::cos(2 * t * p), w2i[d] = -std::sin(2 * t * p);
      w3r[d] = std::cos(3 * t * p), w3i[d] = -std::sin(3 * t * p);
    }
  }
}

namespace {

constexpr int M = TailleComplexe;
static_assert(2 * M == N);

const TablesFft &LesTables() {
  static const TablesFft tables;
  return tables;
}

const Noyau *MeilleurNoyau() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return &avx2::noyau;
#endif
  return &base::noyau;
}

Facteurs derniers;

}  // namespace

const Noyau *&NoyauActif() {
  static const Noyau *actif = MeilleurNoyau();
  return actif;
}

void Initialise() {
  LesTables();
  NoyauActif();
}

Facteurs DerniersFacteurs() { return derniers; }

void Spectrum(int32_t count, Echantillons samples, Raies re, Raies im, uint8_t fenetre) {
  if (count < 0 || count > N) throw std::out_of_range("Fft::Spectrum: count outside 0..8192");
  if (count == 0) {
    std::copy(samples.begin(), samples.end(), re.begin());
    std::fill(im.begin(), im.end(), 0.0);
    return;
  }
  const TablesFft &t = LesTables();
  const Noyau &k = *NoyauActif();
  // The half-size transform and its working space take the two halves of re and im; the
  // transform ends where it started. Its half is chosen so that the bins, or with the flat
  // top the bins before the filter, which reads them unchanged, land in the other half, and
  // the result in the lower one, without a copy.
  const bool toitPlat = fenetre == ToitPlat;
  double *bas_r = re.data(), *bas_i = im.data(), *haut_r = bas_r + M, *haut_i = bas_i + M;
  double *zr = toitPlat ? bas_r : haut_r, *zi = toitPlat ? bas_i : haut_i;
  double *tr = toitPlat ? haut_r : bas_r, *ti = toitPlat ? haut_i : bas_i;
  const double correction = k.PrepareEntree(t, samples.data(), count, fenetre == Hamming, zr, zi);
  k.TransformeeComplexe(t, zr, zi, tr, ti);

  derniers = {correction, double(N) / count};
  // 2/N makes a sine's amplitude, 1/N in bin 0 the mean; 8192/count makes up for the
  // zeros after count.
  const double gain0 = correction * derniers.FacteurAmplitude / N;
  k.SepareRaies(t, zr, zi, gain0, 2 * gain0, tr, ti);
  if (toitPlat) {
    k.ToitPlat(tr, bas_r);
    k.ToitPlat(ti, bas_i);
  }
}

void Spectrum(int32_t count, Echantillons samples, Raies re, Raies im) {
  Spectrum(count, samples, re, im, TypeFenetre);
}

void Amplitudes(Raies out, RaiesConst re, RaiesConst im) {
  NoyauActif()->Amplitudes(re.data(), im.data(), out.data());
}

}  // namespace Fft
