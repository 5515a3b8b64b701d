#include "Courbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "Erreurs.h"
#include "Fft.h"
#include "Trames.h"

namespace {

using namespace trames;

TEST(TCourbe, ValeurEnPixel) {
  TCourbe c("t", 0, "s");
  c.Echelle = -2.5, c.Decalage = 300;
  struct Cas { double valeur; int32_t pixel; } cas[] = {
      {0, 300}, {10, 275}, {-4, 310},
      {0.2, 300},   // 299.5: halves go to the even pixel
      {0.6, 298},   // 298.5
      {ValeurIndefinie, -1},
  };
  for (auto [valeur, pixel] : cas) EXPECT_EQ(c.ValeurEnPixel(valeur), pixel) << valeur;
  EXPECT_DOUBLE_EQ(c.PixelEnValeur(275), 10);
  EXPECT_THROW(c.ValeurEnPixel(1e9), ERangeError);
  EXPECT_THROW(c.ValeurEnPixel(NAN), ERangeError);
}

TEST(TCourbe, PixelEnNiveau) {
  TCourbe c("V", 1, "V");
  c.PixelMin = 300, c.PixelMax = 45;  // 255 pixels high: one level per pixel
  struct Cas { int32_t pixel; int niveau; } cas[] = {
      {300, 0}, {45, 255}, {172, 128}, {299, 1}};
  for (auto [pixel, niveau] : cas) EXPECT_EQ(c.PixelEnNiveau(pixel), niveau) << pixel;
  EXPECT_THROW(c.PixelEnNiveau(301), ERangeError);
  EXPECT_THROW(c.PixelEnNiveau(44), ERangeError);
  c.PixelMax = 300;
  EXPECT_THROW(c.PixelEnNiveau(100), ERangeError);  // no height at all
}

TEST(TCourbe, CalculGraduation) {
  struct Cas {
    double mini, maxi;
    bool dense;
    double pas, premiere, multiplicateur;
    int chiffres;
    double v;             // a graduation value
    const char *texte;    // its label
  } cas[] = {
      {0, 10, false, 5, 0, 1, 3, 5, "5"},
      {0, 10, true, 2, 0, 1, 3, 4, "4"},
      {-0.002, 0.008, false, 0.005, 0, 1e-3, 3, 0.005, "5"},
      {-5, 5, false, 5, -5, 1, 3, -5, "-5"},
      {0, 0.5, false, 0.2, 0, 1e-3, 3, 0.4, "400"},       // e = -1: milli
      {0, 8.192e-3, true, 1e-3, 0, 1e-3, 3, 0.007, "7"},
      {1000, 51000, false, 20000, 20000, 1000, 3, 40000, "40"},
      {-3e-5, 1.7e-4, false, 5e-5, 0, 1e-6, 3, 1.5e-4, "150"},  // e = -4: micro
      {0, 123.4, true, 20, 0, 1, 3, 120, "120"},
      {9990, 10010, false, 5, 9990, 1, 4, 10008, "1.001E4"},  // 5 digits wanted, 4 kept
  };
  for (const Cas &k : cas) {
    SCOPED_TRACE(testing::Message() << k.mini << ".." << k.maxi << (k.dense ? " dense" : ""));
    TCourbe c("V1", 1, "V");
    c.Mini = k.mini, c.Maxi = k.maxi;
    c.CalculGraduation(k.dense);
    EXPECT_NEAR(c.PasGraduation, k.pas, 1e-9 * k.pas);
    EXPECT_NEAR(c.PremiereGraduation, k.premiere, 1e-9 * k.pas);
    EXPECT_DOUBLE_EQ(c.Multiplicateur, k.multiplicateur);
    EXPECT_EQ(c.NbChiffres, k.chiffres);
    EXPECT_EQ(c.TexteGraduation(k.v), k.texte);
  }
}

TEST(TCourbe, TitreDAxeAvecLePrefixeDuMultiplicateur) {
  TCourbe c("V1", 1, "V");
  c.Mini = -0.002, c.Maxi = 0.008;
  c.CalculGraduation(false);
  EXPECT_EQ(c.TitreAxe(c.Multiplicateur), "V1(mV)");
}

// Channel 1 of a frame: Valeurs from f, the slots after count left as stale data.
void Remplit(TCourbeOsc &c, int count, const std::function<double(int)> &f, double pas = 0) {
  const auto v = Echantillonne(count, f, pas, pas > 0 ? 0.5 : 0);
  std::copy(v.begin(), v.end(), c.Valeurs.begin());
  std::fill(c.Valeurs.begin() + count, c.Valeurs.end(), 0.77);
}

TEST(TCourbeOsc, MoinsDe16EchantillonsNeChangentRien) {
  TCourbeOsc c("V1", 1, "V");
  Remplit(c, 16, Sinus(1, 8));
  c.AnalyseCourbe(15);
  EXPECT_EQ(c.NbAnalyses, 0);
  EXPECT_EQ(c.CreteACrete, 0);
  EXPECT_EQ(c.Spectre[0], 0);
  c.AnalyseCourbe(16);
  EXPECT_EQ(c.NbAnalyses, 16);
  EXPECT_NEAR(c.CreteACrete, 2, 1e-12);
  EXPECT_LT(c.FinPeriode, 16);
  EXPECT_NEAR(c.Spectre[1024], 1.0, 1e-9);  // 8 samples per period: bin 8192 / 8
  EXPECT_THROW(c.AnalyseCourbe(8193), ERangeError);
}

TEST(TCourbeOsc, LeSpectreSuitLaFenetreDeSaVoie) {
  const double h = 1 / std::sqrt(0.54 * 0.54 + 0.46 * 0.46 / 2);  // Hamming's correction
  struct Cas { std::optional<Fft::Fenetre> fenetre; double raie99, raie100; } cas[] = {
      {Fft::ToitPlat, 0.934516, 1},
      {std::nullopt, 0, 1},  // a new channel: the rectangle, whatever another one had
      {Fft::Hamming, 0.23 * h, 0.54 * h},
      {Fft::Rectangle, 0, 1},
  };
  for (auto [fenetre, raie99, raie100] : cas) {
    SCOPED_TRACE(fenetre ? Fft::NomsFenetres[*fenetre] : "new channel");
    TCourbeOsc c("V1", 1, "V");
    if (fenetre) c.FenetreSpectre = *fenetre;
    Remplit(c, 8192, Sinus(1, 81.92, 0.3));  // bin 100
    c.AnalyseCourbe(8192);
    EXPECT_NEAR(c.Spectre[99], raie99, 1e-5);
    EXPECT_NEAR(c.Spectre[100], raie100, 1e-5);
  }
}

TEST(TCourbeOsc, LaVoieGardeSesEchantillonsQuelleQueSoitLaFenetre) {
  for (Fft::Fenetre fenetre : {Fft::Rectangle, Fft::Hamming, Fft::ToitPlat}) {
    SCOPED_TRACE(Fft::NomsFenetres[fenetre]);
    TCourbeOsc c("V1", 1, "V");
    c.FenetreSpectre = fenetre;
    Remplit(c, 8192, Sinus(2, 81.92, 0.3, 0.5));  // bin 100
    const auto avant = c.Valeurs;
    c.AnalyseCourbe(8192);
    EXPECT_EQ(c.Valeurs, avant);
    EXPECT_NEAR(c.Efficace, std::sqrt(2 + 0.25), 0.01);  // the acquired signal's RMS
    if (fenetre != Fft::Hamming) {
      EXPECT_NEAR(c.Spectre[0], 0.5, 0.01);  // the mean
    }
    TCourbeOsc masse("V2", 2, "V");  // a grounded channel: zeros, no 0/0
    masse.FenetreSpectre = fenetre;
    masse.AnalyseCourbe(8192);
    EXPECT_EQ(masse.Spectre[0], 0);
    EXPECT_EQ(masse.Spectre[100], 0);
  }
}

class UneTrame : public testing::Test {
 protected:
  static constexpr double Te = 1e-4;  // 10 kHz sampling
  TCourbeOsc voie1{"V1", 1, "V"}, voie2{"V2", 2, "V"};
  TCourbeMesure mesure{"m", 0, ""};

