// The generator libraries as the program meets them: found beside the program, bound by
// the drivers' bindings, and driving the generators of the process's bench.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "BancVirtuel.h"
#include "Enregistrements.h"
#include "GenerateurVirtuel.h"
#include "Horloge.h"
#include "HorlogeDuBanc.h"
#include "gbf_USB_dynamique.h"
#include "gtbf_USB_dynamique.h"

namespace {

class GenerateursSurBanc : public testing::Test {
 protected:
  void SetUp() override {
    Banc().Horloge().PasseEnVirtuel();
    DefinitHorloge(&horloge);
    InitialiseGBF_USB();
    InitialiseGTBF_USB();
    ASSERT_TRUE(GBF_USBPresent());
    ASSERT_TRUE(GTBF_USBPresent());
  }
  void TearDown() override {
    FinaliseGTBF_USB();
    FinaliseGBF_USB();
    DefinitHorloge(nullptr);
    Banc().Vide();
  }
  static std::shared_ptr<GenerateurVirtuel> Generateur(const char *nom) {
    return std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil(nom));
  }
  // Highest and lowest volts on channel 1 over one period from now.
  static std::pair<double, double> Extremes(double f) {
    const double t0 = Banc().Horloge().Maintenant();
    double haut = -1e9, bas = 1e9;
    for (int i = 0; i < 20000; ++i) {
      const double v = Banc().Tension(1, t0 + i / (20000 * f));
      haut = std::max(haut, v);
      bas = std::min(bas, v);
    }
    return {haut, bas};
  }
  HorlogeDuBanc horloge;
};

TEST_F(GenerateursSurBanc, SeulLeGenerateurDuBancRepond) {
  struct Cas { const char *preset; bool bf, tbf; } cas[] = {
      {"demo", true, false},
      {"passe-bande", true, false},
      {"demo-tbf", false, true},
      {"sans-generateur", false, false},
      {"carre", false, false},
      {"sans-oscillo", false, false},
  };
  for (auto [preset, bf, tbf] : cas) {
    SCOPED_TRACE(preset);
    ASSERT_TRUE(ChoisitPreset(preset));
    EXPECT_EQ(GBF_USB()->Ouvre(), bf);
    EXPECT_EQ(GTBF_USB()->Ouvre(), tbf);
    GBF_USB()->Ferme();
    GTBF_USB()->Ferme();
  }
}

TEST_F(GenerateursSurBanc, LaFrequenceEtLAmplitudeDemandeesSortent) {
  struct Cas { const char *preset; double f, amplitude, frequence; } cas[] = {
      {"demo", 1000, 2.5, 1000},
      {"demo", 480000, 10, 480000},
      {"demo", 0.02, 1, 4e6 / 12501 / 15998},  // the divided clock is as close as it gets
      {"demo", 37, 5, 4e6 / 7 / 15444},
      {"demo-tbf", 10, 4, 10},                 // divider 40, 10 000 points
      {"demo-tbf", 1000, 1, 1000},
      {"demo-tbf", 3.7, 2, 4e6 / 68 / 15898},
  };
  for (auto [preset, f, amplitude, frequence] : cas) {
    SCOPED_TRACE(testing::Message() << preset << " " << f);
    ASSERT_TRUE(ChoisitPreset(preset));
    const bool bf = std::string(preset) == "demo";
    TGenerateurUSB &pilote = bf ? static_cast<TGenerateurUSB &>(*GBF_USB()) : *GTBF_USB();
    ASSERT_TRUE(pilote.Ouvre());
    pilote.Amplitude = amplitude;
    pilote.Stoppe();
    if (bf) GBF_USB()->SetFrequence(f); else GTBF_USB()->SetFrequence(f);
    pilote.CalculeTable();
    if (bf) GBF_USB()->Lance(); else GTBF_USB()->Lance();
    const auto g = Generateur(bf ? "QuiloGenUSB-0" : "QuiloGenMinUSB-0");
    ASSERT_TRUE(g->EnMarche());
    EXPECT_NEAR(g->Frequence(), frequence, frequence * 1e-9);
    const auto [haut, bas] = Extremes(g->Frequence());
    const double code = bf ? 20.0 / 16383 : 8.0 / 255;  // volts of one code
    EXPECT_NEAR(haut, amplitude, code);
    EXPECT_NEAR(bas, -amplitude, code);
    pilote.Ferme();
    EXPECT_FALSE(g->EnMarche());
  }
}

TEST_F(GenerateursSurBanc, ArreteLeGenerateurDonne0VOuLeRemplacant) {
  ASSERT_TRUE(ChoisitPreset("passe-bande"));
  ASSERT_TRUE(GBF_USB()->Ouvre());
  GBF_USB()->SetFrequence(2000);
  GBF_USB()->CalculeTable();
  GBF_USB()->Lance();
  EXPECT_NEAR(Extremes(2000).first, 2.5, 0.01);  // the amplitude it starts with
  GBF_USB()->Stoppe();
  EXPECT_EQ(Extremes(2000), std::make_pair(0.0, 0.0));
}

