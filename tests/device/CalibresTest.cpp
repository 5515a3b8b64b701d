#include <gtest/gtest.h>

#include <cstring>

#include "Calibres.h"

TEST(BasesDeTemps, LesOctetsDeChaqueLigneDonnentSaFrequence) {
  for (size_t i = 0; i < BasesDeTemps.size(); ++i) {
    const auto &b = BasesDeTemps[i];
    SCOPED_TRACE(b.duree);
    EXPECT_DOUBLE_EQ(FrequenceOctets(b.a, b.b, b.c), b.frequence);
    EXPECT_LE(std::strlen(b.duree), 6u);
    EXPECT_LE(std::strlen(b.libelleFrequence), 8u);
    EXPECT_EQ(ColonneCorrection(int(i)), i <= 3 ? 1 : 0);
  }
  EXPECT_EQ(FrequenceOctets(3, 255, 1), 0);
}

TEST(CodeCalibre, LeCouplageVaDansLesDeuxBitsBas) {
  struct Cas { int calibre, couplage; uint8_t attendu; } cas[] = {
      {3, CouplageAC, 41}, {3, CouplageDC, 40}, {3, CouplageGND, 42},
      {8, CouplageAC, 1},  {0, CouplageGND, 38},
      {5, 7, 8},  // an unknown coupling adds nothing
  };
  for (auto [calibre, couplage, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << calibre << "/" << couplage);
    EXPECT_EQ(CodeCalibre(calibre, couplage), attendu);
  }
}

TEST(ModeVoies, UneVoieALaMasseNEstPasAcquise) {
  struct Cas { int c1, c2; uint16_t mode; } cas[] = {
      {CouplageDC, CouplageGND, 1}, {CouplageAC, CouplageGND, 1}, {CouplageGND, CouplageAC, 2},
      {CouplageAC, CouplageAC, 0},  {CouplageGND, CouplageGND, 0}, {CouplageDC, CouplageAC, 0},
  };
  for (auto [c1, c2, mode] : cas) EXPECT_EQ(ModeVoies(c1, c2), mode) << c1 << "/" << c2;
}

TEST(CodeDecalage, LaSommeResteDansZeroDeuxCentCinquanteCinq) {
  struct Cas { int zero, correction; uint8_t attendu; } cas[] = {
      {127, -2, 125}, {127, 3, 130}, {0, -3, 0}, {2, -3, 0}, {254, 5, 255}, {255, 0, 255},
  };
  for (auto [zero, correction, attendu] : cas)
    EXPECT_EQ(CodeDecalage(zero, correction), attendu) << zero << correction;
}
