// Whole pictures of the oscilloscope screen compared pixel for pixel with reference images
// stored beside this file, so that a faster drawing must draw exactly the same pixels.
// The references are written, never silently, only when ZELM_REFAIRE_REFERENCES=1 is set:
//   ZELM_REFAIRE_REFERENCES=1 build/bin/tests_graphes_dessin --gtest_filter='ImagesExactes.*'
// which skips every scene it writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numbers>
#include <string>

#include "GrapheOsc.h"
#include "Noyau.h"

namespace {

constexpr double Pi = std::numbers::pi;

// A repeatable noise in -1..1 (no library generator, so no library version changes it).
double Bruit(int i) {
  uint32_t h = uint32_t(i) * 2654435761u;
  h ^= h >> 15, h *= 2246822519u, h ^= h >> 13;
  return (h & 0xFFFF) / 32767.5 - 1;
}

// A fixed frame of n samples 10 µs apart: a noisy sine on channel 1, a square wave
// through a low-pass on channel 2 that overshoots its scale now and then.
void TrameTemps(TgrapheOsc &g, int n) {
  for (int i = 0; i < NbValeursVoie; ++i) {
    g.Abscisse.Valeurs[i] = i * 1e-5;
    g.Voie1.Valeurs[i] = 4 * std::sin(2 * Pi * i / 163.8) + 0.15 * Bruit(i);
    const double carre = std::fmod(i, 700.0) < 210 ? 6.5 : -2;
    g.Voie2.Valeurs[i] = carre - 3 * std::exp(-std::fmod(i, 350.0) / 40) * (carre > 0 ? 1 : -1);
  }
  g.Abscisse.Mini = 0;
  g.Abscisse.Maxi = (n - 1) * 1e-5;
  g.Voie1.Active = g.Voie2.Active = true;
  g.NbPoints = uint16_t(n);
}

void Temps(TgrapheOsc &g) {
  TrameTemps(g, 8192);
  g.VoieSeuil = 1;
  g.NiveauSeuil = 140;
  g.OrigineTemps = 0.02;
}

void TempsSuperposition(TgrapheOsc &g) {
  TrameTemps(g, 1000);  // fewer samples than columns: every one is joined
  g.Superposition = true;
  g.VoieSeuil = 2;
  g.NiveauSeuil = 60;
  g.SensSeuil = 1;
  g.Voie2.Mini = -3;
  g.Voie2.Maxi = 6;
}

// 4096 bins of a 100 Hz step: two peaks with their harmonics on a decaying floor.
void Spectre(TgrapheOsc &g) {
  g.ModeBarres = true;
  g.PasFrequence = 1 / (8192 * 1e-5);
  g.Abscisse.Mini = 0;
  g.Abscisse.Maxi = 4096 * g.PasFrequence;
  for (int i = 0; i < 4096; ++i) {
    const double fond = 0.02 * (1 + Bruit(i)) / (1 + i / 500.0);
    g.Voie1.Valeurs[i] = fond + 4 / (1 + std::abs(i - 50.0)) + 1.3 / (1 + std::abs(i - 150.0));
    g.Voie2.Valeurs[i] = fond + 2.5 / (1 + 2 * std::abs(i - 50.0)) + 0.2 * (i % 512 == 0);
  }
  for (TCourbeOsc *v : {&g.Voie1, &g.Voie2}) {
    v->Active = true;
    v->Mini = 0;
    v->Maxi = 5;
  }
  g.NbPoints = 4096;
}

struct Scene {
  const char *nom;
  int largeur, hauteur;
  std::function<void(TgrapheOsc &)> prepare;
};

QString Reference(const std::string &nom) {
  return QStringLiteral(ZELM_REFERENCES_GRAPHES "/%1.png").arg(QString::fromStdString(nom));
}

QImage Dessine(int largeur, int hauteur, const std::function<void(TgrapheOsc &)> &prepare) {
  auto g = std::make_unique<TgrapheOsc>();
  prepare(*g);
  QImage image(largeur, hauteur, QImage::Format_RGB32);
  g->Draw(image);
  return image;
}

bool Refaire() { return qEnvironmentVariable("ZELM_REFAIRE_REFERENCES") == "1"; }

// Writes the reference when asked to, else compares with it and keeps a differing
// picture beside the test for a look.
void CompareALaReference(const QImage &image, const std::string &nom) {
  if (Refaire()) {
    ASSERT_TRUE(image.save(Reference(nom)));
    return;
  }
  const QImage attendue = QImage(Reference(nom)).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(attendue.isNull()) << "no reference " << Reference(nom).toStdString();
  ASSERT_EQ(attendue.size(), image.size());
  int differents = 0, premierX = -1, premierY = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto *a = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    const auto *b = reinterpret_cast<const QRgb *>(attendue.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (a[x] != b[x] && differents++ == 0) premierX = x, premierY = y;
  }
  if (differents > 0) {
    const QString obtenue = QDir::current().filePath(QString::fromStdString(nom) + ".obtenue.png");
    image.save(obtenue);
    ADD_FAILURE() << differents << " pixels differ, the first at (" << premierX << ", "
                  << premierY << "); the picture drawn is in " << obtenue.toStdString();
  }
}

}  // namespace

TEST(ImagesExactes, LEcranDessineLesMemesPixelsQueLaReference) {
  const Scene scenes[] = {
      {"temps_1920x1080", 1920, 1080, Temps},
      {"spectre_1920x1080", 1920, 1080, Spectre},
      {"temps_superposition_1920x1080", 1920, 1080, TempsSuperposition},
      {"temps_600x400", 600, 400, Temps},  // 13 samples a column
      {"spectre_600x400", 600, 400, Spectre},
  };
  for (const Scene &s : scenes) {
    SCOPED_TRACE(s.nom);
    CompareALaReference(Dessine(s.largeur, s.hauteur, s.prepare), s.nom);
  }
  if (Refaire()) GTEST_SKIP() << "references written in " ZELM_REFERENCES_GRAPHES;
}

// The spectrum of a frame as the program shows it: the channels' own analysis, then the
// bars; whichever kernel the processor runs, the same picture.
TEST(ImagesExactes, LeSpectreDUneTrameEstLeMemeSurChaqueNoyau) {
  const Fft::Noyau *actif = Fft::NoyauActif();
  for (const Fft::Noyau *noyau : Fft::Noyaux()) {
    Fft::NoyauActif() = noyau;
    for (Fft::Fenetre fenetre : {Fft::Rectangle, Fft::Hamming, Fft::ToitPlat}) {
      const std::string nom = "spectre_fft_" + std::to_string(int(fenetre));
      SCOPED_TRACE(nom + ", " + noyau->nom);
      const QImage image = Dessine(1920, 1080, [fenetre](TgrapheOsc &spectre) {
        auto temps = std::make_unique<TgrapheOsc>();
        TrameTemps(*temps, 8192);
        Spectre(spectre);
        for (int c = 1; c <= 2; ++c) {
          temps->Voie(c).FenetreSpectre = fenetre;
          temps->Voie(c).AnalyseCourbe(8192);
          spectre.Voie(c).Valeurs = temps->Voie(c).Spectre;
        }
      });
      CompareALaReference(image, nom);
    }
    if (Refaire()) break;  // made by the kernel the processor picks
  }
  Fft::NoyauActif() = actif;
  if (Refaire()) GTEST_SKIP() << "references written in " ZELM_REFERENCES_GRAPHES;
}
