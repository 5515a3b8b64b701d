#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "AvecOscillo.h"
#include "Quilink.h"
#include "TOscillo.h"

// Puts the model's sample count where a test needs it.
struct EssaiTOscillo {
  static void Compte(TOscillo &o, int32_t n) { o.nbEchantillons_ = n; }
};

namespace {

class Oscillo : public AvecOscillo {
 protected:
  // Arms as the acquisition cycle does, then reads bursts until nothing comes.
  void Acquiert() {
    o->SetAlim(true);
    o->Lance();
    LitTout();
  }
  void LitTout() {
    for (int avant = -1; o->NbEchantillons() != avant;) {
      avant = o->NbEchantillons();
      o->LitDonnees();
    }
  }
};

using Octets = std::vector<uint8_t>;

Octets Envoye(const RecordCommande &c) { return {c.Octets, c.Octets + c.Longueur}; }

}  // namespace

TEST_F(Oscillo, LesRecordsDeCommande) {
  o->SetCouplage(1, CouplageAC);
  o->SetCouplage(2, CouplageGND);
  o->SetCalibre(1, 3);
  o->SetCalibre(2, 8);
  o->SetDuree(13);
  o->EnvoieDuree();
  EXPECT_EQ(Envoye(o->Commande()), (Octets{4, 1, 246, 1, 10, 0}));
  EXPECT_EQ(o->ModeVoies(), 1);
  o->EnvoieVoie(1);
  EXPECT_EQ(Envoye(o->Commande()), (Octets{1, 41, 127}));
  o->EnvoieVoie(2);
  EXPECT_EQ(Envoye(o->Commande()), (Octets{2, 2, 127}));
}

TEST_F(Oscillo, LeDecalageEnvoyePrendLaColonneDeLaBaseDeTemps) {
  o->SetCalibre(1, 3);
  TOscillo::TableCorrection t{};
  t[1][3][1] = -2;
  t[1][3][0] = 4;
  o->SetCorrection(t);
  struct Cas { int duree, zero; uint8_t attendu; } cas[] = {
      {0, 127, 125}, {3, 127, 125}, {4, 127, 131}, {17, 127, 131},
      {0, 1, 0},     // below 0: kept at 0, not wrapped to 255
      {4, 253, 255}, // above 255: kept at 255
  };
  for (auto [duree, zero, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << duree << "/" << zero);
    o->SetDuree(duree);
    o->SetZero(1, zero);
    o->EnvoieVoie(1);
    EXPECT_EQ(o->Commande().Octets[2], attendu);
  }
}

TEST_F(Oscillo, LeNiveauDeSynchroHorsBornesRevientA127) {
  struct Cas { int synchro, seuil; uint8_t niveau; uint8_t seuilApres; } cas[] = {
      {1, 5, 127, 127}, {2, 249, 127, 127}, {1, 8, 8, 8}, {2, 248, 248, 248},
      {0, 200, 0, 200}, {3, 200, 0, 200},  // no level for free-running or external
      {3, 4, 0, 127},
  };
  for (auto [synchro, seuil, niveau, seuilApres] : cas) {
    SCOPED_TRACE(testing::Message() << synchro << "/" << seuil);
    o->SetSynchro(synchro);
    o->SetSens(1);
    o->SetSeuil(seuil);
    o->EnvoieSynchro();
    EXPECT_EQ(Envoye(o->Commande()), (Octets{3, uint8_t(synchro), 1, niveau, 255, 255, 0, 0}));
    EXPECT_EQ(o->Seuil(), seuilApres);
  }
}

TEST_F(Oscillo, TensionMinEtMaxSuiventLesReglagesCourants) {
  o->SetCalibre(1, 8);
  EXPECT_NEAR(o->TensionMin(1), -127 * 40 / 255.0, 1e-12);
  EXPECT_NEAR(o->TensionMax(1), 128 * 40 / 255.0, 1e-12);
  o->SetCalibre(2, 0);
  o->SetZero(2, 0);
  EXPECT_DOUBLE_EQ(o->TensionMin(2), 0);
  EXPECT_NEAR(o->TensionMax(2), 0.08, 1e-12);
}

