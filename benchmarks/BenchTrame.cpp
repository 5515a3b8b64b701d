// One frame's analysis in the response-diagram modes: both channels analysed (spectrum,
// levels, period, phases, edges), then five measurement channels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "Courbe.h"
#include "Fft.h"

namespace {

constexpr int Count = 8192;
constexpr double Te = 1e-5;

void Remplit(TCourbeOsc &c, double amplitude, double phase, unsigned graine) {
  std::mt19937 alea(graine);
  std::uniform_real_distribution<double> bruit(-0.5, 0.5);
  const double code = 10.0 / 255;
  for (int i = 0; i < Count; ++i) {
    const double v = amplitude * std::sin(2 * std::numbers::pi * i / 163.8 + phase);
    c.Valeurs[i] = code * std::round(v / code + bruit(alea));
  }
}

void AnalyseTrame(benchmark::State &etat) {
  TCourbeOsc voie1("V1", 1, "V"), voie2("V2", 2, "V");
  voie1.FenetreSpectre = voie2.FenetreSpectre = static_cast<Fft::Fenetre>(etat.range(0));
  Remplit(voie1, 4, 0.1, 1);
  Remplit(voie2, 2.5, -0.6, 2);
  TCourbeMesure mesures[5] = {{"f", 0, ""}, {"U", 1, ""}, {"p", 2, ""}, {"m", 3, ""}, {"G", 4, ""}};
  const uint8_t grandeurs[5] = {0, 1, 2, 3, 8};
  for (int i = 0; i < 5; ++i) {
    mesures[i].SetGrandeur(grandeurs[i]);
    mesures[i].ChoisitVoies(2, 1);
  }
  for (auto _ : etat) {
    voie1.AnalyseCourbe(Count);
    voie2.AnalyseCourbe(Count);
    for (TCourbeMesure &m : mesures) m.CalculMesure(voie1, voie2, Te);
    benchmark::DoNotOptimize(mesures[2].Valeur);
  }
}
BENCHMARK(AnalyseTrame)->Arg(Fft::Rectangle)->Arg(Fft::Hamming)->Arg(Fft::ToitPlat)->ArgName("fenetre");

}  // namespace

BENCHMARK_MAIN();
