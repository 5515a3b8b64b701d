#include "MiseEnPage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ZelmUtil.h"

TEST(HauteurPolice, NormaliseeA13_16_20OuPaire) {
  struct Cas {
    int hauteur, diviseur, attendu;
    std::string police;
  } cas[] = {
      {400, 40, 13, "Tabulo"},       {1000, 40, 24, "Arial Tabulo"},  // 10 and 25
      {559, 40, 13, "Tabulo"},       {560, 40, 16, "Tabulo"},         // 13 | 14
      {759, 40, 16, "Tabulo"},       {760, 40, 20, "Tabulo"},         // 18 | 19
      {999, 40, 20, "Tabulo"},       {1080, 40, 26, "Arial Tabulo"},  // 24 | 27
      {0, 40, 13, "Tabulo"},         {600, 30, 20, "Tabulo"},         // diagram: 20
      {900, 30, 30, "Arial Tabulo"},
  };
  for (const auto &[hauteur, diviseur, attendu, police] : cas) {
    SCOPED_TRACE(testing::Message() << hauteur << "/" << diviseur);
    const int h = HauteurPolice(hauteur, diviseur);
    EXPECT_EQ(h, attendu);
    EXPECT_EQ(NomPoliceGraphe(h), police);
  }
  const Metriques m = MetriquesPolice(20);
  EXPECT_EQ(m.Caractere, 13);
  EXPECT_EQ(m.Graduation, 6);
}

TEST(MiseEnPageOsc, DrapeauxEtZoneSelonLaPlace) {
  const Metriques m = MetriquesPolice(13);  // c 8, t 4
  struct Cas {
    int w, h, bandes;
    bool superposition, axeY, actif1, actif2;
    Drapeaux drapeaux;
    Rectangle zone;
  } cas[] = {
      // 600 > 40c: dense x; 400/5 = 80 > 16 and > 32: dense y; both axes take 6c (+t)
      {600, 400, 1, false, true, true, true, {true, true, true, true, true}, {52, 4, 548, 381}},
      // channel 2 alone: only the right edge moves
      {600, 400, 1, false, true, false, true, {true, true, true, true, true}, {4, 4, 548, 381}},
      // no y axes wanted: labels do not fit, but dense y still says there is room
      {600, 400, 1, false, false, true, true, {true, false, false, true, true}, {4, 4, 600, 381}},
      // 160 = 20c is not wider: no x labels; 161 has them, not dense
      {160, 400, 1, false, true, false, false, {false, true, true, false, true}, {4, 4, 160, 400}},
      {161, 400, 1, false, true, false, false, {true, true, true, false, true}, {4, 4, 161, 381}},
      // 100 px high: 20 > 16 fits; 80 px: 16 does not
      {600, 100, 1, false, true, true, false, {true, true, true, true, false}, {52, 4, 600, 81}},
      {600, 80, 1, false, true, true, false, {true, false, true, true, false}, {4, 4, 600, 61}},
      // superposition of 2 bands: needs 32 per fifth; labels on the left only, even
      // with the y-axes setting off
      {600, 200, 2, true, false, true, true, {true, true, false, true, false}, {52, 4, 600, 181}},
      {600, 150, 2, true, true, true, true, {true, false, true, true, false}, {4, 4, 600, 131}},
  };
  for (const auto &k : cas) {
    SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << " n" << k.bandes);
    const MiseEnPage p =
        MiseEnPageOsc({0, 0, k.w, k.h}, m, k.bandes, k.superposition, k.axeY, k.actif1, k.actif2);
    EXPECT_EQ(p.Etiquettes, k.drapeaux);
    EXPECT_EQ(p.Zone, k.zone);
  }
}

TEST(MiseEnPageMesure, DrapeauxEtZoneSelonLaPlace) {
  const Metriques m = MetriquesPolice(20);  // c 13, t 6
  struct Cas {
    int w, h;
    bool axeY;
    Drapeaux drapeaux;
    Rectangle zone;
  } cas[] = {
      {500, 600, true, {true, true, true, false, true}, {84, 0, 500, 574}},
      {500, 600, false, {true, false, false, false, true}, {6, 0, 500, 574}},
      {1200, 600, true, {true, true, true, true, true}, {84, 0, 1200, 574}},
      {260, 125, true, {false, false, true, false, false}, {6, 0, 260, 119}},  // 25 = 25
  };
  for (const auto &k : cas) {
    SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << " " << k.axeY);
    const MiseEnPage p = MiseEnPageMesure({0, 0, k.w, k.h}, m, k.axeY);
    EXPECT_EQ(p.Etiquettes, k.drapeaux);
    EXPECT_EQ(p.Zone, k.zone);
  }
}