TEST_F(Oscillo, UneTrameComplete) {
  o->SetCalibre(1, 5);
  o->SetCalibre(2, 5);
  o->SetCouplage(1, CouplageDC);
  o->SetCouplage(2, CouplageDC);
  o->SetDuree(7);  // 4 MHz: 2 ms, two periods of the demo's 1 kHz
  Acquiert();
  ASSERT_EQ(o->NbEchantillons(), 8192);
  std::vector<double> t(8193), v1(8193), v2(8193);
  o->CalculeSignaux(t.data(), v1.data(), v2.data());
  EXPECT_DOUBLE_EQ(t[4000], 4000 / 4e6);
  EXPECT_EQ(v1[8192], 0);
  const auto [min1, max1] = std::minmax_element(v1.begin(), v1.end() - 1);
  const auto [min2, max2] = std::minmax_element(v2.begin(), v2.end() - 1);
  EXPECT_NEAR(*max1 - *min1, 2.0, 0.04);  // 1 V peak, about the stage's offset error
  EXPECT_NEAR((*max1 + *min1) / 2, OscilloVirtuel::ErreurDecalage(1, 5, 0) * 4 / 255.0, 0.02);
  EXPECT_NEAR(*max2 - *min2, 2 / std::sqrt(2.0), 0.08);  // the low-pass at its cut-off
  EXPECT_EQ(o->NbPoints(), 8000);
}

TEST_F(Oscillo, LaConversionGardeLesReglagesDeLaTrame) {
  o->SetCalibre(1, 5);
  o->SetDuree(7);
  Acquiert();
  std::vector<double> t(8193), v1(8193), v2(8193);
  o->CalculeSignaux(t.data(), v1.data(), v2.data());
  // a held frame re-converted after the controls moved
  o->SetCalibre(1, 8);
  o->SetZero(1, 10);
  o->SetDuree(17);
  std::vector<double> t2(8193), w1(8193), w2(8193);
  o->CalculeSignaux(t2.data(), w1.data(), w2.data());
  EXPECT_EQ(t, t2);
  EXPECT_EQ(v1, w1);
  EXPECT_EQ(o->NbPoints(), 8000);
  EXPECT_NEAR(o->TensionMax(1), 245 * 40 / 255.0, 1e-12);  // the screen follows the controls
}

TEST_F(Oscillo, LaSalveSArreteA8192EtUneVoieNonAcquiseVautZeroVolt) {
  o->SetCouplage(2, CouplageGND);  // mode 1
  o->SetZero(2, 90);
  o->SetCalibre(1, 5);
  o->SetAlim(true);
  o->Lance();
  o->LitDonnees();
  EXPECT_EQ(o->NbEchantillons(), 128);
  EssaiTOscillo::Compte(*o, 8160);
  o->LitDonnees();
  EXPECT_EQ(o->NbEchantillons(), 8192);
  o->LitDonnees();
  EXPECT_EQ(o->NbEchantillons(), 8192);
  EXPECT_EQ(o->Brut(2)[0], 90);
  std::vector<double> t(8193), v1(8193), v2(8193);
  o->CalculeSignaux(t.data(), v1.data(), v2.data());
  EXPECT_EQ(v2[0], 0);
  EXPECT_EQ(v2[8191], 0);
}

// An interleaved burst of an odd byte count has lost a byte: the frame starts over rather
// than pair channel 2 with channel 1 and wait for ever for its last sample.
TEST_F(Oscillo, UneSalveImpaireRecommenceLaTrame) {
  o->SetDuree(7);  // 4 MHz: two periods of the demo's 1 kHz
  Virtuel().CoupeEnTrame(101);
  o->SetAlim(true);
  o->Lance();
  o->LitDonnees();  // 64 + 37 bytes
  EXPECT_EQ(o->NbEchantillons(), 0);
  LitTout();
  ASSERT_EQ(o->NbEchantillons(), 8192);
  std::vector<double> t(8193), v1(8193), v2(8193);
  o->CalculeSignaux(t.data(), v1.data(), v2.data());
  const auto [min1, max1] = std::minmax_element(v1.begin(), v1.end() - 1);
  const auto [min2, max2] = std::minmax_element(v2.begin(), v2.end() - 1);
  EXPECT_NEAR(*max1 - *min1, 2.0, 0.04);  // each channel its own
  EXPECT_NEAR(*max2 - *min2, 2 / std::sqrt(2.0), 0.08);
}

