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
  // The upper halves of re and im hold the half-size transform, the lower halves are its
  // working space and then receive the bins.
  double *zr = re.data() + M, *zi = im.data() + M;
  const double correction = k.PrepareEntree(t, samples.data(), count, fenetre == Hamming, zr, zi);
  k.TransformeeComplexe(t, zr, zi, re.data(), im.data());

  derniers = {correction, double(N) / count};
  // 2/N makes a sine's amplitude, 1/N in bin 0 the mean; 8192/count makes up for the
  // zeros after count.
  const double gain0 = correction * derniers.FacteurAmplitude / N;
  k.SepareRaies(t, zr, zi, gain0, 2 * gain0, re.data(), im.data());
  if (fenetre == ToitPlat) {
    // the filter reads a copy of the bins, never bins it has already changed
    std::copy_n(re.data(), M, zr);
    std::copy_n(im.data(), M, zi);
    k.ToitPlat(zr, re.data());
    k.ToitPlat(zi, im.data());
  }
}

void Spectrum(int32_t count, Echantillons samples, Raies re, Raies im) {
  Spectrum(count, samples, re, im, TypeFenetre);
}

void Amplitudes(Raies out, RaiesConst re, RaiesConst im) {
  NoyauActif()->Amplitudes(re.data(), im.data(), out.data());
}

}  // namespace Fft
