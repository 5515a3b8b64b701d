#include "Mesures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "Trames.h"

namespace {

using namespace trames;

int Periode(const MesuresVoie &m) { return m.FinPeriode - m.DebutPeriode; }
double RapportCyclique(const MesuresVoie &m) {
  return double(m.FinHaut - m.DebutHaut) / Periode(m);
}

void IndicesDansLaTrame(const MesuresVoie &m, int count) {
  for (int i : {m.DebutPeriode, m.FinPeriode, m.DebutHaut, m.FinHaut, m.DebutMontee,
                m.FinMontee, m.DebutDescente, m.FinDescente})
    EXPECT_LT(i, count);
  EXPECT_LT(m.DebutPeriode, m.FinPeriode);
}

TEST(AnalyseTrame, SinusDeDixPeriodes) {
  const auto v = Echantillonne(1000, Sinus(2.0, 100, 0.4));
  const MesuresVoie m = AnalyseTrame(v);
  EXPECT_NEAR(Periode(m), 100, 1);
  EXPECT_NEAR(m.Efficace, 2.0 / std::sqrt(2.0), 0.01);
  EXPECT_NEAR(m.Moyenne, 0, 0.01);
  EXPECT_NEAR(m.CreteACrete, 4.0, 0.01);
  EXPECT_NEAR(RapportCyclique(m), 0.5, 0.02);
  EXPECT_EQ(m.NbAnalyses, 1000);
}

TEST(AnalyseTrame, UnSignalConstantEstUnePeriodeDeToutLaTrame) {
  for (int count : {16, 1000, 8192}) {
    const MesuresVoie m = AnalyseTrame(std::vector<double>(count, 1.25));
    EXPECT_EQ(m.DebutPeriode, 0);
    EXPECT_EQ(m.FinPeriode, count - 1);
    EXPECT_DOUBLE_EQ(m.Moyenne, 1.25);
    EXPECT_DOUBLE_EQ(m.Efficace, 1.25);
    IndicesDansLaTrame(m, count);
  }
}

// Frames on which each rule as first written went wrong; the comment says how.
TEST(AnalyseTrame, PeriodeEtNiveauxSurDesTramesOrdinaires) {
  const double code = 10.0 / 255;  // +-5 V calibre
  struct Cas {
    const char *nom;
    std::vector<double> v;
    double periode, moyenne, efficace;
  } cas[] = {
      // first sample exactly on the mid level, rising: half a period was found
      {"sinus partant du niveau moyen", Echantillonne(1000, Sinus(1.0, 100)), 100, 0,
       1 / std::sqrt(2.0)},
      // noise crosses the mid level for longer than the dead zones: ~32 samples were found
      // (its mid level half-way between two codes, where the noise flips the samples)
      {"petit sinus lent bruité",
       Echantillonne(8192, Sinus(20 * code, 4096, 1.0, code / 2), code, 0.5), 4096, code / 2,
       std::sqrt(200 + 0.25) * code},
      // summed over one sample more than a period: 12 % off on the mean
      // (13 of every 41 samples high)
      {"carré décalé de 41 échantillons", Echantillonne(1000, Trapeze(0, 2, 41, 0.3, 3)), 41,
       2 * 13.0 / 41, std::sqrt(4 * 13.0 / 41)},
  };
  for (const Cas &c : cas) {
    SCOPED_TRACE(c.nom);
    const MesuresVoie m = AnalyseTrame(c.v);
    EXPECT_NEAR(Periode(m), c.periode, std::max(1.0, 0.01 * c.periode));
    EXPECT_NEAR(m.Moyenne, c.moyenne, 0.01 * m.CreteACrete);
    EXPECT_NEAR(m.Efficace, c.efficace, 0.01 * m.CreteACrete);
    IndicesDansLaTrame(m, int(c.v.size()));
  }
}

TEST(AnalyseTrame, RapportCycliqueEtFrontsSurUnePhaseEntiere) {
  const double code = 10.0 / 255;
  // 30 % high, edges of 10 samples, 200 samples per period; the frame starts at `debut`
  // samples after a rise. Rise and fall from 5 % to 95 %: 9 samples.
  for (double decalage : {-20.0, -3.0, 0.0, 5.0, 30.0, 62.0, 64.0, 100.0, 150.0}) {
    SCOPED_TRACE(testing::Message() << "frame starting " << decalage << " after a rise");
    const auto v = Echantillonne(2000, Trapeze(-2, 3, 200, 0.3, -decalage, 10), code, 0.5,
                                 unsigned(decalage + 50));
    const MesuresVoie m = AnalyseTrame(v);
    EXPECT_NEAR(Periode(m), 200, 1);
    EXPECT_NEAR(RapportCyclique(m), 0.30, 0.01);
    EXPECT_NEAR(m.FinMontee - m.DebutMontee, 9, 1);
    EXPECT_NEAR(m.FinDescente - m.DebutDescente, 9, 1);
    IndicesDansLaTrame(m, 2000);
  }
}

TEST(AnalyseTrame, LeBruitSurUnFrontLentNeFaitPasCommencerLeFrontSuivant) {
  // Slow edges (2.5 samples per code) crossed back and forth by the noise at 5 % and 95 %;
  // the frame starts inside the high phase, so the searches first meet a fall.
  const double code = 10.0 / 255;
  for (unsigned graine = 1; graine <= 30; ++graine) {
    SCOPED_TRACE(testing::Message() << "seed " << graine);
    const auto v =
        Echantillonne(4000, Trapeze(-2, 2, 1000, 0.4, -150, 250), code, 0.5, graine);
    const MesuresVoie m = AnalyseTrame(v);
    EXPECT_NEAR(m.FinMontee - m.DebutMontee, 225, 6);
    EXPECT_NEAR(m.FinDescente - m.DebutDescente, 225, 6);
  }
}

TEST(AnalyseTrame, LesRecherchesRestentDansLaTrame) {
  struct Cas { const char *nom; std::vector<double> v; } cas[] = {
      {"16 échantillons", Echantillonne(16, Sinus(1, 7))},
      {"une rampe", Echantillonne(300, [](int i) { return 0.01 * i; })},
      {"une marche à la fin", Echantillonne(8192, [](int i) { return i > 8180 ? 1.0 : 0.0; })},
      {"un pic au début", Echantillonne(8192, [](int i) { return i == 0 ? 1.0 : 0.0; })},
      {"un carré sans retour", Echantillonne(8192, [](int i) { return i < 4000 ? 1.0 : 0.0; })},
  };
  for (const Cas &c : cas) {
    SCOPED_TRACE(c.nom);
    const MesuresVoie m = AnalyseTrame(c.v);
    IndicesDansLaTrame(m, int(c.v.size()));
    EXPECT_TRUE(std::isfinite(m.Efficace) && std::isfinite(m.Moyenne));
  }
}

// Many ordinary frames: 8-bit trapezoids with half a code of noise, any period from 40
// samples to half the frame, any start, 30 % high. Every frame must measure right.
TEST(AnalyseTrame, JusteSurChaqueTrameOrdinaire) {
  std::mt19937 alea(2024);
  auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
  const double code = 10.0 / 255;
  for (int essai = 0; essai < 200; ++essai) {
    const int count = int(u(1000, 8192));
    const double periode = u(40, count / 2.0);
    const double front = std::round(u(0.02, 0.1) * periode) + 1;  // samples
    const double debut = u(0, periode);
    SCOPED_TRACE(testing::Message() << "count " << count << ", period " << periode
                                    << ", edges " << front << ", start " << debut);
    const auto v = Echantillonne(count, Trapeze(-1.5, 2.5, periode, 0.3, debut, front), code,
                                 0.5, essai);
    const MesuresVoie m = AnalyseTrame(v);
    // a sample, or the time a slow edge takes across one code of noise
    const double tolerance = 1.5 + front / 50;
    EXPECT_NEAR(Periode(m), periode, tolerance);
    EXPECT_NEAR(m.FinHaut - m.DebutHaut, 0.3 * periode, tolerance);
    EXPECT_NEAR(m.FinMontee - m.DebutMontee, 0.9 * front, tolerance);
    EXPECT_NEAR(m.FinDescente - m.DebutDescente, 0.9 * front, tolerance);
    IndicesDansLaTrame(m, count);
  }
}

// The phase of y against x for y = B sin(wt + phi) + offsets, x the reference.
TEST(Dephasage, DonneMoinsPhiAMoinsDUnDegre) {
  const double code = 10.0 / 255;
  for (double phi : {45.0, -45.0, 90.0, -90.0, 170.0, -170.0}) {
    for (double periode : {100.0, 50.0, 83.3}) {
      for (double decalage : {0.0, 1.2}) {
        // the reference's first sample at -0.3 rad: its period starts after a quarter period;
        // at 135 degrees: before (the shift then goes forwards)
        for (double depart : {0.3, -135 * Pi / 180}) {
          SCOPED_TRACE(testing::Message() << phi << "°, period " << periode << ", offset "
                                          << decalage << ", start " << depart);
          const double r = phi * Pi / 180;
          const auto x = Echantillonne(1000, Sinus(3, periode, -depart, decalage), code, 0.5);
          const auto y = Echantillonne(1000, Sinus(1.5, periode, r - depart, -decalage / 2),
                                       code, 0.5, 2);
          const MesuresVoie m = AnalyseTrame(x);
          const int q = Periode(m) / 4;
          EXPECT_EQ(m.DebutPeriode < q, depart < 0) << m.DebutPeriode;
          const auto d = Dephasage(x, y, m.DebutPeriode, m.FinPeriode, m.PeriodeFine);
          ASSERT_TRUE(d.has_value());
          double ecart = std::remainder(*d + phi, 360.0);
          EXPECT_LT(std::abs(ecart), 1.0) << *d;
        }
      }
    }
  }
}

// Many ordinary pairs of 8-bit sines with half a code of noise: any period from 40
// samples to half the frame, any phase, offsets. Phase and gain must hold on every frame.
TEST(Dephasage, JusteSurChaqueTrameOrdinaire) {
  std::mt19937 alea(7);
  auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(alea); };
  const double code = 10.0 / 255;
  for (int essai = 0; essai < 200; ++essai) {
    const int count = int(u(1000, 8192));
    const double periode = u(40, count / 2.0), phi = u(-179, 179), depart = u(-Pi, Pi);
    const double a1 = u(2, 4.5), a2 = u(1, 4.5), d1 = u(-0.5, 0.5), d2 = u(-0.5, 0.5);
    SCOPED_TRACE(testing::Message() << "count " << count << ", period " << periode << ", "
                                    << phi << "°, amplitudes " << a1 << " " << a2);
    const auto x = Echantillonne(count, Sinus(a1, periode, depart, d1), code, 0.5, 2 * essai);
    const auto y = Echantillonne(count, Sinus(a2, periode, depart + phi * Pi / 180, d2), code,
                                 0.5, 2 * essai + 1);
    const MesuresVoie mx = AnalyseTrame(x), my = AnalyseTrame(y);
    EXPECT_NEAR(mx.PeriodeFine, periode, 0.05 + periode / 200);
    const auto d = Dephasage(x, y, mx.DebutPeriode, mx.FinPeriode, mx.PeriodeFine);
    ASSERT_TRUE(d.has_value());
    EXPECT_LT(std::abs(std::remainder(*d + phi, 360.0)), 0.75) << *d;
    const double gainAC = std::sqrt(my.Efficace * my.Efficace - my.Moyenne * my.Moyenne) /
                          std::sqrt(mx.Efficace * mx.Efficace - mx.Moyenne * mx.Moyenne);
    EXPECT_NEAR(gainAC, a2 / a1, 0.01 * a2 / a1);
  }
}

