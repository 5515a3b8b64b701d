#include <gtest/gtest.h>

#include <optional>

#include "Courbe.h"
#include "Glissements.h"

namespace {

// A vertical axis Mini..Maxi over rows 300 (bottom) .. 20 (top), as the graph lays it out.
TCourbe Axe(double mini, double maxi) {
  TCourbe c("V1", 1, "V");
  c.Mini = mini;
  c.Maxi = maxi;
  c.PixelMin = 300;
  c.PixelMax = 20;
  c.Echelle = (c.PixelMax - c.PixelMin) / (maxi - mini);
  c.Decalage = c.PixelMin - mini * c.Echelle;
  return c;
}

}  // namespace

TEST(PriseTemps, UneLigneAMoinsDeQuatrePixelsLeReperePresDeSonBord) {
  CiblesTemps zeros;  // zero lines at rows 100 and 150, marker of channel 1 at 120
  zeros.masse1 = 100;
  zeros.masse2 = 150;
  zeros.voieSeuil = 1;
  zeros.ligneSeuil = 120;
  zeros.droite = 700;
  CiblesTemps memeLigne = zeros;  // both zero lines on one row, the marker on it too
  memeLigne.masse2 = 100;
  memeLigne.ligneSeuil = 100;
  CiblesTemps voie2 = zeros;
  voie2.voieSeuil = 2;
  CiblesTemps masse = zeros;  // channel 1 grounded, no marker (free-running)
  masse.masse1.reset();
  masse.voieSeuil = 0;
  struct Cas { const char *nom; const CiblesTemps &c; int x, y; GenreGlissement attendu; } cas[] = {
      {"3 below", zeros, 300, 103, GlisseMasse1},   {"4 below", zeros, 300, 104, GlisseAucun},
      {"3 above", zeros, 300, 97, GlisseMasse1},    {"4 above", zeros, 300, 96, GlisseAucun},
      {"channel 2", zeros, 300, 147, GlisseMasse2}, {"past 2", zeros, 300, 154, GlisseAucun},
      {"1 over 2", memeLigne, 300, 101, GlisseMasse1},
      {"marker over both", memeLigne, 5, 101, GlisseSeuil},
      {"marker, 15 from the left", zeros, 15, 122, GlisseSeuil},
      {"marker, 16 from the left", zeros, 16, 122, GlisseAucun},
      {"marker 1 at the right", zeros, 695, 120, GlisseAucun},
      {"marker 2, 15 from the right", voie2, 685, 118, GlisseSeuil},
      {"marker 2, 16 from the right", voie2, 684, 118, GlisseAucun},
      {"marker 2 at the left", voie2, 5, 120, GlisseAucun},
      {"no marker", masse, 5, 120, GlisseAucun},
      {"grounded channel", masse, 300, 100, GlisseAucun},
      {"the other still", masse, 300, 150, GlisseMasse2},
  };
  for (const Cas &k : cas) {
    SCOPED_TRACE(k.nom);
    EXPECT_EQ(PriseTemps(k.c, k.x, k.y), k.attendu);
  }
}

TEST(NiveauSeuilPixel, LeNiveauDeLaLigneDansCeQueLOscilloPrend) {
  const TCourbe axe = Axe(-2, 2);
  struct Cas { int y; int attendu; } cas[] = {
      {160, 128},  // (300 − 160) × 255 / 280 = 127.5, to even
      {290, 9},    {100, 182},
      {300, 8},    {20, 248},   // the axis ends: 0 and 255 are levels the device resets
      {299, 8},    {21, 248},
      {900, 8},    {-50, 248},  // released below or above the graph
  };
  for (auto [y, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << "row " << y);
    EXPECT_EQ(NiveauSeuilPixel(axe, y), attendu);
  }
}

