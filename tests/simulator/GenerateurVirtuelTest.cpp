#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "BancVirtuel.h"
#include "GenerateurVirtuel.h"
#include "HorlogeBanc.h"

namespace {

std::vector<uint8_t> Enregistrement(int32_t points, uint8_t horloge, int32_t recharge,
                                    const std::vector<int32_t> &codes = {}) {
  std::vector<uint8_t> e(TailleEnregistrement, 0);
  std::memcpy(e.data(), &points, 4);  // little-endian, as the record is
  e[4] = horloge;
  std::memcpy(e.data() + 8, &recharge, 4);
  for (size_t i = 0; i < codes.size(); ++i) std::memcpy(e.data() + 12 + 4 * i, &codes[i], 4);
  return e;
}

class GenerateurSurBanc : public testing::Test {
 protected:
  void SetUp() override {
    horloge.PasseEnVirtuel();
  }
  BancVirtuel banc;  // only its clock: the generators are not plugged in
  HorlogeBanc &horloge = banc.Horloge();
};

TEST_F(GenerateurSurBanc, FrequenceParHorlogeDiviseurEtPoints) {
  struct Cas { const ModeleGenerateurVirtuel *modele; int32_t points; uint8_t horloge;
               int32_t recharge; double frequence; } cas[] = {
      {&GenerateurBF, 100, 0, 0, 480'000},      // 48 MHz, no division
      {&GenerateurBF, 12000, 1, 65535, 1000},   // 12 MHz ÷ 1
      {&GenerateurBF, 13333, 2, 65535, 4e6 / 13333},
      {&GenerateurBF, 8000, 2, 65534, 250},     // 4 MHz ÷ 2
      {&GenerateurBF, 8000, 2, 65534 + 65536, 250},  // the reload register is 16 bits
      {&GenerateurTBF, 100, 0, 65496, 1000},    // 4 MHz ÷ 40
      {&GenerateurTBF, 100, 2, 65496, 1000},    // one clock whatever the index
      {&GenerateurTBF, 16000, 0, 15535, 4e6 / 50001 / 16000},
  };
  for (auto [modele, points, index, recharge, frequence] : cas) {
    SCOPED_TRACE(testing::Message() << modele->noms[0] << " " << points << " " << recharge);
    GenerateurVirtuel g(*modele, banc);
    ASSERT_TRUE(g.Lance(Enregistrement(points, index, recharge).data()));
    EXPECT_DOUBLE_EQ(g.Frequence(), frequence);
  }
}

TEST_F(GenerateurSurBanc, RefuseUnEnregistrementInjouable) {
  GenerateurVirtuel g(GenerateurBF, banc);
  ASSERT_TRUE(g.Lance(Enregistrement(100, 0, 0).data()));
  for (auto e : {Enregistrement(0, 0, 0), Enregistrement(16001, 0, 0),
                 Enregistrement(-5, 0, 0), Enregistrement(100, 3, 0)}) {
    EXPECT_FALSE(g.Lance(e.data()));
    EXPECT_DOUBLE_EQ(g.Frequence(), 480'000);  // still playing the last good one
  }
}

TEST_F(GenerateurSurBanc, LesCodesRedeviennentDesVolts) {
  GenerateurVirtuel bf(GenerateurBF, banc), tbf(GenerateurTBF, banc);
  struct Cas { const GenerateurVirtuel *g; int32_t code; double volts; } cas[] = {
      {&bf, 8192, 0}, {&bf, 0, 8192 * 20.0 / 16383}, {&bf, 16383, -8191 * 20.0 / 16383},
      {&bf, 7373, 819 * 20.0 / 16383},           // inverted: a low code is positive
      {&bf, -40, 8192 * 20.0 / 16383}, {&bf, 99999, -8191 * 20.0 / 16383},  // DAC limits
      {&tbf, 127, 0}, {&tbf, 255, 128 * 8.0 / 255}, {&tbf, 0, -127 * 8.0 / 255},
  };
  for (auto [g, code, volts] : cas) {
    SCOPED_TRACE(code);
    EXPECT_DOUBLE_EQ(g->Volts(code), volts);
  }
}

TEST_F(GenerateurSurBanc, JoueLaTableEnBouclePuisSArreteA0V) {
  GenerateurVirtuel g(GenerateurTBF, banc);
  EXPECT_EQ(g.Tension(1.0), 0);
  // four points at 4 MHz ÷ 40 = 100 000 points per second
  const double origine = horloge.Maintenant(), pas = 1e-5;
  ASSERT_TRUE(g.Lance(Enregistrement(4, 0, 65496, {127, 255, 127, 0}).data()));
  const double attendu[] = {0, g.Volts(255), 0, g.Volts(0)};
  for (int k = -3; k < 9; ++k) {
    SCOPED_TRACE(k);
    EXPECT_DOUBLE_EQ(g.Tension(origine + (k + 0.5) * pas), attendu[(k + 8) % 4]);
  }
  EXPECT_NEAR(g.Moyenne(), (g.Volts(255) + g.Volts(0)) / 4, 1e-12);
  g.Stoppe();
  EXPECT_EQ(g.Tension(origine + 1.5 * pas), 0);
  EXPECT_EQ(g.Moyenne(), 0);
}

TEST_F(GenerateurSurBanc, LeRemplacantTientLaPlaceDuGenerateurArrete) {
  auto g = std::make_shared<GenerateurVirtuel>(GenerateurBF, banc);
  SignalGenerateur signal(g, std::make_shared<Continu>(3.0));
  SignalGenerateur seul(g);
  EXPECT_EQ(signal.Tension(2.0), 3.0);
  EXPECT_EQ(signal.Moyenne(), 3.0);
  EXPECT_EQ(seul.Tension(2.0), 0.0);
  ASSERT_TRUE(g->Lance(Enregistrement(2, 0, 0, {0, 0}).data()));
  EXPECT_DOUBLE_EQ(signal.Tension(2.0), g->Volts(0));
  EXPECT_DOUBLE_EQ(signal.PasMaximal(), g->PasMaximal());
}

// Unplugged, it falls silent and refuses records; plugged in again it is a new plug-in.
TEST_F(GenerateurSurBanc, DebrancheIlSeTaitEtRefuseLesEnregistrements) {
  GenerateurVirtuel g(GenerateurBF, banc);
  const auto e = Enregistrement(2, 0, 0, {0, 0});
  ASSERT_TRUE(g.Lance(e.data()));
  EXPECT_EQ(g.Branchement(), 1u);
  g.Debranche(true);
  EXPECT_FALSE(g.EnMarche());
  EXPECT_EQ(g.Tension(1.0), 0.0);
  EXPECT_EQ(g.Branchement(), 0u);
  EXPECT_FALSE(g.Lance(e.data()));
  EXPECT_FALSE(g.EnMarche());
  g.Debranche(false);
  EXPECT_EQ(g.Branchement(), 2u);
  g.Debranche(false);  // already plugged in: the same plug-in
  EXPECT_EQ(g.Branchement(), 2u);
  EXPECT_TRUE(g.Lance(e.data()));
}

}  // namespace