TEST(BandeSuperposition, ChaqueVoieResteDansSaBande) {
  const Rectangle zone{52, 4, 600, 404};  // 400 high
  const Bande b0 = BandeSuperposition(zone, 2, 0, 4), b1 = BandeSuperposition(zone, 2, 1, 4);
  EXPECT_EQ(b0.PixelMax, 8);
  EXPECT_EQ(b0.PixelMin, 204);
  EXPECT_EQ(b1.PixelMax, 208);
  EXPECT_EQ(b1.PixelMin, 404);  // the second band ends on the area bottom, not below
  EXPECT_EQ(b0.PixelMin - b0.PixelMax, 200 - 4);
  const Bande seule = BandeSuperposition(zone, 0, 0, 4);  // a count of 0 is one band
  EXPECT_EQ(seule.PixelMin, 404);
}

TEST(LimitesUtilisables, UneEchelleVideOuRenverseeGardeUnPas) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Cas {
    double mini, maxi, attenduMini, attenduMaxi;
  } cas[] = {
      {0, 10, 0, 10},    {0, 0, 0, 1},   {100, 10, 100, 101},
      {-2, nan, -2, -1}, {nan, 5, 0, 5}, {-inf, inf, 0, 1},
  };
  for (auto [mini, maxi, am, aM] : cas) {
    SCOPED_TRACE(testing::Message() << mini << ".." << maxi);
    const Limites l = LimitesUtilisables(mini, maxi);
    EXPECT_EQ(l.Mini, am);
    EXPECT_EQ(l.Maxi, aM);
  }
  const Projection p = ProjectionAxe(400, 0, 0, 0);  // 0..0 maps as 0..1
  EXPECT_EQ(p.Echelle, -400);
  EXPECT_EQ(p.Decalage, 400);
}

TEST(PixelDessin, IndefiniHorsDuGrapheEtEnormeBorne) {
  EXPECT_EQ(PixelDessin(2, 10, ValeurIndefinie), -1);
  EXPECT_EQ(PixelDessin(1, 0, 2.5), 2);  // halves to even
  EXPECT_EQ(PixelDessin(1, 0, 3.5), 4);
  EXPECT_EQ(PixelDessin(-400, 400, 1e30), -LimitePixel);  // would not fit 32 bits
  EXPECT_EQ(PixelDessin(-400, 400, -1e30), LimitePixel);
  EXPECT_EQ(PixelDessin(1, 0, std::nan("")), -1);
}

TEST(LigneSeuil, LeNiveauTombeSurSaLigne) {
  EXPECT_EQ(LigneSeuil(0, 400, 10), 400);
  EXPECT_EQ(LigneSeuil(255, 400, 10), 10);
  EXPECT_EQ(LigneSeuil(128, 400, 145), 272);     // 128 x 255 / 255 = 128
  EXPECT_EQ(LigneSeuil(100, 204, 8), 204 - 77);  // 76.86 rounds to 77, within its band
}

TEST(LibelleNul, UnCentiemeSurLAbscisseUnMilliemeSurLOrdonnee) {
  EXPECT_TRUE(LibelleNul(1e-17, 0, 1, 1.0 / 1000));
  EXPECT_TRUE(LibelleNul(0.001, 0, 1, 1.0 / 1000));
  EXPECT_FALSE(LibelleNul(0.002, 0, 1, 1.0 / 1000));
  EXPECT_TRUE(LibelleNul(0.01, 0, 1, 1.0 / 100));
  EXPECT_TRUE(LibelleNul(-0.009, 0, 1, 1.0 / 100));
  EXPECT_FALSE(LibelleNul(0.011, 0, 1, 1.0 / 100));
}

TEST(Graduations, JamaisDeBoucleSansFin) {
  EXPECT_EQ(Graduations(0, 2, 10), (std::vector<double>{0, 2, 4, 6, 8}));
  EXPECT_TRUE(Graduations(0, 0, 10).empty());  // a step of 0 (a curve never laid out)
  EXPECT_TRUE(Graduations(0, -1, 10).empty());
  EXPECT_TRUE(Graduations(0, std::nan(""), 10).empty());
  // a step below the precision of the values: bounded, not stalled
  EXPECT_EQ(Graduations(1e10, 1e-9, 1e10 + 1).size(), std::size_t(NbMaxGraduations));
}

TEST(PositionsEtiquettes, SeulesLesEtiquettesDessineesSontTouchees) {
  PositionsEtiquettes p;
  EXPECT_EQ(p.Emplacements().size(), 32u);
  p.Ajoute(100);
  p.Ajoute(200);
  EXPECT_TRUE(p.Touche(103, 381, 380));
  EXPECT_TRUE(p.Touche(197, 381, 380));
  EXPECT_FALSE(p.Touche(104, 381, 380));  // 4 away
  EXPECT_FALSE(p.Touche(100, 380, 380));  // not below the area
  EXPECT_FALSE(p.Touche(2, 390, 380));    // the cleared slots hold 0: no label there
  for (int i = 0; i < 40; ++i) p.Ajoute(i * 10);
  EXPECT_EQ(p.Emplacements().size(), 48u);  // 32, then grown by 16
  p.Vide();
  p.Ajoute(50);
  EXPECT_EQ(p.Emplacements()[1], 0);
  EXPECT_FALSE(p.Touche(200, 390, 380));
}