TEST(CodeZeroPixel, LeCodeQueLaLigneMontreLimiteAUnOctet) {
  const TCourbe axe = Axe(-2, 2);  // 280 rows for 255 codes
  struct Cas { int y; int attendu; } cas[] = {
      {300, 0},   {20, 255},   // the display minimum and maximum
      {160, 128}, // 0 V: 127.5, to even
      {299, 1},   {298, 2},    {21, 254},
      {301, 0},   {5000, 0},   {19, 255},  {-5000, 255},  // beyond the limits
  };
  for (auto [y, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << "row " << y);
    EXPECT_EQ(CodeZeroPixel(axe, y), std::optional<int>(attendu));
  }
  TCourbe plat = axe;  // no scale: no code
  plat.Maxi = plat.Mini;
  EXPECT_EQ(CodeZeroPixel(plat, 160), std::nullopt);
}

TEST(RapportEchelle, UnPasApresQuatrePixelsADroiteDuBordGauche) {
  const GlissementEchelle g{100, 100, 50, 1000};
  const GlissementEchelle apresUnPas{100, 150, 50, 1000};
  const GlissementEchelle etroit{30, 30, 4, 1000};  // a graph with no ordinate labels
  struct Cas { const char *nom; const GlissementEchelle &g; int x; std::optional<double> r; } cas[] = {
      {"3 right", g, 103, std::nullopt},  {"4 right", g, 104, 50.0 / 54},
      {"3 left", g, 97, std::nullopt},    {"4 left", g, 96, 50.0 / 46},
      {"far right", g, 150, 0.5},         {"1 right of the edge", g, 51, 50.0},
      {"the left edge", g, 50, std::nullopt}, {"left of it", g, 40, std::nullopt},
      {"from the last step", apresUnPas, 147, std::nullopt},
      {"4 from the last step", apresUnPas, 146, 50.0 / 96},
      {"x 15", etroit, 15, std::nullopt}, {"x 16", etroit, 16, 26.0 / 12},
  };
  for (const Cas &k : cas) {
    SCOPED_TRACE(k.nom);
    const std::optional<double> r = RapportEchelle(k.g, k.x);
    ASSERT_EQ(r.has_value(), k.r.has_value());
    if (r) {
      EXPECT_DOUBLE_EQ(*r, *k.r);
    }
  }
}

TEST(NbHarmoniquesEchelle, DeSeizeAQuatreMilleQuatreVingtSeizeLignes) {
  struct Cas { double maxi, r, pas; int attendu; } cas[] = {
      {1024, 0.5, 2, 256},    {1024, 2, 2, 1024},  {100, 1, 1, 100},
      {201, 0.5, 1, 100},     // 100.5 to even
      {1024, 1.0 / 32, 2, 16}, {1024, 0.01, 2, 16}, {1024, 1e-9, 2, 16},
      {1024, 8, 2, 4096},     {1024, 9, 2, 4096},  {1024, 1e12, 2, 4096},
  };
  for (auto [maxi, r, pas, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << maxi << " Hz x " << r << ", " << pas << " Hz/line");
    EXPECT_EQ(NbHarmoniquesEchelle(maxi, r, pas), attendu);
  }
}

TEST(FrequenceMaxEchelle, DeDixACentMilleHertzEtAuDessusDuMinimum) {
  struct Cas { double maxi, mini, r; std::optional<double> attendu; } cas[] = {
      {10000, 0, 0.5, 5000},      {10000, 0, 2, 20000},
      {10000, 1000, 0.5, 5500},   // the stretch is about the minimum
      {10000, 0, 1e-4, 10},       {10000, 0, 1e-6, 10},
      {10000, 0, 10, 100000},     {10000, 0, 11, 100000},
      {10000, 20, 1e-6, 20 + 9980e-6},
      {200000, 150000, 0.5, std::nullopt},  // limited to 100000, not above the minimum
  };
  for (auto [maxi, mini, r, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << mini << ".." << maxi << " x " << r);
    const std::optional<double> f = FrequenceMaxEchelle(maxi, mini, r);
    ASSERT_EQ(f.has_value(), attendu.has_value());
    if (f) {
      EXPECT_DOUBLE_EQ(*f, *attendu);
    }
  }
}
