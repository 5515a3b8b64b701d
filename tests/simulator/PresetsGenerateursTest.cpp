#include <gtest/gtest.h>

#include <cmath>

#include "BancVirtuel.h"
#include "GenerateurVirtuel.h"
#include "OscilloVirtuel.h"
#include "PresetsGenerateurs.h"

namespace {

std::shared_ptr<GenerateurVirtuel> GenerateurSous(const char *nom) {
  return std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil(nom));
}

TEST(PresetsGenerateurs, ChaqueBancALesAppareilsAnnonces) {
  struct Cas { const char *preset; bool oscillo; const char *generateur; } cas[] = {
      {"demo", true, "QuiloGenUSB-0"},
      {"demo-tbf", true, "QuiloGenMinUSB-0"},
      {"passe-bande", true, "QuiloGenUSB-0"},
      {"carre", true, nullptr},
      {"sans-generateur", true, nullptr},
      {"sans-oscillo", false, nullptr},
  };
  for (auto [preset, oscillo, generateur] : cas) {
    SCOPED_TRACE(preset);
    ASSERT_TRUE(ChoisitPreset(preset));
    EXPECT_EQ(Banc().Oscillo() != nullptr, oscillo);
    for (const char *nom : {"QuiloGenUSB-0", "QuiloGenMinUSB-0", "QuiloGenUSB-1",
                            "QuiloGenMinUSB-1"})
      EXPECT_EQ(GenerateurSous(nom) != nullptr, generateur && std::string(nom) == generateur)
          << nom;
  }
  Banc().Vide();
}

TEST(PresetsGenerateurs, LaDemoMontreLeSinusIntegreTantQueLeGenerateurSeRepose) {
  ASSERT_TRUE(ChoisitPreset("demo"));
  for (double t : {0.01, 0.01025, 0.0106}) {
    SCOPED_TRACE(t);
    EXPECT_NEAR(Banc().Tension(1, t), std::sin(2 * M_PI * 1000 * t), 1e-9);
  }
  ASSERT_TRUE(ChoisitPreset("passe-bande"));
  EXPECT_EQ(Banc().Tension(1, 0.01025), 0);  // no stand-in there
  Banc().Vide();
}

TEST(PresetsGenerateurs, CarreHautTrentePourCentEtRetardeDUnQuartSurLaVoie2) {
  ASSERT_TRUE(ChoisitPreset("carre"));
  EXPECT_EQ(Banc().Tension(1, 0.0101), 5);
  EXPECT_EQ(Banc().Tension(1, 0.0104), 0);
  EXPECT_EQ(Banc().Tension(2, 0.0101), 0);   // still the low phase of a quarter earlier
  EXPECT_EQ(Banc().Tension(2, 0.0104), 5);
  EXPECT_EQ(Banc().Tension(2, 0.0106), 0);
  EXPECT_DOUBLE_EQ(Banc().Moyenne(1), 1.5);
  Banc().Vide();
}

}  // namespace
