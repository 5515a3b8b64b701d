#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "SurLeBanc.h"
#include "TravailAppareil.h"

namespace {

// Records the generator calls the device thread makes.
class GenerateursEnregistres final : public AccesGenerateurs {
 public:
  std::vector<std::string> appels;  // device thread only, read after a sync
  GenreGenerateur repond = GenreGenerateur::GTBF;
  std::atomic<bool> demarre{true};  // false: the generator has gone
  bool Ouvre(GenreGenerateur g) override {
    appels.push_back("Ouvre " + std::to_string(int(g)));
    return g == repond;
  }
  void Stoppe(GenreGenerateur) override { appels.push_back("Stoppe"); }
  void SetFrequence(GenreGenerateur, double f) override {
    if (f < 0) throw std::runtime_error("fréquence négative");
    appels.push_back("SetFrequence " + std::to_string(int(f)));
  }
  void SetAmplitude(GenreGenerateur, double) override { appels.push_back("SetAmplitude"); }
  void CalculeTable(GenreGenerateur) override { appels.push_back("CalculeTable"); }
  bool Lance(GenreGenerateur) override {
    appels.push_back("Lance");
    return demarre.load();
  }
};

class Travail : public SurLeBanc {
 protected:
  void SetUp() override {
    SurLeBanc::SetUp();
    t = std::make_unique<TravailAppareil>(generateurs);
    t->Ouvre();
    const auto c = Suivant<EtatConnexion>();
    ASSERT_TRUE(c.connecte);
    EXPECT_EQ(c.version, "QuiloSim 1.0");
  }
  void TearDown() override {
    t.reset();
    SurLeBanc::TearDown();
  }
  // The next result, which must be of kind R (the wait bound is a safety, not a delay).
  template <class R>
  R Suivant() {
    for (int essai = 0; essai < 2000; ++essai) {
      if (auto r = t->Prend()) {
        EXPECT_TRUE(std::holds_alternative<R>(*r)) << "result kind " << r->index();
        if (auto *attendu = std::get_if<R>(&*r)) return std::move(*attendu);
        return R{};
      }
      t->AttendResultat(10);
    }
    ADD_FAILURE() << "no result";
    return R{};
  }
  // Runs on the device thread after what is queued, and waits for it.
  template <class F>
  auto SurLeFil(F f) {
    std::promise<decltype(f(nullptr))> p;
    t->Execute([&](TOscillo *o) { p.set_value(f(o)); });
    return p.get_future().get();
  }
  GenerateursEnregistres generateurs;
  std::unique_ptr<TravailAppareil> t;
};

}  // namespace

