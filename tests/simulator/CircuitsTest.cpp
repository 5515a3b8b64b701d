#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Circuits.h"
#include "Sources.h"

namespace {

// Peak output and the time it occurs over one period, once settled.
struct Crete {
  double amplitude, retard;
};
Crete MesureCrete(SuiviCircuit &suivi, double f, double debut) {
  Crete c{-1e9, 0};
  const double periode = 1 / f;
  for (int i = 0; i < 10000; ++i) {
    const double t = debut + i * periode / 10000;
    const double y = suivi.Sortie(t);
    if (y > c.amplitude) c = {y, t - debut};
  }
  return c;
}

}  // namespace

TEST(PasseBasRC, UnSinusALaCoupureSortAUneRacineDeDeuxEtQuarante5Degres) {
  struct Cas { double f, gain, dephasage; } cas[] = {
      {1000, 1 / std::sqrt(2.0), -45},
      {100, 1 / std::sqrt(1.01), -std::atan(0.1) * 180 / std::numbers::pi},
      {10000, 1 / std::sqrt(101.0), -std::atan(10.0) * 180 / std::numbers::pi},
  };
  for (auto [f, gain, dephasage] : cas) {
    SCOPED_TRACE(f);
    auto sinus = std::make_shared<Sinus>(1.0, f);
    SuiviCircuit suivi(std::make_shared<PasseBasRC>(1000), sinus);
    const double debut = 10.0 / f + 0.01;  // whole periods plus settling
    const double t0 = std::ceil(debut * f) / f;
    const Crete c = MesureCrete(suivi, f, t0);
    EXPECT_NEAR(c.amplitude, gain, 2e-3);
    // the input peaks a quarter period after a period start; the output lags it
    const double phase = (0.25 / f - c.retard) * f * 360;
    EXPECT_NEAR(phase, dephasage, 0.5);
  }
}

TEST(PasseBasRC, UnEchelonMonteDe63PourcentEnUneConstanteDeTemps) {
  PasseBasRC rc(1000);
  const double tau = 1 / (2 * std::numbers::pi * 1000);
  double y = 0;
  for (int i = 0; i < 100; ++i) y = rc.Pas(1, 1, tau / 100);
  EXPECT_NEAR(y, 1 - std::exp(-1.0), 1e-9);
  // a large step is exact too: no stability limit
  EXPECT_NEAR(rc.Pas(1, 1, 50 * tau), 1, 1e-12);
}

TEST(SuiviCircuit, UnSautDansLeTempsOuEnArriereRepartEtabli) {
  auto sinus = std::make_shared<Sinus>(1.0, 1000);
  SuiviCircuit suivi(std::make_shared<PasseBasRC>(1000), sinus);
  SuiviCircuit reference(std::make_shared<PasseBasRC>(1000), sinus);
  for (double t = 0; t < 0.02; t += 1e-5) reference.Sortie(t);
  suivi.Sortie(0.001);
  // a jump of an hour, then back: settled on the signal each time
  EXPECT_NEAR(suivi.Sortie(3600.0 + 0.02), reference.Sortie(0.02), 1e-3);
  EXPECT_NEAR(suivi.Sortie(0.0205), reference.Sortie(0.0205), 1e-3);
}

TEST(Sources, LaMoyenneEstLaComposanteContinue) {
  EXPECT_DOUBLE_EQ(Sinus(2, 50, 0.5).Moyenne(), 0.5);
  Carre carre(0, 1, 1000, 0.3);  // 30 % high
  EXPECT_DOUBLE_EQ(carre.Moyenne(), 0.3);
  EXPECT_EQ(carre.Tension(0.00029), 1);
  EXPECT_EQ(carre.Tension(0.00031), 0);
  EXPECT_EQ(carre.Tension(0.00101), 1);
}
