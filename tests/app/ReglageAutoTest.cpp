#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Calibres.h"
#include "ReglageAuto.h"

namespace {
std::vector<double> Sinus(double crete, double moyenne, int periodes, int n = 8000) {
  std::vector<double> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[size_t(i)] = moyenne + crete * std::sin(2 * M_PI * periodes * i / n);
  return v;
}
}  // namespace

TEST(CalibreAuto, LePlusPetitCalibreQuiContientLeSignal) {
  struct Cas { double min, max; int attendu; } cas[] = {
      {-0.5, 0.5, 4},    // 1 V peak-to-peak: ±800 mV
      {-1, 1, 5},        // 2 V peak-to-peak is not clipped to ±0.8 V
      {2, 3, 6},         // a DC signal: its top decides, not its peak-to-peak
      {-3, -2, 6},
      {-0.01, 0.01, 0},
      {-0.7968, 0.803, 4},  // −127 and +128 codes of 1.6/255 V: just inside
      {-0.8, 0.1, 5},    // just below −127 codes
      {-30, 30, 8},      // nothing holds it: the largest
  };
  for (auto [min, max, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << min << ".." << max);
    EXPECT_EQ(CalibreAuto(min, max), attendu);
  }
}

TEST(SeuilAuto, NiveauArrondiAuPairEtGardeDansCeQueLOscilloPrend) {
  struct Cas { double moy; int calibre; int attendu; } cas[] = {
      {0, 4, 127},
      {0.5 * 1.6 / 256, 4, 127},    // 0.5 rounds to even 0
      {1.5 * 1.6 / 256, 4, 129},    // 1.5 rounds to even 2
      {2.5, 6, 207},
      {1.0, 0, 248},                // far above: the highest level the device keeps
      {-1.0, 0, 8},
  };
  for (auto [moy, calibre, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << moy << " V, calibre " << calibre);
    EXPECT_EQ(SeuilAuto(moy, calibre), attendu);
  }
}

TEST(AnalyseVoieAuto, CompteLesChangementsDeNiveauHorsDuBruit) {
  const auto s = Sinus(0.5, 0, 2);
  VoieAuto v = AnalyseVoieAuto(s, 20.08);
  EXPECT_NEAR(v.Max, 0.5, 1e-3);
  EXPECT_NEAR(v.Min, -0.5, 1e-3);
  EXPECT_EQ(v.Nb, 3);  // two periods from the mid level: down, up, down
  // 0.6 V peak-to-peak on ±20 V: at most 1/32 of the scale counts as flat
  EXPECT_EQ(AnalyseVoieAuto(Sinus(0.3, 0, 5), 20.08).Nb, 0);
  // codes 128..132 on ±20 V, turned into volts as the oscilloscope model does: 4 codes
  // are exactly 1/32 of the scale's top, flat however the volts round
  const double echelle = 40.0 / 255, decalage = -127 * echelle;
  std::vector<double> codes;
  for (int i = 0; i < 1000; ++i) codes.push_back((128 + i * 7 % 5) * echelle + decalage);
  EXPECT_EQ(AnalyseVoieAuto(codes, 255 * echelle + decalage).Nb, 0);
  // noise around the mid level makes no change: the band is a quarter of pp each side
  std::vector<double> bruit = Sinus(1, 0, 1);
  for (size_t i = 0; i < bruit.size(); ++i) bruit[i] += (i % 2 ? 0.2 : -0.2);
  EXPECT_EQ(AnalyseVoieAuto(bruit, 20.08).Nb, 1);
}

TEST(VoieSynchroAuto, UneVoieSansChangementNEstJamaisChoisie) {
  const VoieAuto plate{0.15, -0.15, 0, 0}, sinus{0.5, -0.5, 0, 4}, grande{1, -1, 0, 4};
  struct Cas {
    VoieAuto v1, v2;
    bool a1, a2;
    int attendu;
  } cas[] = {
      {plate, plate, false, false, 0},   // two flat channels: free-running
      {plate, plate, true, true, 0},
      {sinus, plate, true, false, 1},
      {plate, sinus, false, true, 2},
      {sinus, grande, true, true, 2},    // equal counts: the larger amplitude
      {grande, sinus, true, true, 1},
      {VoieAuto{0.5, -0.5, 0, 6}, grande, true, true, 1},  // more changes win
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(testing::Message() << "attendu " << c.attendu);
    EXPECT_EQ(VoieSynchroAuto({VoieAuto{}, c.v1, c.v2}, {false, c.a1, c.a2}), c.attendu);
  }
}

TEST(DureePourFrequence, DixPeriodesDansLaTrameAuPlusVite) {
  struct Cas { double f; double fe; } cas[] = {
      {100, 80e3},      // 8192 samples: 102 ms, 10.2 periods
      {1000, 800e3},    // 10.2 ms
      {10000, 6e6},     // 12 MHz would hold 6.8 periods
      {480e3, 48e6},    // the fastest of all: 100 samples a period
      {1.6, 1600},      // the slowest holds 8.2: still the slowest
      {0.01, 1600},     // nothing holds two
  };
  for (auto [f, fe] : cas) {
    SCOPED_TRACE(f);
    const int d = DureePourFrequence(f);
    EXPECT_EQ(BasesDeTemps[size_t(d)].frequence, fe);
    if (f >= 0.4) {
      EXPECT_GE(8192 / fe * f, 2.0);
    }
    EXPECT_GE(fe / f, 40.0);
  }
  EXPECT_EQ(DureePourFrequence(0), int(BasesDeTemps.size()) - 1);
}

TEST(CalibrePourSignal, LePlusPetitQuiTientEtUnDePlusSiLaTrameCoupe) {
  struct Cas { double min, max; int actuel; bool coupe; int attendu; } cas[] = {
      {-0.5, 0.5, 8, false, 4},  // ±1 V peak on ±800 mV: 128 codes of 6.3 mV hold 0.8 V
      {-0.5, 0.5, 4, false, 4},
      {-0.8, 0.8, 4, true, 5},   // clipped on ±800 mV: at least the next one
      {-0.01, 0.01, 8, false, 0},
      {-30, 30, 8, true, 8},     // nothing above ±20 V
  };
  for (auto c : cas) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " on " << c.actuel);
    EXPECT_EQ(CalibrePourSignal(c.min, c.max, c.actuel, c.coupe), c.attendu);
  }
}