TEST_F(Travail, UneTrameArmeeArriveEntiereAvecSesReglages) {
  ReglagesAcquis r;
  r.SetDuree(7);
  r.SetCalibre(1, 4);
  r.SetSeuil(250);  // the device resets a level it cannot take
  const int64_t avant = Banc().Horloge().MaintenantUs();
  t->Arme(42, r);
  const Trame trame = Suivant<Trame>();
  EXPECT_EQ(trame.numero, 42u);
  EXPECT_EQ(trame.nbEchantillons, 8192);
  EXPECT_EQ(trame.nbPoints, 8000);
  EXPECT_EQ(trame.reglages.Calibre(1), 4);
  EXPECT_EQ(trame.reglages.Seuil(), 127);
  ASSERT_EQ(trame.tension1.size(), 8193u);
  EXPECT_DOUBLE_EQ(trame.temps[4000], 4000 / 4e6);
  EXPECT_EQ(trame.tension1[8192], 0);
  // the two 50 ms waits of the start; the 2 ms of samples were made during the second
  const int64_t ecoule = Banc().Horloge().MaintenantUs() - avant;
  EXPECT_EQ(ecoule, 100'000);
  EXPECT_FALSE(Virtuel().Alimente());  // stopped with the frame
}

TEST_F(Travail, UnNouvelArmementRemplaceCeluiEnCoursEtArretAbandonne) {
  ReglagesAcquis lent;
  lent.SetDuree(17);  // 5 s of samples
  t->Arme(1, lent);
  ReglagesAcquis rapide;
  t->Arme(2, rapide);
  EXPECT_EQ(Suivant<Trame>().numero, 2u);
  t->Arme(3, lent);
  t->Arrete();
  EXPECT_FALSE(SurLeFil([](TOscillo *o) { return o->Alim(); }));
  EXPECT_FALSE(t->Prend().has_value());
}

TEST_F(Travail, LeGenerateurSeDetecteEtSeRegleDansLOrdre) {
  t->DetecteGenerateur();
  EXPECT_EQ(Suivant<GenerateurTrouve>().genre, GenreGenerateur::GTBF);
  t->ReglerGenerateur(GenreGenerateur::GTBF, 1000);
  t->StoppeGenerateur(GenreGenerateur::GTBF);
  const auto appels = SurLeFil([this](TOscillo *) { return generateurs.appels; });
  EXPECT_EQ(appels, (std::vector<std::string>{"Ouvre 1", "Ouvre 2", "Stoppe", "SetFrequence 1000",
                                              "CalculeTable", "Lance", "Stoppe"}));
}

TEST_F(Travail, UneExceptionDUnAppelDevientUnResultatEtLeFilContinue) {
  t->ReglerGenerateur(GenreGenerateur::GBF, -1);
  EXPECT_EQ(Suivant<ErreurAppareil>().message, "fréquence négative");
  t->Arme(5, ReglagesAcquis{});
  EXPECT_EQ(Suivant<Trame>().numero, 5u);
}

TEST_F(Travail, LaCorrectionRendSaTable) {
  t->CorrigeDecalage(ReglagesAcquis{});
  const DecalageCorrige d = Suivant<DecalageCorrige>();
  ASSERT_TRUE(d.reussi);
  EXPECT_NEAR(d.correction[2][8][0], -OscilloVirtuel::ErreurDecalage(2, 8, 0), 1);
}

TEST_F(Travail, TermineCoupeLaCorrectionFermeEtNeLaissePasLAlimentation) {
  t->CorrigeDecalage(ReglagesAcquis{});
  t->Arme(7, ReglagesAcquis{});  // queued behind it: never runs
  t->Termine();
  EXPECT_FALSE(Virtuel().Alimente());
  // whatever the correction got to report, no frame came after the end
  while (auto r = t->Prend()) EXPECT_FALSE(std::holds_alternative<Trame>(*r));
  t->Arme(8, ReglagesAcquis{});  // refused once ended
  EXPECT_FALSE(t->Prend().has_value());
}

// A sweep step's frame is armed only once the generator plays and the delay has passed.
TEST_F(Travail, UnPasDeBalayageArmeApresLeGenerateurEtLeDelai) {
  const int64_t avant = Banc().Horloge().MaintenantUs();
  t->Balaye(GenreGenerateur::GBF, 500, 200, 9, ReglagesAcquis{});
  EXPECT_EQ(Suivant<Trame>().numero, 9u);
  // the delay, then the start's two waits (the generator's own calls wait nothing here)
  EXPECT_EQ(Banc().Horloge().MaintenantUs() - avant, 200'000 + 100'000);
  const auto appels = SurLeFil([this](TOscillo *) { return generateurs.appels; });
  EXPECT_EQ(appels, (std::vector<std::string>{"Stoppe", "SetFrequence 500", "CalculeTable", "Lance"}));
  // an Arrete sent while the step waits cuts it short: nothing is armed (the device
  // thread is held until both are queued, virtual time would pass the delay at once)
  std::promise<void> tenu;
  t->Execute([f = tenu.get_future().share()](TOscillo *) { f.wait(); });
  const int64_t debut = Banc().Horloge().MaintenantUs();
  t->Balaye(GenreGenerateur::GBF, 600, 100'000, 10, ReglagesAcquis{});
  t->Arrete();
  tenu.set_value();
  EXPECT_FALSE(SurLeFil([](TOscillo *o) { return o->Alim(); }));
  EXPECT_FALSE(t->Prend().has_value());
  EXPECT_LT(Banc().Horloge().MaintenantUs() - debut, 100'000'000);
}

// A generator gone at a step is said before the step's frame, which still comes.
TEST_F(Travail, UnGenerateurPerduAuPasEstDitPuisLaTrameVient) {
  generateurs.demarre = false;
  t->Balaye(GenreGenerateur::GBF, 500, 100, 11, ReglagesAcquis{});
  EXPECT_EQ(Suivant<GenerateurPerdu>().genre, GenreGenerateur::GBF);
  EXPECT_EQ(Suivant<Trame>().numero, 11u);
}

TEST(FrequenceLimitee, ChaqueGenerateurDansSaGamme) {
  struct Cas { GenreGenerateur g; double f, attendue; } cas[] = {
      {GenreGenerateur::GBF, 0.001, 0.02}, {GenreGenerateur::GBF, 1e6, 480000},
      {GenreGenerateur::GBF, 1000, 1000},  {GenreGenerateur::GTBF, 2500, 2000},
      {GenreGenerateur::GTBF, 0.001, 0.005}, {GenreGenerateur::GTBF, std::nan(""), 0.005},
  };
  for (auto [g, f, attendue] : cas) EXPECT_EQ(FrequenceLimitee(g, f), attendue) << f;
}

TEST_F(Travail, DebrancheEnCoursDArmementPuisRebrancheLaConnexionReprend) {
  ReglagesAcquis lent;
  lent.SetDuree(17);  // 5 s of samples
  t->Arme(1, lent);
  Virtuel().Debranche(true);
  const auto c = Suivant<EtatConnexion>();
  EXPECT_FALSE(c.connecte);
  EXPECT_TRUE(c.debranche);
  EXPECT_EQ(c.diagnostic.rfind("Oscillo d\xE9" "branch\xE9 : ", 0), 0u) << c.diagnostic;
  // said once: the thread rests, and a connection attempt while unplugged is no unplug
  EXPECT_FALSE(SurLeFil([](TOscillo *o) { return o->EstConnecte(); }));
  EXPECT_FALSE(t->Prend().has_value());
  t->Connecte();
  const auto encore = Suivant<EtatConnexion>();
  EXPECT_FALSE(encore.connecte);
  EXPECT_FALSE(encore.debranche);
  EXPECT_EQ(encore.diagnostic.rfind("Pas de /dev/QuiloUSB-0 : ", 0), 0u) << encore.diagnostic;
  Virtuel().Debranche(false);
  t->Connecte();
  const auto retour = Suivant<EtatConnexion>();
  EXPECT_TRUE(retour.connecte);
  EXPECT_EQ(retour.version, "QuiloSim 1.0");
  EXPECT_TRUE(retour.diagnostic.empty());
  EXPECT_TRUE(Virtuel().Alimente());
  t->Arme(2, ReglagesAcquis());
  EXPECT_EQ(Suivant<Trame>().numero, 2u);
}
