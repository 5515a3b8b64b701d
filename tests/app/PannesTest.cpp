// Faults of the bench while the window works: the oscilloscope unplugged in the middle of
// a frame, bursts that come back empty or short, a trigger that never comes, the
// generator gone in the middle of a sweep. The window goes on, says it once and keeps
// the points taken.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <ostream>

#include "Demarrage.h"
#include "FenetreBanc.h"
#include "GenerateurNote.h"
#include "GenerateurVirtuel.h"
#include "ZelmUtil.h"

namespace {

// 800 kHz: a frame is ten periods of the demo's 1 kHz.
constexpr int Duree10ms = 9;

class Pannes : public FenetreBanc {
 protected:
  void Demarre() {
    auto *duree = C<UpDown>("DureeUpDown");
    duree->SetPosition(Duree10ms - 1);
    duree->Pas(+1);  // as a click: the handler sends it
    f->FormActivate();
    ASSERT_TRUE(Trames());
  }
  QString Statut() { return C<QStatusBar>("Header")->currentMessage(); }
  // Until `us` of bench time have passed (the device thread's waits make it pass).
  bool Passe(int64_t us) {
    const int64_t fin = Banc().Horloge().MaintenantUs() + us;
    return Attend([&] { return Banc().Horloge().MaintenantUs() >= fin; });
  }
  // The frame shown is whole and each channel is its own: the demo's 1 V sine on
  // channel 1 and the low-pass's 0.7 V on channel 2 in every quarter of the 8192
  // samples (a frame half made reads 0 V past its samples, swapped channels 0.7 V on 1),
  // and no jump between samples (a sample lost or made up; at 800 kHz the sine moves
  // half a code per sample, the noise a code or two).
  void TrameEntiere() {
    const TgrapheOsc &g = f->GrapheTemps();
    for (const auto *v : {&g.Voie1.Valeurs, &g.Voie2.Valeurs}) {
      double saut = 0;
      for (size_t i = 1; i < 8192; ++i) saut = std::max(saut, std::abs((*v)[i] - (*v)[i - 1]));
      EXPECT_LT(saut, 0.1);
    }
    for (int q = 0; q < 4; ++q) {
      SCOPED_TRACE(q);
      const auto debut = g.Voie1.Valeurs.begin() + q * 2048;
      const auto [min1, max1] = std::minmax_element(debut, debut + 2048);
      EXPECT_GT(*max1, 0.85);
      EXPECT_LT(*min1, -0.85);
      const auto debut2 = g.Voie2.Valeurs.begin() + q * 2048;
      const auto [min2, max2] = std::minmax_element(debut2, debut2 + 2048);
      EXPECT_GT(*max2, 0.5);
      EXPECT_LT(*max2, 0.85);
      EXPECT_LT(*min2, -0.5);
    }
  }
};

}  // namespace

// Unplugged after some of a frame's bursts: no half frame is shown, the points taken
// stay, one box; "Connexion" brings the same settings back and the frames are whole.
TEST_F(Pannes, DebrancheAuMilieuDUneTramePuisConnexion) {
  Demarre();
  C<RadioGroupe>("ModeRG")->SetItemIndex(int(ModeAffichage::Zelm));
  ASSERT_TRUE(Attend([this] { return f->GrapheZelm().Courbes[0].Valeur != ValeurIndefinie; }));
  f->EnregistreBtnClick();
  f->EnregistreBtnClick();
  ASSERT_EQ(f->GrapheZelm().NbPoints, 2);
  const double frequence = f->GrapheZelm().Courbes[0].Valeurs[1];
  ASSERT_TRUE(Trames());
  TrameEntiere();

  Virtuel().DebrancheEnTrame(6000);  // 3000 samples of each channel read, then gone
  ASSERT_TRUE(Attend([&] { return !f->EstConnecte(); }));
  const int traitements = f->Cycle().NbTraitements();
  Calme();  // whatever the device thread had to say, it has said
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(f->Cycle().NbTraitements(), traitements);
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo débranché"});
  EXPECT_TRUE(Statut().startsWith("Oscillo débranché : ")) << Statut().toStdString();
  EXPECT_EQ(f->GrapheZelm().NbPoints, 2);
  TrameEntiere();  // the last whole frame is still the one shown

  Virtuel().Debranche(false);
  f->ConnectBtnClick();
  ASSERT_TRUE(Attend([&] { return f->EstConnecte(); }));
  ASSERT_TRUE(Trames(2));
  TrameEntiere();
  EXPECT_EQ(f->Reglages().Duree(), Duree10ms);
  EXPECT_EQ(f->GrapheTemps().NbPoints, 8000);
  EXPECT_EQ(f->GrapheZelm().NbPoints, 2);
  EXPECT_EQ(f->GrapheZelm().Courbes[0].Valeurs[1], frequence);
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo débranché"});
}

