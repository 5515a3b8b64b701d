#include <gtest/gtest.h>

#include <QCheckBox>
#include <algorithm>

#include "FenetreBanc.h"
#include "Texte8.h"

namespace {

// The window, its zero offsets corrected as a user does first.
class ConfigAuto : public FenetreBanc {
 protected:
  void SetUp() override {
    FenetreBanc::SetUp();
    f->FormActivate();
    boites.reponses = {true};
    f->ToolButton1Click();
    ASSERT_TRUE(Attend([this] { return !f->EnCorrection(); }));
  }
  // From a whole second of bench time and the same noise, the device thread at
  // rest: each frame of the configuration is the same from run to run (a signal
  // of a few codes can count noise as level changes on a short time base).
  void Depart() {
    f->ArreteAcquisition();
    Calme();
    Banc().Horloge().Avance(1'000'000 - Banc().Horloge().MaintenantUs() % 1'000'000);
    Virtuel().Reensemence(1);
    f->autosetBtnClick();
  }
  void Regle() {
    Depart();
    ASSERT_TRUE(f->Cycle().ReglageAuto());
    ASSERT_TRUE(Attend([this] { return !f->Cycle().ReglageAuto(); }));
  }
  // The held last frame processed again, which arms free-running; then a frame on
  // the chosen settings.
  void TrameSurLesNouveauxReglages() {
    f->Cycle().TimerTimer();
    ASSERT_TRUE(f->Cycle().EnAcquisition());
    ASSERT_TRUE(Trames());
  }
};

}  // namespace

TEST_F(ConfigAuto, UnSinus1kHzDe1VCreteACreteSurLaVoie1) {
  Signal(std::make_shared<Sinus>(0.5, 1000), std::make_shared<Masse>());
  Regle();
  const ReglagesAcquis &r = f->Reglages();
  EXPECT_GE(r.Duree(), 7);  // at least 1.5 periods on screen
  EXPECT_LT(r.Duree(), 14);
  EXPECT_EQ(r.Calibre(1), 4);
  EXPECT_EQ(C<UpDown>("UpDown1")->Position(), 4);
  EXPECT_EQ(C<EditLibelle>("CalibreEdit1")->Texte(), "±800 mV");
  EXPECT_EQ(C<RadioGroupe>("CouplageRG1")->ItemIndex(), CouplageDC);
  EXPECT_EQ(r.Synchro(), SynchroVoie1);
  EXPECT_EQ(C<RadioGroupe>("SynchroRG")->ItemIndex(), 1);
  // the mid level is read on ±20 V, where one code is 25 codes of ±800 mV
  EXPECT_NEAR(r.Seuil(), 127, 32);
  EXPECT_EQ(C<RadioGroupe>("CouplageRG2")->ItemIndex(), CouplageGND);
  EXPECT_EQ(r.CouplageVoie(2), CouplageGND);
  EXPECT_FALSE(f->GrapheTemps().Voie(2).Active);
  EXPECT_EQ(C<UpDown>("DureeUpDown")->Position(), r.Duree());
  // the next tick arms free-running on the chosen settings, and the trigger comes
  TrameSurLesNouveauxReglages();
  EXPECT_EQ(f->GrapheTemps().NbPoints, BasesDeTemps[size_t(r.Duree())].points);
  EXPECT_FALSE(f->GrapheTemps().Voie(2).Active);
}