// ---- the entries themselves, as any caller of the library reaches them ----

// The name as a caller hands it over, its length word off by `ecartLongueur` bytes.
ChaineOle<char16_t> Nom(const char *s, int ecartLongueur = 0) {
  ChaineOle<char16_t> n(std::u16string(s, s + std::strlen(s)));
  n.Octets += ecartLongueur;
  return n;
}

class EntreesDeLaBibliotheque : public testing::Test {
 protected:
  void SetUp() override {
    module = dlopen((DossierProgramme() + "/libquigenb.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr);
    open = reinterpret_cast<FnSetPortOpen>(dlsym(module, "_SetPortOpen"));
    close = reinterpret_cast<FnSetPortClose>(dlsym(module, "_SetPortClose"));
    version = reinterpret_cast<FnGetVersion>(dlsym(module, "_GetVersion"));
    lance = reinterpret_cast<FnLanceGenerateur>(dlsym(module, "_LanceGenerateur"));
    stop = reinterpret_cast<FnStopGenerateur>(dlsym(module, "_StopGenerateur"));
    ASSERT_TRUE(open && close && version && lance && stop);
    ASSERT_TRUE(ChoisitPreset("demo"));
  }
  void TearDown() override {
    Banc().Vide();
    if (module) dlclose(module);
  }
  void *module = nullptr;
  FnSetPortOpen open;
  FnSetPortClose close;
  FnGetVersion version;
  FnLanceGenerateur lance;
  FnStopGenerateur stop;
};

TEST_F(EntreesDeLaBibliotheque, NOuvreQueLeNomExactDUnGenerateurDeSonType) {
  struct Cas { ChaineOle<char16_t> nom; bool ouvre; } cas[] = {
      {Nom("QuiloGenUSB-0"), true},
      {Nom("QuiloGenUSB-1"), false},       // nothing there on this bench
      {Nom("QuiloGenUSB-0", -2), false},   // the length says "QuiloGenUSB-"
      {Nom("QuiloGenUSB-0", 1), false},    // an odd byte count
      {Nom("QuiloGenMinUSB-0"), false},    // the other kind's name
      {Nom("QuiloUSB-0"), false},          // the oscilloscope
  };
  for (auto &[nom, ouvre] : cas) {
    SCOPED_TRACE(nom.Octets);
    const int32_t h = open(nom.c());
    EXPECT_EQ(h != 0, ouvre);
    if (h) close(h);
  }
  EXPECT_EQ(open(nullptr), 0);
}

TEST_F(EntreesDeLaBibliotheque, UnHandleFermeOuInconnuNeFaitPlusRien) {
  const auto nom = Nom("QuiloGenUSB-0");
  const int32_t h = open(nom.c());
  ASSERT_NE(h, 0);
  std::vector<uint8_t> e(TailleEnregistrement, 0);
  e[0] = 10;  // ten points of code 0 on the 48 MHz clock
  EXPECT_EQ(lance(h, 2, e.data()), 0);  // only the continuous mode is known
  EXPECT_EQ(lance(h, ModeContinu, e.data()), 1);
  char texte[32] = {};
  EXPECT_EQ(version(h, texte), 15);
  EXPECT_STREQ(texte, "QuiloGenSim 1.0");
  EXPECT_EQ(stop(h), 1);
  EXPECT_EQ(close(h), 1);
  EXPECT_EQ(lance(h, ModeContinu, e.data()), 0);
  EXPECT_EQ(stop(h), 0);
  EXPECT_EQ(close(h), 0);
  std::memset(texte, 'x', sizeof texte);
  EXPECT_EQ(version(h, texte), 0);
  EXPECT_EQ(texte[0], 'x');
}

// A generator unplugged kills the handles opened before; plugged in again, it opens anew.
TEST_F(EntreesDeLaBibliotheque, UnGenerateurDebrancheTueSesHandles) {
  const auto nom = Nom("QuiloGenUSB-0");
  const int32_t h = open(nom.c());
  ASSERT_NE(h, 0);
  std::vector<uint8_t> e(TailleEnregistrement, 0);
  e[0] = 10;
  ASSERT_EQ(lance(h, ModeContinu, e.data()), 1);
  auto g = std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil("QuiloGenUSB-0"));
  ASSERT_TRUE(g);
  g->Debranche(true);
  EXPECT_EQ(lance(h, ModeContinu, e.data()), 0);
  EXPECT_EQ(stop(h), 0);
  EXPECT_EQ(open(nom.c()), 0);
  g->Debranche(false);
  EXPECT_EQ(lance(h, ModeContinu, e.data()), 0);  // dead for good
  const int32_t nouveau = open(nom.c());
  ASSERT_NE(nouveau, 0);
  EXPECT_EQ(lance(nouveau, ModeContinu, e.data()), 1);
  EXPECT_TRUE(g->EnMarche());
  close(nouveau);
  close(h);
}

}  // namespace