// The same in the middle of a sweep: its points stay, and after "Connexion" the sweep
// takes the point it was at and goes on to the end, each frequency played once.
TEST_F(Pannes, DebrancheAuMilieuDUnBalayagePuisConnexion) {
  GenerateurNote generateur;
  Ouvre(&generateur);
  f->FormActivate();
  ASSERT_TRUE(Attend([this] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
  C<UpDown>("DureeUpDown")->SetPosition(6);
  C<UpDown>("DureeUpDown")->Pas(+1);  // 2 ms: two periods of the demo's 1 kHz
  TgrapheMesure &z = f->GrapheZelm();
  z.Courbes[0].Mini = 100;
  z.Courbes[0].Maxi = 1000;
  z.NbPointsBalayage = 16;
  z.DelaiBalayage = 100;
  C<RadioGroupe>("ModeRG")->SetItemIndex(int(ModeAffichage::ZelmAutomatique));
  f->EnregistreBtnClick();
  ASSERT_TRUE(Attend([&] { return z.NbPoints >= 3; }));
  Virtuel().DebrancheEnTrame(2000);
  ASSERT_TRUE(Attend([&] { return !f->EstConnecte(); }));
  Calme();
  const int pris = z.NbPoints;
  EXPECT_GE(pris, 3);
  EXPECT_LT(pris, 16);
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo débranché"});

  Virtuel().Debranche(false);
  f->ConnectBtnClick();
  ASSERT_TRUE(Attend([&] { return !f->Mesure().BalayageEnCours(); }));
  EXPECT_EQ(z.NbPoints, 16);
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo débranché"});
  const std::vector<double> jouees = generateur.Frequences();
  ASSERT_EQ(jouees.size(), 16u);
  for (int k = 0; k < 16; ++k) EXPECT_DOUBLE_EQ(jouees[size_t(k)], 100 + k * 56.25) << k;
  // every point from a whole frame of the demo's 1 kHz sine (its stand-in for the generator)
  for (int k = 0; k < 16; ++k) {
    EXPECT_NEAR(z.Courbes[0].Valeurs[size_t(k)], 1000, 10) << k;
    EXPECT_NEAR(z.Courbes[1].Valeurs[size_t(k)], 0.707, 0.05) << k;
  }
}

namespace {

struct CasSalves {
  const char *nom;
  enum { Vides, Courtes, Coupee } genre;  // empty for a while, short for good, one cut
  int octets;
};
void PrintTo(const CasSalves &c, std::ostream *os) { *os << c.nom; }

class Salves : public Pannes, public testing::WithParamInterface<CasSalves> {};

}  // namespace

// Empty bursts hold the frame back, short ones make it in more bursts, a burst that loses
// a byte makes it start over: either way the frame shown is whole, no box comes, and the
// frames go on.
TEST_P(Salves, LaTrameMontreeResteEntiere) {
  Demarre();
  const CasSalves c = GetParam();
  if (c.genre == CasSalves::Vides) {
    const int traitements = f->Cycle().NbTraitements();
    Virtuel().SalvesVidesEnTrame(c.octets);  // 3000 samples of each channel, then nothing
    ASSERT_TRUE(Passe(500'000));
    QCoreApplication::processEvents();
    // at most the frame under way when the fault was set
    EXPECT_LE(f->Cycle().NbTraitements(), traitements + 1);
    EXPECT_TRUE(f->Cycle().EnAcquisition());
    TrameEntiere();  // no part of the frame held back is shown
    Virtuel().SalvesVides(false);
  } else if (c.genre == CasSalves::Coupee) {
    Virtuel().CoupeEnTrame(c.octets);
  } else {
    Virtuel().SalvesCourtes(c.octets);
  }
  ASSERT_TRUE(Trames(3));
  TrameEntiere();
  EXPECT_EQ(f->GrapheTemps().NbPoints, 8000);
  EXPECT_TRUE(boites.vues.empty()) << boites.Textes().join(" / ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pannes, Salves,
                         testing::Values(CasSalves{"Vides", CasSalves::Vides, 6000},
                                         CasSalves{"UnOctet", CasSalves::Courtes, 1},
                                         CasSalves{"SeptOctets", CasSalves::Courtes, 7},
                                         CasSalves{"SoixanteTroisOctets", CasSalves::Courtes, 63},
                                         // a burst of an odd byte count
                                         CasSalves{"CoupeeImpaire", CasSalves::Coupee, 6001}),
                         [](const auto &i) { return std::string(i.param.nom); });

namespace {

struct CasSynchro {
  const char *nom;
  int synchro;  // the trigger source chosen
};
void PrintTo(const CasSynchro &c, std::ostream *os) { *os << c.nom; }

class SansSynchro : public Pannes, public testing::WithParamInterface<CasSynchro> {};

}  // namespace

// A trigger that never comes: the window waits and says so once, with no box; the
// free-running choice brings frames at once.
TEST_P(SansSynchro, LaFenetreAttendPuisLesTramesLibresViennent) {
  Demarre();
  const int source = GetParam().synchro;
  if (source == SynchroExterne) Banc().DefinitSourceExterne(std::make_shared<Continu>(0.0));
  else Virtuel().SynchroAbsente(true);
  C<RadioGroupe>("SynchroRG")->SetItemIndex(source);
  Calme();
  const int traitements = f->Cycle().NbTraitements();
  ASSERT_TRUE(Passe(2'000'000));
  QCoreApplication::processEvents();
  EXPECT_EQ(f->Cycle().NbTraitements(), traitements);
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_EQ(Statut(), "Attente de synchronisation");
  EXPECT_TRUE(boites.vues.empty()) << boites.Textes().join(" / ").toStdString();

  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroRelaxe);
  ASSERT_TRUE(Trames(2));
  TrameEntiere();
  EXPECT_TRUE(boites.vues.empty());
}

// Stop while it waits: the device is left idle, nothing more comes, and "Arme" waits again.
TEST_P(SansSynchro, ArretPendantLAttente) {
  Demarre();
  const int source = GetParam().synchro;
  if (source == SynchroExterne) Banc().DefinitSourceExterne(std::make_shared<Continu>(0.0));
  else Virtuel().SynchroAbsente(true);
  C<RadioGroupe>("SynchroRG")->SetItemIndex(source);
  ASSERT_TRUE(Passe(500'000));
  const int traitements = f->Cycle().NbTraitements();
  f->StopBtnClick();
  Calme();
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  EXPECT_FALSE(f->Cycle().TimerActif());
  EXPECT_TRUE(C<QToolButton>("ArmeBtn")->isVisible());
  EXPECT_FALSE(Virtuel().Alimente());
  // the device thread rests: bench time stands still
  const int64_t arret = Banc().Horloge().MaintenantUs();
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  Calme();
  EXPECT_EQ(Banc().Horloge().MaintenantUs(), arret);
  f->ArmeBtnClick();
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  ASSERT_TRUE(Passe(200'000));
  QCoreApplication::processEvents();
  EXPECT_EQ(f->Cycle().NbTraitements(), traitements);
  EXPECT_TRUE(boites.vues.empty()) << boites.Textes().join(" / ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pannes, SansSynchro,
                         testing::Values(CasSynchro{"Voie1", SynchroVoie1},
                                         CasSynchro{"Voie2", SynchroVoie2},
                                         CasSynchro{"Externe", SynchroExterne}),
                         [](const auto &i) { return std::string(i.param.nom); });

namespace {

// The window with the generator libraries loaded: channel 1 is the generator's output.
class PerteGenerateur : public Pannes {
 protected:
  void SetUp() override {
    Pannes::SetUp();
    InitialiseModules(documents.path());
    Ouvre(&generateurs);
    f->FormActivate();
    ASSERT_TRUE(Attend([this] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
    C<UpDown>("DureeUpDown")->SetPosition(6);
    C<UpDown>("DureeUpDown")->Pas(+1);  // 2 ms
    generateur = std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil("QuiloGenUSB-0"));
    ASSERT_TRUE(generateur);
  }
  void TearDown() override {
    f.reset();
    FinaliseModules();
    Pannes::TearDown();
  }
  QTemporaryDir documents;
  GenerateursCharges generateurs;
  std::shared_ptr<GenerateurVirtuel> generateur;
};

}  // namespace

// The generator gone in the middle of a sweep: the sweep stops on the points it took,
// which stay on the diagram; one box says it; the acquisition goes on; plugged in again,
// an activation finds the generator and offers the sweep again.
TEST_F(PerteGenerateur, LeBalayageSArreteSurSesPointsAvecUnMessage) {
  TgrapheMesure &z = f->GrapheZelm();
  z.Courbes[0].Mini = 100;
  z.Courbes[0].Maxi = 1000;
  z.NbPointsBalayage = 16;
  z.DelaiBalayage = 100;
  auto *modes = C<RadioGroupe>("ModeRG");
  modes->SetItemIndex(int(ModeAffichage::ZelmAutomatique));
  f->ActiveGammesAuto(true);  // each point on a time base for its frequency
  f->EnregistreBtnClick();
  ASSERT_TRUE(Attend([&] { return z.NbPoints >= 4; }));
  generateur->Debranche(true);
  ASSERT_TRUE(Attend([&] { return !f->Mesure().BalayageEnCours(); }));
  const int pris = z.NbPoints;
  EXPECT_GE(pris, 4);
  EXPECT_LT(pris, 16);
  const QString texte =
      QStringLiteral("Générateur débranché : balayage arrêté après %1 points sur 16").arg(pris);
  EXPECT_EQ(boites.Textes(), QStringList{texte});
  // the points taken are the generator's, each at its step; the last may have been taken
  // as the generator went (nothing tells until the next step), on the bench's resting sine
  for (int k = 0; k + 1 < pris; ++k)
    EXPECT_NEAR(z.Courbes[0].Valeurs[size_t(k)] / (100 + k * 56.25), 1, 0.01) << k;
  EXPECT_EQ(f->TypeGenerateur(), GenreGenerateur::Aucun);
  EXPECT_EQ(f->Mode(), ModeAffichage::Zelm);  // the diagram stays, with its points
  EXPECT_TRUE(C<QToolButton>("EnregistreBtn")->isEnabled());
  EXPECT_TRUE(C<QToolButton>("RegSaveBtn")->isEnabled());  // they can be exported

  ASSERT_TRUE(Trames(3));  // the acquisition goes on, and nothing more is said
  EXPECT_EQ(z.NbPoints, pris);
  EXPECT_EQ(boites.Textes(), QStringList{texte});

  generateur->Debranche(false);
  f->FormActivate();
  ASSERT_TRUE(Attend([this] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
  EXPECT_EQ(modes->NbItems(), 4);  // "Zelm automatique" is offered again
  EXPECT_EQ(z.NbPoints, pris);
  modes->SetItemIndex(int(ModeAffichage::ZelmAutomatique));
  f->EnregistreBtnClick();  // a new sweep, on the generator opened anew
  ASSERT_TRUE(Attend([&] { return z.NbPoints >= 2 || !f->Mesure().BalayageEnCours(); }));
  EXPECT_TRUE(f->Mesure().BalayageEnCours());  // a dead handle would have ended it at once
  EXPECT_EQ(boites.Textes(), QStringList{texte});
}
