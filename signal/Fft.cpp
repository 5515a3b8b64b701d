#include "Fft.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "Noyau.h"

namespace Fft {

TablesFft::TablesFft() {
  const double theta = 2 * std::numbers::pi / N;
  for (int n = 0; n < N; ++n) hamming[n] = 0.54 - 0.46 * std::cos(theta * n);
  for (int n = 0; n < M; ++n) {
    hammingPair[Travail::Place(n)] = 0.54 - 0.46 * std::cos(theta * (2 * n));
    hammingImpair[Travail::Place(n)] = 0.54 - 0.46 * std::cos(theta * (2 * n + 1));
  }
  for (int k = 0; k < M; ++k) wr[k] = std::cos(theta * k), wi[k] = -std::sin(theta * k);
  // exponents reduced modulo n first, so that every angle lies in [0, 2 pi)
  auto racine = [](int e, int n, double &r, double &i) {
    const double a = 2 * std::numbers::pi * (e % n) / n;
    r = std::cos(a), i = -std::sin(a);
  };
  for (int j = 1; j < 8; ++j)
    for (int p = 0; p < P0; ++p)
      racine(j * p, M, w0r[(j - 1) * Pas + p], w0i[(j - 1) * Pas + p]);
  int d = 0;
  for (int lignes : {P1, P2})
    for (int p = 0; p < lignes; ++p)
      for (int j = 1; j < 8; ++j, ++d) racine(j * p, 8 * lignes, w8r[d], w8i[d]);
}

namespace {

constexpr int M = TailleComplexe;
static_assert(2 * M == N);

const TablesFft &LesTables() {
  static const TablesFft tables;
  return tables;
}

struct ListeNoyaux {
  std::array<const Noyau *, 3> noyaux{};
  int nombre = 0;
  ListeNoyaux() {
#if defined(__x86_64__)
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (avx2 && __builtin_cpu_supports("avx512f")) noyaux[nombre++] = &avx512::noyau;
    if (avx2) noyaux[nombre++] = &avx2::noyau;
#endif
    noyaux[nombre++] = &base::noyau;
  }
};

Facteurs derniers;
Travail travail;  // like the last factors, one per program: Spectrum is not reentrant

}  // namespace

std::span<const Noyau *const> Noyaux() {
  static const ListeNoyaux liste;
  return {liste.noyaux.data(), size_t(liste.nombre)};
}

const Noyau *&NoyauActif() {
  static const Noyau *actif = Noyaux().front();
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
  // A full frame is read where it lies; a shorter one is first padded with zeros in re,
  // which the transform may read as its input.
  const double *x = samples.data();
  if (count < N) {
    std::copy_n(samples.begin(), count, re.begin());
    std::fill(re.begin() + count, re.begin() + N, 0.0);
    x = re.data();
  }
  derniers.FacteurAmplitude = double(N) / count;  // makes up for the zeros after count
  derniers.CorrectionFenetre =
      k.Spectre(t, x, fenetre, derniers.FacteurAmplitude, travail, re.data(), im.data());
}

void Amplitudes(Raies out, RaiesConst re, RaiesConst im) {
  NoyauActif()->Amplitudes(re.data(), im.data(), out.data());
}

}  // namespace Fft
