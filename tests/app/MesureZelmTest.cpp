#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include "FenetreBanc.h"
#include "GenerateurNote.h"
#include "ZelmUtil.h"

namespace {

class Mesure : public FenetreBanc {
 protected:
  void SetUp() override {
    FenetreBanc::SetUp();
    Ouvre(&generateur);
    f->FormActivate();
    ASSERT_TRUE(Attend([this] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
    C<UpDown>("DureeUpDown")->SetPosition(6);
    C<UpDown>("DureeUpDown")->Pas(+1);  // 2 ms: two periods of the demo's 1 kHz
  }
  // Mode 2 and a frame whose values are there.
  void ModeZelm() {
    C<RadioGroupe>("ModeRG")->SetItemIndex(2);
    ASSERT_TRUE(Attend([this] { return f->GrapheZelm().Courbes[0].Valeur != ValeurIndefinie; }));
  }
  int N() { return f->GrapheZelm().NbPoints; }
  GenerateurNote generateur;
};

}  // namespace

TEST_F(Mesure, DesPointsALaMainQuOnDefaitEtQuOnEfface) {
  ModeZelm();
  TgrapheMesure &z = f->GrapheZelm();
  z.Courbes[3].Valeurs[0] = 42;  // stale: curve 3 is not shown
  f->EnregistreBtnClick();
  f->EnregistreBtnClick();
  ASSERT_EQ(N(), 2);
  EXPECT_NEAR(z.Courbes[0].Valeurs[0], 1000, 10);        // the measured frequency
  EXPECT_NEAR(z.Courbes[1].Valeurs[1], 0.707, 0.05);     // channel 1's RMS value
  EXPECT_EQ(z.Courbes[3].Valeurs[0], ValeurIndefinie);  // nothing stale is kept
  EXPECT_TRUE(C<QToolButton>("UndoBtn")->isEnabled());
  f->UndoBtnClick();
  EXPECT_EQ(N(), 1);
  boites.reponses = {false};
  f->ResetBtnClick();  // answered No: the points stay
  EXPECT_EQ(N(), 1);
  EXPECT_EQ(boites.Textes(), QStringList{"Suppression de l'acquisition courante"});
  f->ResetBtnClick();  // Yes
  EXPECT_EQ(N(), 0);
  EXPECT_FALSE(C<QToolButton>("UndoBtn")->isEnabled());
  f->UndoBtnClick();  // at 0: nothing
  EXPECT_EQ(N(), 0);
}

TEST_F(Mesure, UneVoieSansValeurRefuseLePoint) {
  // a gain over a grounded channel, which reads exactly 0 V: no value
  TCourbeMesure &gain = f->GrapheZelm().Courbes[2];
  gain.SetGrandeur(GrandeurGain);
  gain.VoieMesure = 1;
  gain.VoieReference = 2;
  gain.Active = true;
  C<RadioGroupe>("CouplageRG2")->SetItemIndex(CouplageGND);
  ModeZelm();
  ASSERT_TRUE(Attend([&] { return gain.Valeur == ValeurIndefinie && N() == 0; }));
  f->EnregistreBtnClick();
  EXPECT_EQ(N(), 0);
  EXPECT_EQ(boites.Textes(), QStringList{"Valeur courante incorrecte"});
  EXPECT_EQ(C<QLabel>("Label1")->text(), "Erreur d'acquisition sur une voie");
}

TEST_F(Mesure, UnBalayageDe100A1000HzEn16Points) {
  TgrapheMesure &z = f->GrapheZelm();
  z.Courbes[0].Mini = 100;
  z.Courbes[0].Maxi = 1000;
  z.NbPointsBalayage = 16;
  z.DelaiBalayage = 100;
  C<RadioGroupe>("ModeRG")->SetItemIndex(3);
  auto *acquisition = C<QToolButton>("EnregistreBtn");
  ASSERT_TRUE(acquisition->isEnabled());
  const int64_t debut = Banc().Horloge().MaintenantUs();
  f->EnregistreBtnClick();
  EXPECT_TRUE(f->Mesure().BalayageEnCours());
  EXPECT_FALSE(acquisition->isEnabled());
  ASSERT_TRUE(Attend([&] { return !f->Mesure().BalayageEnCours(); }));
  EXPECT_EQ(N(), 16);
  // on the bench's time, each point costs its delay, one arming's two 50 ms waits and its
  // 2 ms frame: a free-running arming replaced by the next step would add 100 ms
  const double parPointMs = double(Banc().Horloge().MaintenantUs() - debut) / 16 / 1000;
  EXPECT_LT(parPointMs, 100 + 100 + 2 + 2 * TravailAppareil::IntervalleMs) << parPointMs;
  EXPECT_TRUE(acquisition->isEnabled());
  const std::vector<double> jouees = generateur.Frequences();
  ASSERT_EQ(jouees.size(), 16u);
  for (int k = 0; k < 16; ++k) EXPECT_DOUBLE_EQ(jouees[size_t(k)], 100 + k * 56.25) << k;
}

TEST_F(Mesure, ArretFinitLeBalayage) {
  TgrapheMesure &z = f->GrapheZelm();
  z.Courbes[0].Mini = 100;
  z.Courbes[0].Maxi = 1000;
  z.NbPointsBalayage = 64;
  C<RadioGroupe>("ModeRG")->SetItemIndex(3);
  f->EnregistreBtnClick();
  ASSERT_TRUE(Attend([&] { return N() >= 2; }));
  f->StopBtnClick();
  EXPECT_FALSE(f->Mesure().BalayageEnCours());
  EXPECT_TRUE(C<QCheckBox>("MonocoupCB")->isChecked());
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  const int n = N();
  Calme();
  QCoreApplication::processEvents();
  EXPECT_EQ(N(), n);
  EXPECT_LT(n, 64);
}

TEST_F(Mesure, QuitterLeModeAutomatiqueFinitLeBalayage) {
  f->GrapheZelm().Courbes[0].Mini = 100;
  f->GrapheZelm().Courbes[0].Maxi = 1000;
  C<RadioGroupe>("ModeRG")->SetItemIndex(3);
  f->EnregistreBtnClick();  // no dialog confirmed yet: 256 points, 500 ms
  EXPECT_EQ(f->Mesure().BalayageCourant().Parametres().points, 256);
  ASSERT_TRUE(Attend([&] { return N() >= 1; }));
  C<RadioGroupe>("ModeRG")->SetItemIndex(2);
  EXPECT_FALSE(f->Mesure().BalayageEnCours());
}