TEST_F(Oscillo, UneSalveDeModeZeroAjoute64ParVoie) {
  o->SetAlim(true);
  o->Lance();
  o->LitDonnees();
  EXPECT_EQ(o->NbEchantillons(), 64);
  EssaiTOscillo::Compte(*o, 8160);
  o->LitDonnees();
  EXPECT_EQ(o->NbEchantillons(), 8192);
}

TEST_F(Oscillo, UneTrameDeclencheeCommenceAuFranchissementDuNiveau) {
  o->SetCalibre(1, 5);
  o->SetCalibre(2, 5);
  o->SetDuree(7);
  struct Cas { int synchro, sens; } cas[] = {{1, 0}, {1, 1}, {2, 0}, {2, 1}};
  for (auto [synchro, sens] : cas) {
    SCOPED_TRACE(testing::Message() << synchro << "/" << sens);
    o->SetSynchro(synchro);
    o->SetSens(sens);
    o->SetSeuil(160);
    Acquiert();
    ASSERT_EQ(o->NbEchantillons(), 8192);
    const auto &brut = o->Brut(synchro);
    if (sens == 0) {  // reached from below
      EXPECT_GE(brut[0], 160);
      EXPECT_LE(brut[0], 162);
    } else {
      EXPECT_LE(brut[0], 160);
      EXPECT_GE(brut[0], 158);
    }
    // 40 µs later the signal has moved on in the chosen direction
    const int ecart = int(brut[160]) - int(brut[0]);
    EXPECT_GT(sens == 0 ? ecart : -ecart, 3);
  }
}

TEST_F(Oscillo, VersionDuMicrologicielEtVideSiLaRequeteEchoue) {
  EXPECT_EQ(o->Version(), "QuiloSim 1.0");
  Virtuel().Debranche(true);
  EXPECT_EQ(o->Version(), "");
}

