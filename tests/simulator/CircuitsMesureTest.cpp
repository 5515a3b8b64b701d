#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>

#include "CircuitsMesure.h"
#include "Sources.h"

namespace {

// Amplitude and phase (degrees) of the output at f, from its projection on sin and cos
// over whole periods once settled: what a measurement of the frequency response finds.
std::complex<double> ReponseMesuree(std::shared_ptr<Circuit> circuit, double f) {
  auto sinus = std::make_shared<Sinus>(1.0, f);
  SuiviCircuit suivi(std::move(circuit), sinus);
  const double t0 = std::ceil(20 / f * f) / f + 0.02;
  const int n = 4000;
  std::complex<double> somme = 0;
  for (int i = 0; i < 4 * n; ++i) {
    const double t = t0 + i / (n * f);
    somme += suivi.Sortie(t) * std::polar(1.0, -2 * std::numbers::pi * f * t);
  }
  // sin(ωt) projects on -j/2: bring the input's own phase back to 0
  return somme / (4.0 * n) * std::complex<double>(0, 2);
}

TEST(PasseBande, SuitSaReponseAnalytique) {
  // underdamped, critically damped and overdamped
  for (double q : {2.0, 0.5, 0.3}) {
    for (double f : {200.0, 1000.0, 2000.0, 3000.0, 20000.0}) {
      SCOPED_TRACE(testing::Message() << "Q " << q << ", f " << f);
      const auto mesure = ReponseMesuree(std::make_shared<PasseBande>(2000, q), f);
      const auto attendu = ReponsePasseBande(2000, q, f);
      EXPECT_NEAR(std::abs(mesure), std::abs(attendu), 2e-3);
      EXPECT_NEAR(std::arg(mesure), std::arg(attendu), 2e-3);
    }
  }
  EXPECT_DOUBLE_EQ(std::abs(ReponsePasseBande(2000, 2, 2000)), 1);
  // f0/Q wide at -3 dB: 1 / √2 at f0·(√(1 + 1/16) ± 1/4)
  EXPECT_NEAR(std::abs(ReponsePasseBande(2000, 2, 2000 * (std::sqrt(17.0 / 16) + 0.25))),
              1 / std::sqrt(2.0), 1e-12);
}

TEST(PasseBande, UnPasLongVautBeaucoupDePasCourtsPourUneEntreeLineaire) {
  for (double q : {2.0, 0.5, 0.3}) {
    SCOPED_TRACE(q);
    PasseBande un(2000, q), cent(2000, q);
    const double h = 3e-4;
    const double y1 = un.Pas(0.5, 2.0, h);
    double y100 = 0;
    for (int i = 0; i < 100; ++i) y100 = cent.Pas(0.5 + 1.5 * i / 100, 0.5 + 1.5 * (i + 1) / 100, h / 100);
    EXPECT_NEAR(y1, y100, 1e-12);
    EXPECT_NE(y1, 0);
  }
}

TEST(PasseBande, NeLaissePasPasserLeContinu) {
  PasseBande b(2000, 2);
  double y = 1;
  for (int i = 0; i < 200; ++i) y = b.Pas(1, 1, 1e-4);
  EXPECT_NEAR(y, 0, 1e-6);
  EXPECT_EQ(b.GainContinu(), 0);
}

TEST(PasseBasRC, SuitSaReponseAnalytique) {
  for (double f : {100.0, 1000.0, 10000.0}) {
    SCOPED_TRACE(f);
    const auto mesure = ReponseMesuree(std::make_shared<PasseBasRC>(1000), f);
    const auto attendu = ReponsePasseBasRC(1000, f);
    EXPECT_NEAR(std::abs(mesure), std::abs(attendu), 2e-3);
    EXPECT_NEAR(std::arg(mesure), std::arg(attendu), 2e-3);
  }
}

TEST(LigneARetard, RendLEntreeUnQuartDePeriodePlusTard) {
  auto carre = std::make_shared<Carre>(0.0, 5.0, 1000.0, 0.3);
  SuiviCircuit suivi(std::make_shared<LigneARetard>(0.25e-3), carre);
  for (int i = 0; i < 400; ++i) {
    const double t = 0.01 + i * 7.3e-6;
    const double phase = std::fmod((t - 0.25e-3) * 1000, 1.0);
    if (std::abs(phase) < 0.01 || std::abs(phase - 0.3) < 0.01) continue;  // edges
    ASSERT_EQ(suivi.Sortie(t), carre->Tension(t - 0.25e-3)) << t;
  }
}

TEST(LigneARetard, Rend0VAvantQueRienNeSoitArrive) {
  LigneARetard l(1e-3);
  EXPECT_EQ(l.Pas(2, 2, 0.5e-3), 0);
  EXPECT_EQ(l.Pas(2, 2, 0.6e-3), 2);
}

}  // namespace
