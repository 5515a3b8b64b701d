#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTimer>

#include "Controles.h"
#include "FenetreBanc.h"
#include "OscilloVirtuel.h"

namespace {

// The window, its zero offsets corrected as a user does first.
class ConfigAuto : public FenetreBanc {
 protected:
  void SetUp() override {
    FenetreBanc::SetUp();
    f->FormActivate();
    boites.reponses = {true};
    f->ToolButton1Click();
    Tick();
  }
  void Regle() {
    f->autosetBtnClick();
    ASSERT_TRUE(f->ReglageAuto);
    ASSERT_TRUE(TickJusqua([this] { return !f->ReglageAuto; }));
  }
};

}  // namespace

TEST_F(ConfigAuto, UnSinus1kHzDe1VCreteACreteSurLaVoie1) {
  Signal(std::make_shared<Sinus>(0.5, 1000), std::make_shared<Masse>());
  Regle();
  EXPECT_GE(f->Oscillo->Duree, 7);  // at least 1.5 periods on screen
  EXPECT_LT(f->Oscillo->Duree, 14);
  EXPECT_EQ(f->Oscillo->GetCalibre(1), 4);
  EXPECT_EQ(f->UpDown1->Position(), 4);
  EXPECT_EQ(f->CalibreEdit1->Texte(), "±800 mV");
  EXPECT_EQ(f->CouplageRG1->ItemIndex(), CouplageDC);
  EXPECT_EQ(f->Oscillo->Synchro, 1);
  EXPECT_EQ(f->SynchroRG->ItemIndex(), 1);
  // the mid level is read on ±20 V, where one code is 25 codes of ±800 mV
  EXPECT_NEAR(f->Oscillo->Seuil, 127, 32);
  EXPECT_EQ(f->CouplageRG2->ItemIndex(), CouplageGND);
  EXPECT_EQ(f->Oscillo->Couplage[2], CouplageGND);
  EXPECT_FALSE(f->GrapheTemps.Voie(2).Active);
  EXPECT_EQ(f->DureeUpDown->Position(), f->Oscillo->Duree);
  // the next tick arms free-running on the chosen settings, and the trigger comes
  Tick();
  EXPECT_TRUE(f->EnAcquisition);
  const int avant = f->GrapheTemps.NbPoints;
  f->GrapheTemps.NbPoints = 0;
  ASSERT_TRUE(TickJusqua([this] { return f->GrapheTemps.NbPoints > 0; }, 10));
  EXPECT_EQ(f->GrapheTemps.NbPoints, avant);
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
    EXPECT_EQ(f->Oscillo->GetCalibre(1), c.calibre);
    EXPECT_EQ(f->Oscillo->Synchro, 1);
    // a frame taken on the new settings stays inside the codes
    Tick();  // the last frame of the configuration, processed again
    f->GrapheTemps.NbPoints = 0;
    ASSERT_TRUE(TickJusqua([this] { return f->GrapheTemps.NbPoints > 0; }, 10));
    const auto &v = f->GrapheTemps.Voie(1).Valeurs;
    const auto [mi, ma] = std::minmax_element(v.begin(), v.begin() + f->GrapheTemps.NbPoints);
    EXPECT_LT(*ma, f->Oscillo->TensionMax(1) - 0.01);
    EXPECT_GT(*mi, f->Oscillo->TensionMin(1) + 0.01);
    EXPECT_LT(*ma, c.decalage + c.crete + 0.1);  // and shows the signal where it is
    EXPECT_GT(*mi, c.decalage - c.crete - 0.1);
  }
}

TEST_F(ConfigAuto, DeuxVoiesPlatesLaissentLaSynchroLibre) {
  Signal(std::make_shared<Continu>(0), std::make_shared<Masse>());
  Regle();
  EXPECT_EQ(f->Oscillo->Duree, 14);
  EXPECT_EQ(f->Oscillo->Synchro, 0);
  EXPECT_EQ(f->SynchroRG->ItemIndex(), 0);
  EXPECT_EQ(f->Oscillo->Seuil, 127);
  Tick();
  EXPECT_TRUE(f->EnAcquisition);  // free-running: frames keep coming
}

TEST_F(ConfigAuto, AvanceAussiSousMonocoup) {
  Signal(std::make_shared<Sinus>(0.5, 1000), std::make_shared<Masse>());
  f->MonocoupCB->click();
  Regle();
  EXPECT_EQ(f->Oscillo->GetCalibre(1), 4);
  EXPECT_FALSE(f->MonocoupCB->isChecked());
}

TEST_F(ConfigAuto, ArretInterromptLaConfiguration) {
  f->autosetBtnClick();
  f->StopBtnClick();
  EXPECT_FALSE(f->ReglageAuto);
  EXPECT_FALSE(f->Timer->isActive());
}
