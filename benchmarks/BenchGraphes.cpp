// Drawing the oscilloscope screen at full HD: the time graph of a whole frame (8192
// samples per channel) and the spectrum graph of that frame (4096 bins, the most the
// program shows), each into a QImage as the paint boxes' backing store; beside them, what
// the bare painter takes for the same points and for filling the image.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <memory>
#include <numbers>

#include "Dessin.h"
#include "GrapheOsc.h"
#include "Rapport.h"

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

// The points the time graph joins, as pixels, once it has been laid out.
std::vector<QPolygon> PointsDuTemps() {
  auto g = GrapheTemps();
  QImage image(Largeur, Hauteur, QImage::Format_RGB32);
  g->Draw(image);
  const int pas = std::max(Count / Largeur, 1);
  std::vector<QPolygon> traces;
  for (const TCourbeOsc *v : {&g->Voie1, &g->Voie2}) {
    QPolygon &t = traces.emplace_back();
    for (int i = 0; i < Count; i += pas)
      t << QPoint(Pixel(g->Abscisse, g->Abscisse.Valeurs[i]), Pixel(*v, v->Valeurs[i]));
  }
  return traces;
}

// The yardstick: the same two polylines as a plain program would draw them, a 1-pixel pen
// of each channel's colour on the cleared image, nothing else.
void PolyligneNue(benchmark::State &etat) {
  const std::vector<QPolygon> traces = PointsDuTemps();
  QImage image(Largeur, Hauteur, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto _ : etat) {
    QPainter p(&image);
    p.setPen(QPen(Qt::blue, 1));
    p.drawPolyline(traces[0]);
    p.setPen(QPen(Qt::red, 1));
    p.drawPolyline(traces[1]);
  }
}

void RemplissageImage(benchmark::State &etat) {
  QImage image(Largeur, Hauteur, QImage::Format_RGB32);
  for (auto _ : etat) {
    QPainter p(&image);
    p.fillRect(image.rect(), CouleurFond());
  }
}

}  // namespace

BENCHMARK(DessinTemps)->Unit(benchmark::kMillisecond);
BENCHMARK(DessinSpectre)->Unit(benchmark::kMillisecond);
BENCHMARK(DessinTempsEtSpectre)->Unit(benchmark::kMillisecond);
BENCHMARK(PolyligneNue)->Unit(benchmark::kMillisecond);
BENCHMARK(RemplissageImage)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
  // fonts and painting need a GUI application; no display is needed
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  return LanceEtCompare(argc, argv,
                        {{"DessinTempsEtSpectre", "PolyligneNue"},
                         {"DessinTemps", "PolyligneNue"},
                         {"DessinTempsEtSpectre", "RemplissageImage"}},
                        {{"DessinTempsEtSpectre", 2.0}},
                        {"image: " + std::to_string(Largeur) + " x " + std::to_string(Hauteur) +
                         ", " + std::to_string(Count) + " samples and " + std::to_string(Bins) +
                         " bins per channel, 2 channels"});
}
