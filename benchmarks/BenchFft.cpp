// Spectrum of one frame with each window, against FFTW's real-to-complex transform of the
// same 8192 doubles (plan made once, FFTW_MEASURE).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <array>
#include <cmath>
#include <random>

#include "Fft.h"
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

void Spectrum(benchmark::State &etat) {
  Fft::Initialise();
  const auto fenetre = static_cast<uint8_t>(etat.range(0));
  const Tableau x = TrameDeTest();
  static Tableau re, im;
  for (auto _ : etat) {
    Fft::Spectrum(Fft::N, x, re, im, fenetre);
    benchmark::DoNotOptimize(re.data());
    benchmark::DoNotOptimize(im.data());
  }
}
BENCHMARK(Spectrum)->Arg(Fft::Rectangle)->Arg(Fft::Hamming)->Arg(Fft::ToitPlat)->ArgName("fenetre");

void SpectrumEtAmplitudes(benchmark::State &etat) {
  const Tableau x = TrameDeTest();
  static Tableau re, im, a;
  for (auto _ : etat) {
    Fft::Spectrum(Fft::N, x, re, im, Fft::Rectangle);
    Fft::Amplitudes(a, re, im);
    benchmark::DoNotOptimize(a.data());
  }
}
BENCHMARK(SpectrumEtAmplitudes);

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
  return LanceEtCompare(argc, argv,
                        {{"Spectrum/fenetre:0", "FFTW_r2c"},
                         {"Spectrum/fenetre:1", "FFTW_r2c"},
                         {"Spectrum/fenetre:2", "FFTW_r2c"},
                         {"SpectrumEtAmplitudes", "FFTW_r2c"}});
}
