// Drawing the oscilloscope screen at full HD: the time graph of a whole frame (8192
// samples per channel) and the spectrum graph of that frame (4096 bins, the most the
// program shows), each into a QImage as the paint boxes' backing store.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <memory>
#include <numbers>

#include "GrapheOsc.h"

namespace {

constexpr int Count = 8192, Bins = 4096, Largeur = 1920, Hauteur = 1080;

std::unique_ptr<TgrapheOsc> GrapheTemps() {
  auto g = std::make_unique<TgrapheOsc>();
  for (int i = 0; i < Count; ++i) {
    g->Abscisse.Valeurs[i] = i * 1e-5;
    g->Voie1.Valeurs[i] = 4 * std::sin(2 * std::numbers::pi * i / 163.8);
    g->Voie2.Valeurs[i] = 2.5 * std::sin(2 * std::numbers::pi * i / 163.8 - 0.6);
  }
  g->Abscisse.Mini = 0;
  g->Abscisse.Maxi = (Count - 1) * 1e-5;
  g->Voie1.Active = g->Voie2.Active = true;
  g->VoieSeuil = 1;
  g->NiveauSeuil = 140;
  g->NbPoints = Count;
  return g;
}

std::unique_ptr<TgrapheOsc> GrapheSpectre() {
  auto g = std::make_unique<TgrapheOsc>();
  g->ModeBarres = true;
  g->PasFrequence = 1 / (Count * 1e-5);
  g->Abscisse.Mini = 0;
  g->Abscisse.Maxi = Bins * g->PasFrequence;
  for (int i = 0; i < Bins; ++i) {
    g->Voie1.Valeurs[i] = 4 / (1 + std::abs(i - 50.0));
    g->Voie2.Valeurs[i] = 2.5 / (1 + std::abs(i - 50.0));
  }
  for (TCourbeOsc *v : {&g->Voie1, &g->Voie2}) {
    v->Active = true;
    v->Mini = 0;
    v->Maxi = 5;
  }
  g->NbPoints = Bins;
  return g;
}

void DessinTemps(benchmark::State &etat) {
  auto g = GrapheTemps();
  QImage image(Largeur, Hauteur, QImage::Format_RGB32);
  for (auto _ : etat) g->Draw(image);
}

void DessinSpectre(benchmark::State &etat) {
  auto g = GrapheSpectre();
  QImage image(Largeur, Hauteur, QImage::Format_RGB32);
  for (auto _ : etat) g->Draw(image);
}

// What one frame costs the screen in spectrum mode: both graphs, one after the other.
void DessinTempsEtSpectre(benchmark::State &etat) {
  auto temps = GrapheTemps(), spectre = GrapheSpectre();
  QImage haut(Largeur, Hauteur, QImage::Format_RGB32), bas(Largeur, Hauteur, QImage::Format_RGB32);
  for (auto _ : etat) {
    temps->Draw(haut);
    spectre->Draw(bas);
  }
}

}  // namespace

BENCHMARK(DessinTemps)->Unit(benchmark::kMillisecond);
BENCHMARK(DessinSpectre)->Unit(benchmark::kMillisecond);
BENCHMARK(DessinTempsEtSpectre)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
  // fonts and painting need a GUI application; no display is needed
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
