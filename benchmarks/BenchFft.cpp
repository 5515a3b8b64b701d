// Spectrum of one frame with each window, on each kernel the processor runs, against
// FFTW's real-to-complex transform of the same 8192 doubles (plan made once, FFTW_MEASURE).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <array>
#include <cmath>
#include <random>
#include <string>

#include "Fft.h"
#include "Noyau.h"
#include "Rapport.h"

namespace {

using Tableau = std::array<double, Fft::NbCases>;

Tableau TrameDeTest() {
  Tableau x{};
  std::mt19937 alea(7);
  std::normal_distribution<double> bruit(0, 0.01);
  for (int n = 0; n < Fft::N; ++n) x[n] = 0.3 + std::sin(0.0731 * n) + bruit(alea);
  return x;
}

void Spectrum(benchmark::State &etat, const Fft::Noyau *noyau, uint8_t fenetre) {
  Fft::NoyauActif() = noyau;
  const Tableau x = TrameDeTest();
  static Tableau re, im;
  for (auto _ : etat) {
    Fft::Spectrum(Fft::N, x, re, im, fenetre);
    benchmark::DoNotOptimize(re.data());
    benchmark::DoNotOptimize(im.data());
  }
}

void SpectrumEtAmplitudes(benchmark::State &etat, const Fft::Noyau *noyau) {
  Fft::NoyauActif() = noyau;
  const Tableau x = TrameDeTest();
  static Tableau re, im, a;
  for (auto _ : etat) {
    Fft::Spectrum(Fft::N, x, re, im, Fft::Rectangle);
    Fft::Amplitudes(a, re, im);
    benchmark::DoNotOptimize(a.data());
  }
}

void FFTW_r2c(benchmark::State &etat) {
  double *in = fftw_alloc_real(Fft::N);
  fftw_complex *out = fftw_alloc_complex(Fft::N / 2 + 1);
  fftw_plan plan = fftw_plan_dft_r2c_1d(Fft::N, in, out, FFTW_MEASURE);  // may overwrite in
  const Tableau x = TrameDeTest();
  std::copy_n(x.begin(), Fft::N, in);
  for (auto _ : etat) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftw_destroy_plan(plan);
  fftw_free(out);
  fftw_free(in);
}
BENCHMARK(FFTW_r2c);

}  // namespace

int main(int argc, char **argv) {
  Fft::Initialise();
  const Fft::Noyau *choisi = Fft::NoyauActif();
  std::vector<Comparaison> comparaisons;
  std::string offerts;
  // the kernel Spectrum picks carries the aims; the others show whether it pays
  for (const Fft::Noyau *noyau : Fft::Noyaux()) {
    const std::string n = noyau->nom;
    const double plafond = noyau == choisi ? 1.3 : 0;
    offerts += " " + n;
    for (uint8_t f : {Fft::Rectangle, Fft::Hamming, Fft::ToitPlat}) {
      const std::string nom = "Spectrum/" + n + "/fenetre:" + std::to_string(f);
      benchmark::RegisterBenchmark(nom.c_str(), Spectrum, noyau, f);
      comparaisons.push_back({nom, "FFTW_r2c", plafond});
    }
    const std::string nom = "SpectrumEtAmplitudes/" + n;
    benchmark::RegisterBenchmark(nom.c_str(), SpectrumEtAmplitudes, noyau);
    comparaisons.push_back({nom, "FFTW_r2c", plafond});
  }
  const int code = LanceEtCompare(argc, argv, comparaisons, {},
                                  {std::string("noyau: ") + choisi->nom + " (offerts:" + offerts + ")"});
  Fft::NoyauActif() = choisi;
  return code;
}