TEST_F(Oscillo, DebrancheEnCoursDeTrameLeCompteSArrete) {
  o->SetDuree(17);  // 1.6 kHz: the frame takes 5 s
  o->SetAlim(true);
  o->Lance();
  Banc().Horloge().Avance(100'000);
  LitTout();
  const int avant = o->NbEchantillons();
  EXPECT_GT(avant, 100);
  EXPECT_LT(avant, 8192);
  Virtuel().Debranche(true);
  Banc().Horloge().Avance(10'000'000);
  LitTout();
  EXPECT_EQ(o->NbEchantillons(), avant);
  // the handle is let go, and that is said once
  EXPECT_FALSE(o->EstConnecte());
  EXPECT_TRUE(o->PrendDebranchement());
  EXPECT_FALSE(o->PrendDebranchement());
  EXPECT_EQ(o->Diagnostic().rfind("Oscillo d\xE9" "branch\xE9 : ", 0), 0u) << o->Diagnostic();
  o->Lance();  // nothing to do
  EXPECT_FALSE(o->EstConnecte());
}

TEST_F(Oscillo, RebrancheLaConnexionRouvreAvecAlimentationEtCorrections) {
  TOscillo::TableCorrection t{};
  t[1][5][1] = -3;
  o->SetCorrection(t);
  o->SetAlim(true);
  Virtuel().Debranche(true);
  o->Stoppe();  // the call that finds it gone
  ASSERT_FALSE(o->EstConnecte());
  o->Connecte(true);
  EXPECT_FALSE(o->EstConnecte());  // still unplugged
  Virtuel().Debranche(false);
  o->Connecte(true);
  ASSERT_TRUE(o->EstConnecte());
  EXPECT_TRUE(o->Diagnostic().empty());
  EXPECT_TRUE(Virtuel().Alimente());
  EXPECT_EQ(o->Correction(), t);
  o->SetCalibre(1, 5);
  o->SetDuree(0);
  o->EnvoieVoie(1);
  EXPECT_EQ(o->Commande().Octets[2], 124);  // the correction still goes into the offset code
}

TEST(LigneCause, UneLigneParCauseAvecLeDetailDeLaBibliotheque) {
  struct Cas { int32_t cause; const char *debut; } cas[] = {
      {QUILINK_CAUSE_SANS_NOEUD, "Pas de /dev/QuiloUSB-0 : "},
      {QUILINK_CAUSE_SANS_DROIT, "Acc\xE8s \xE0 l'oscillo refus\xE9 : "},
      {QUILINK_CAUSE_OCCUPE, "Oscillo occup\xE9 : "},
      {QUILINK_CAUSE_AUTRE_APPAREIL, "/dev/QuiloUSB-0 n'est pas un oscillo Quilo : "},
      {QUILINK_CAUSE_DEBRANCHE, "Oscillo d\xE9" "branch\xE9 : "},
      {QUILINK_CAUSE_AUTRE, "Erreur USB avec l'oscillo : "},
      {42, "Erreur USB avec l'oscillo : "},
  };
  for (auto [cause, debut] : cas) {
    SCOPED_TRACE(cause);
    const std::string ligne = LigneCause(cause, "LIBUSB_ERROR_BUSY");
    EXPECT_EQ(ligne.rfind(debut, 0), 0u) << ligne;
    EXPECT_EQ(ligne.substr(ligne.size() - 20), " (LIBUSB_ERROR_BUSY)");
    EXPECT_EQ(ligne.find('\n'), std::string::npos);
    EXPECT_EQ(LigneCause(cause, "").find('('), std::string::npos);  // no empty detail
  }
  EXPECT_EQ(LigneCause(QUILINK_CAUSE_AUCUNE, "x"), "");
}

TEST_F(Oscillo, SalvesVidesEtSynchroQuiNeVientPas) {
  Virtuel().SalvesVides(true);
  Acquiert();
  EXPECT_EQ(o->NbEchantillons(), 0);
  Virtuel().SalvesVides(false);
  Virtuel().SynchroAbsente(true);
  o->SetSynchro(1);
  Acquiert();
  Banc().Horloge().Avance(1'000'000);
  LitTout();
  EXPECT_EQ(o->NbEchantillons(), 0);
}

TEST_F(Oscillo, LeDestructeurArreteEtCoupeLAlimentation) {
  o->Lance();
  EXPECT_TRUE(Virtuel().Alimente());
  o.reset();
  EXPECT_FALSE(Virtuel().Alimente());
}

class SansOscillo : public SurLeBanc {
 protected:
  SansOscillo() : SurLeBanc("sans-oscillo") {}
};

TEST_F(SansOscillo, RienNeSeFaitEtLaReconnexionTrouveLOscillo) {
  TOscillo o;
  EXPECT_FALSE(o.EstConnecte());
  EXPECT_EQ(o.Version(), "Oscillo non branch\xE9");  // 8-bit, as the window shows model texts
  o.Lance();
  o.LitDonnees();
  EXPECT_EQ(o.NbEchantillons(), 0);
  EXPECT_FALSE(o.CorrigeDecalage());
  o.Connecte(true);
  EXPECT_FALSE(o.EstConnecte());
  EXPECT_EQ(o.Diagnostic().rfind("Pas de /dev/QuiloUSB-0 : ", 0), 0u) << o.Diagnostic();
  EXPECT_FALSE(o.PrendDebranchement());  // never connected: nothing was unplugged
  ASSERT_EQ(QuilinkSimulation("demo"), 1);
  o.Connecte(false);
  EXPECT_FALSE(o.EstConnecte());
  o.Connecte(true);
  EXPECT_TRUE(o.EstConnecte());
  EXPECT_TRUE(Banc().Oscillo()->Alimente());
}