TEST_F(ConfigAuto, LeCalibreTientLeSignalSansLeCouper) {
  struct Cas { double crete, decalage; int calibre; } cas[] = {  // volts
      {1.0, 0, 5},    // 2 V peak-to-peak
      {0.5, 2.5, 6},  // from 2 V to 3 V
  };
  for (auto c : cas) {
    SCOPED_TRACE(testing::Message() << c.crete << " V + " << c.decalage << " V");
    Signal(std::make_shared<Sinus>(c.crete, 1000, c.decalage), std::make_shared<Masse>());
    Regle();
    EXPECT_EQ(f->Reglages().Calibre(1), c.calibre);
    EXPECT_EQ(f->Reglages().Synchro(), SynchroVoie1);
    // a frame taken on the new settings stays inside the codes
    TrameSurLesNouveauxReglages();
    const auto &v = f->GrapheTemps().Voie(1).Valeurs;
    const auto [mi, ma] = std::minmax_element(v.begin(), v.begin() + f->GrapheTemps().NbPoints);
    EXPECT_LT(*ma, f->Reglages().TensionMax(1) - 0.01);
    EXPECT_GT(*mi, f->Reglages().TensionMin(1) + 0.01);
    EXPECT_LT(*ma, c.decalage + c.crete + 0.1);  // and shows the signal where it is
    EXPECT_GT(*mi, c.decalage - c.crete - 0.1);
  }
}

TEST_F(ConfigAuto, DeuxVoiesPlatesLaissentLaSynchroLibre) {
  Signal(std::make_shared<Continu>(0), std::make_shared<Masse>());
  Regle();
  EXPECT_EQ(f->Reglages().Duree(), 14);
  EXPECT_EQ(f->Reglages().Synchro(), SynchroRelaxe);
  EXPECT_EQ(C<RadioGroupe>("SynchroRG")->ItemIndex(), 0);
  EXPECT_EQ(f->Reglages().Seuil(), 127);
  TrameSurLesNouveauxReglages();  // free-running: frames keep coming
  EXPECT_TRUE(f->Cycle().EnAcquisition());
}

// The group already shows the coupling chosen, so it sends no click: the settings
// sent must follow what it shows all the same.
TEST_F(ConfigAuto, UnGroupeQuiMontreDejaGNDDonneGNDAuModele) {
  C<RadioGroupe>("CouplageRG2")->SetItemIndex(CouplageGND);
  Signal(std::make_shared<Sinus>(0.5, 1000), std::make_shared<Masse>());
  Regle();
  EXPECT_EQ(C<RadioGroupe>("CouplageRG2")->ItemIndex(), CouplageGND);
  EXPECT_EQ(f->Reglages().CouplageVoie(2), CouplageGND);
  EXPECT_EQ(f->Reglages().CouplageVoie(1), CouplageDC);
}

TEST_F(ConfigAuto, AvanceAussiSousMonocoup) {
  Signal(std::make_shared<Sinus>(0.5, 1000), std::make_shared<Masse>());
  C<QCheckBox>("MonocoupCB")->click();
  Regle();
  EXPECT_EQ(f->Reglages().Calibre(1), 4);
  EXPECT_FALSE(C<QCheckBox>("MonocoupCB")->isChecked());
}

// Stopped half-way: the panel shows what the oscilloscope is set to, not what it
// showed before the configuration.
TEST_F(ConfigAuto, ArretInterromptLaConfigurationEtLePanneauDitLesReglages) {
  Signal(std::make_shared<Sinus>(0.5, 1000), std::make_shared<Masse>());
  Depart();
  ASSERT_TRUE(Trames(2));  // two frames: the time base has grown
  f->StopBtnClick();
  EXPECT_FALSE(f->Cycle().ReglageAuto());
  EXPECT_FALSE(f->Cycle().TimerActif());
  const ReglagesAcquis &r = f->Reglages();
  ASSERT_GE(r.Duree(), 1);
  EXPECT_EQ(C<UpDown>("DureeUpDown")->Position(), r.Duree());
  EXPECT_EQ(C<EditLibelle>("DureeEdit")->Texte(), VersQt(BasesDeTemps[size_t(r.Duree())].duree));
  for (int c : {1, 2}) {
    SCOPED_TRACE(c);
    EXPECT_EQ(r.Calibre(c), 8);
    EXPECT_EQ(C<UpDown>(c == 1 ? "UpDown1" : "UpDown2")->Position(), 8);
    EXPECT_EQ(C<EditLibelle>(c == 1 ? "CalibreEdit1" : "CalibreEdit2")->Texte(), "±20 V");
  }
}