  // channel 1: 2 sin, channel 2: 45 degrees behind, half as large, 0.3 V offset; 100 Hz
  void Sinus45() {
    Remplit(voie1, 2000, Sinus(2, 100, 0.2), 10.0 / 255);
    Remplit(voie2, 2000, Sinus(1, 100, 0.2 - Pi / 4, 0.3), 10.0 / 255);
    voie1.AnalyseCourbe(2000);
    voie2.AnalyseCourbe(2000);
  }
  double Mesure(uint8_t grandeur, uint8_t voie, uint8_t reference, double te = Te) {
    mesure.SetGrandeur(grandeur);
    mesure.ChoisitVoies(voie, reference);
    mesure.CalculMesure(voie1, voie2, te);
    return mesure.Valeur;
  }
};

TEST_F(UneTrame, ChaqueGrandeur) {
  Sinus45();
  struct Cas { uint8_t grandeur, voie, reference; double attendu, tolerance; } cas[] = {
      {0, 1, 1, 100, 1},                                 // Hz
      {1, 2, 1, std::sqrt(0.5 + 0.09), 0.01},            // V
      {2, 2, 1, -45, 1},                                 // channel 2 against 1: behind
      {2, 1, 2, 45, 1},                                  // channel 1 against 2: ahead
      {3, 2, 1, 0.3, 0.01},                              // V
      {5, 1, 1, 4, 0.05},                                // V
      {8, 2, 1, std::sqrt(0.59) / std::sqrt(2.0), 0.01},
      {8, 1, 2, std::sqrt(2.0) / std::sqrt(0.59), 0.02},
  };
  for (auto [grandeur, voie, reference, attendu, tolerance] : cas) {
    SCOPED_TRACE(testing::Message() << NomsGrandeurs[grandeur] << " " << int(voie) << "/"
                                    << int(reference));
    EXPECT_NEAR(Mesure(grandeur, voie, reference), attendu, tolerance);
  }
}

TEST_F(UneTrame, RapportCycliqueEtFronts) {
  // 30 % high, 10-sample edges (9 samples from 5 % to 95 %), 200 samples per period,
  // the frame starting inside the high phase
  Remplit(voie1, 2000, Trapeze(0, 5, 200, 0.3, -20, 10), 10.0 / 255);
  voie1.AnalyseCourbe(2000);
  voie2.AnalyseCourbe(2000);
  EXPECT_NEAR(Mesure(4, 1, 1), 0.30, 0.01);
  EXPECT_NEAR(Mesure(6, 1, 1), 9 * Te, 1.01 * Te);
  EXPECT_NEAR(Mesure(7, 1, 1), 9 * Te, 1.01 * Te);
  EXPECT_NEAR(Mesure(0, 1, 1), 50, 0.3);
}

TEST_F(UneTrame, ToutEchecDonneLaValeurIndefinie) {
  EXPECT_EQ(mesure.Valeur, ValeurIndefinie);  // from construction
  EXPECT_EQ(Mesure(1, 1, 1), ValeurIndefinie);  // no frame analysed yet
  Sinus45();
  EXPECT_NE(Mesure(0, 1, 1), ValeurIndefinie);
  mesure.SetGrandeur(2);
  EXPECT_EQ(mesure.Valeur, ValeurIndefinie);  // a new quantity has no value yet
  EXPECT_EQ(Mesure(0, 3, 1), ValeurIndefinie);  // no channel 3
  EXPECT_EQ(Mesure(8, 1, 0), ValeurIndefinie);
  EXPECT_EQ(Mesure(0, 1, 1, 0.0), ValeurIndefinie);  // 1 / 0
  mesure.Grandeur = 9;
  mesure.CalculMesure(voie1, voie2, Te);
  EXPECT_EQ(mesure.Valeur, ValeurIndefinie);
  EXPECT_THROW(mesure.SetGrandeur(9), ERangeError);

  voie1.FinPeriode = voie1.DebutPeriode;  // no period
  EXPECT_EQ(Mesure(0, 1, 1), ValeurIndefinie);
  EXPECT_EQ(Mesure(4, 1, 1), ValeurIndefinie);

  voie2.Valeurs.fill(0);  // a flat channel: no phase, no gain against it
  voie2.AnalyseCourbe(2000);
  EXPECT_EQ(Mesure(2, 2, 2), ValeurIndefinie);
  EXPECT_EQ(Mesure(8, 1, 2), ValeurIndefinie);
}

TEST_F(UneTrame, UnePhaseQuiSortDeLaTrameAnalyseeEstIndefinie) {
  // 800 samples per period in a frame of 1000, starting 156 samples in: the quarter-period
  // shift forwards leaves the analysed samples (the slots after them hold older data, as
  // when more points are shown than were analysed)
  Remplit(voie1, 1000, Sinus(1, 800, -40 * Pi / 180));
  Remplit(voie2, 1000, Sinus(1, 800, -0.3));
  voie1.AnalyseCourbe(1000);
  voie2.AnalyseCourbe(1000);
  ASSERT_LT(voie1.DebutPeriode, (voie1.FinPeriode - voie1.DebutPeriode) / 4);
  EXPECT_EQ(Mesure(2, 2, 1), ValeurIndefinie);
}

TEST(TCourbeMesure, UnitesDesGrandeurs) {
  TCourbeMesure m("G", 3, "");
  EXPECT_EQ(m.Mini, 0);
  EXPECT_EQ(m.VoieMesure, 1);
  EXPECT_EQ(m.VoieReference, 1);
  for (uint8_t g = 0; g < NbGrandeurs; ++g) {
    m.SetGrandeur(g);
    EXPECT_TRUE(m.Correcte) << int(g);
    EXPECT_EQ(m.NomUnite, UnitesGrandeurs[g]);
  }
  m.SetGrandeur(2);
  EXPECT_EQ(m.Genre, GenreDegre);
}

}  // namespace
