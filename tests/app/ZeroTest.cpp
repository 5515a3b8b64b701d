#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QToolButton>

#include "FenetreBanc.h"
#include "OscilloVirtuel.h"

namespace {

class Zero : public FenetreBanc {
 protected:
  // "Zéro" answered OK, then its end.
  void Corrige() {
    boites.reponses = {true};
    f->ToolButton1Click();
    ASSERT_TRUE(f->EnCorrection());
    ASSERT_TRUE(Attend([this] { return !f->EnCorrection(); }));
  }
  void AttendLesErreursDuBanc() {
    for (int voie : {1, 2})
      for (int calibre = 0; calibre < 9; ++calibre)
        for (int colonne : {0, 1}) {
          SCOPED_TRACE(testing::Message() << voie << "/" << calibre << "/" << colonne);
          // the mean's integer division may lose one code
          EXPECT_NEAR(f->Correction()[voie][calibre][colonne],
                      -OscilloVirtuel::ErreurDecalage(voie, calibre, colonne), 1);
        }
  }
};

}  // namespace

TEST_F(Zero, RangeLesDecalagesDuBancEtReprendLeLibre) {
  f->FormActivate();
  ASSERT_TRUE(Trames());
  Corrige();
  EXPECT_EQ(boites.Textes(), QStringList{"Correction du décalage des voies"});
  AttendLesErreursDuBanc();
  // both pauses: free-running resumes, not the forced single shot of the second
  EXPECT_FALSE(C<QCheckBox>("MonocoupCB")->isChecked());
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Zero, AnnuleNeCorrigeRienEtReprend) {
  f->FormActivate();
  boites.reponses = {false};
  f->ToolButton1Click();
  EXPECT_FALSE(f->EnCorrection());
  Calme();
  EXPECT_EQ(f->Correction()[1][8][0], 0);
  EXPECT_TRUE(f->Cycle().EnAcquisition());
}

TEST_F(Zero, PendantLaCorrectionRienNArme) {
  f->FormActivate();
  boites.reponses = {true};
  f->ToolButton1Click();
  ASSERT_TRUE(f->EnCorrection());
  f->FormActivate();  // the confirmation box closing activates the window
  f->ArmeBtnClick();
  C<RadioGroupe>("SynchroRG")->SetItemIndex(1);
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  ASSERT_TRUE(Attend([this] { return !f->EnCorrection(); }));
  AttendLesErreursDuBanc();
}

// Frames that never come: the user is told, and the corrections found before stay.
TEST_F(Zero, UnZeroSansMesureLeDitEtGardeLesCorrections) {
  f->FormActivate();
  Corrige();
  const TOscillo::TableCorrection avant = f->Correction();
  Virtuel().SalvesVides(true);
  boites.vues.clear();
  Corrige();
  ASSERT_EQ(boites.vues.size(), 2u);
  EXPECT_EQ(boites.vues[1].genre, BoitesScriptees::Trace::Erreur);
  EXPECT_TRUE(boites.vues[1].texte.contains("Les corrections précédentes sont conservées"));
  EXPECT_EQ(f->Correction(), avant);
  // the device kept them too: a frame taken now is corrected as before
  Virtuel().SalvesVides(false);
  TOscillo::TableCorrection surLeFil{};
  std::promise<void> lu;
  f->Appareil().Travail().Execute([&](TOscillo *o) {
    surLeFil = o->Correction();
    lu.set_value();
  });
  lu.get_future().wait();
  EXPECT_EQ(surLeFil, avant);
}

// Closing at once after confirming: the correction is cut short on a live
// oscilloscope, and the device is left stopped, its supply off.
TEST_F(Zero, QuitterJusteApresLaConfirmation) {
  f->FormActivate();
  boites.reponses = {true};
  f->ToolButton1Click();
  C<QToolButton>("ExitBtn")->click();
  EXPECT_TRUE(f->Fermeture());
  EXPECT_FALSE(f->EnCorrection());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Virtuel().Alimente());
  QCoreApplication::processEvents();  // nothing comes back from the ended thread
  f->LanceAcquisition();
  EXPECT_FALSE(f->Cycle().EnAcquisition());
}

TEST_F(Zero, QuitterPendantUneTrameLente) {
  C<UpDown>("DureeUpDown")->SetPosition(16);
  C<UpDown>("DureeUpDown")->Pas(+1);  // 5 s of samples
  f->FormActivate();
  f->close();
  EXPECT_TRUE(f->Fermeture());
  EXPECT_FALSE(f->Cycle().TimerActif());
  EXPECT_FALSE(Virtuel().Alimente());
}

TEST_F(Zero, ArretPendantUneTrameLenteLAbandonne) {
  C<UpDown>("DureeUpDown")->SetPosition(13);
  C<UpDown>("DureeUpDown")->Pas(+1);  // 500 ms
  f->FormActivate();
  f->StopBtnClick();
  Calme();
  EXPECT_TRUE(f->Cycle().ArretDemande());
  EXPECT_FALSE(f->Cycle().TimerActif());
  EXPECT_EQ(f->GrapheTemps().NbPoints, 0);
  EXPECT_EQ(f->Cycle().NbTraitements(), 0);
  EXPECT_TRUE(C<QCheckBox>("MonocoupCB")->isChecked());
}