// A crossing's noise is a fixed part of a period whatever the sampling: one period of a
// noisy 8-bit sine is off by a few tenths of a percent, the frame's whole periods together
// by that over their number.
TEST(AnalyseTrame, LaPeriodeFineMoyenneToutesLesPeriodesDeLaTrame) {
  const double code = 10.0 / 255;
  struct Cas {
    double periode, tolerance;
  } cas[] = {{3000, 0.01}, {1000, 0.0015}, {200, 0.0004}, {40.7, 0.0003}};
  for (const Cas &c : cas) {
    for (unsigned graine = 1; graine <= 20; ++graine) {
      SCOPED_TRACE(testing::Message() << "period " << c.periode << ", seed " << graine);
      // a quarter of the codes, as a small signal on its calibre
      const auto v = Echantillonne(8192, Sinus(1.0, c.periode, graine), code, 1.0, graine);
      const MesuresVoie m = AnalyseTrame(v);
      EXPECT_NEAR(m.PeriodeFine / c.periode, 1, c.tolerance);
    }
  }
}

// Exact sines whose period is not a whole number of samples: summed over exactly one
// period (the last sample weighted by the fraction left), the phase is right to a few
// hundredths of a degree; over the whole samples only, the other component leaks in.
TEST(Dephasage, SurLaPeriodeFineExactement) {
  for (double periode : {83.3, 40.5, 157.77}) {
    for (double phi : {30.0, -60.0, 120.0}) {
      SCOPED_TRACE(testing::Message() << "period " << periode << ", " << phi << "°");
      const auto x = Echantillonne(2000, Sinus(2, periode, 0.3));
      const auto y = Echantillonne(2000, Sinus(1, periode, 0.3 + phi * Pi / 180, 0.4));
      const MesuresVoie m = AnalyseTrame(x);
      const auto d = Dephasage(x, y, m.DebutPeriode, m.FinPeriode, periode);
      ASSERT_TRUE(d.has_value());
      EXPECT_LT(std::abs(std::remainder(*d + phi, 360.0)), 0.05) << *d;
    }
  }
}

TEST(Dephasage, EchoueSansValeurPlausible) {
  const auto x = Echantillonne(100, Sinus(1, 85));
  const auto plat = std::vector<double>(100, 0.5);
  EXPECT_FALSE(Dephasage(x, plat, 10, 95));  // a flat channel
  EXPECT_FALSE(Dephasage(plat, x, 10, 95));
  EXPECT_FALSE(Dephasage(x, x, 5, 90));      // shifted forwards past the frame: 90 + 21
  EXPECT_FALSE(Dephasage(x, x, 20, 23));     // no quarter period
  EXPECT_FALSE(Dephasage(x, x, 10, 120));    // the period leaves the frame
  EXPECT_TRUE(Dephasage(x, x, 30, 99));      // shifted backwards: fits
}

}  // namespace
