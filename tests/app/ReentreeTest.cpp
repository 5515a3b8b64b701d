#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTimer>

#include "Controles.h"
#include "FenetreBanc.h"
#include "OscilloVirtuel.h"

namespace {

class Reentree : public FenetreBanc {
 protected:
  // Runs `action` the next time the window lets pending messages through.
  void Pendant(std::function<void()> action) {
    QTimer::singleShot(0, f.get(), std::move(action));
  }
};

}  // namespace

TEST_F(Reentree, ZeroRangeLesDecalagesDuBancEtReprendLeLibre) {
  f->FormActivate();
  Tick();
  boites.reponses = {true};
  f->ToolButton1Click();
  EXPECT_EQ(boites.Textes(), QStringList{"Correction du décalage des voies"});
  for (int voie : {1, 2})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int colonne : {0, 1}) {
        SCOPED_TRACE(testing::Message() << voie << "/" << calibre << "/" << colonne);
        // the mean's integer division may lose one code
        EXPECT_NEAR(f->Oscillo->Correction[voie][calibre][colonne],
                    -OscilloVirtuel::ErreurDecalage(voie, calibre, colonne), 1);
      }
  // both pauses: free-running resumes, not the forced single shot of the second
  EXPECT_FALSE(f->MonocoupCB->isChecked());
  EXPECT_TRUE(f->EnAcquisition);
}

TEST_F(Reentree, ZeroAnnuleNeCorrigeRienEtReprend) {
  f->FormActivate();
  boites.reponses = {false};
  f->ToolButton1Click();
  EXPECT_EQ(f->Oscillo->Correction[1][8][0], 0);
  EXPECT_TRUE(f->EnAcquisition);
}

TEST_F(Reentree, PendantLaCorrectionRienNArme) {
  f->FormActivate();
  bool armee = true;
  Pendant([&] {
    ASSERT_TRUE(f->EnCorrection());
    f->FormActivate();  // the confirmation box closing activates the window
    f->ArmeBtnClick();
    f->SynchroRG->SetItemIndex(1);
    armee = f->EnAcquisition;
  });
  boites.reponses = {true};
  f->ToolButton1Click();
  EXPECT_FALSE(armee);
  EXPECT_NEAR(f->Oscillo->Correction[1][8][0], -OscilloVirtuel::ErreurDecalage(1, 8, 0), 1);
}

TEST_F(Reentree, FermerPendantLaCorrectionLibereLOscilloApres) {
  f->FormActivate();
  Pendant([&] { f->close(); });
  boites.reponses = {true};
  f->ToolButton1Click();  // goes on to its end on a live oscilloscope
  EXPECT_TRUE(f->Fermeture);
  EXPECT_EQ(f->Oscillo, nullptr);
  EXPECT_FALSE(f->Timer->isActive());
  EXPECT_FALSE(f->TimerZelmAuto->isActive());
}

TEST_F(Reentree, FermerPendantUnTopLibereLOscilloApresLeTop) {
  f->FormActivate();
  bool vivant = false;
  Pendant([&] {
    f->close();
    vivant = f->Oscillo != nullptr;  // the tick still reads it
  });
  Tick();
  EXPECT_TRUE(vivant);
  EXPECT_EQ(f->Oscillo, nullptr);
  EXPECT_FALSE(f->Timer->isActive());
  f->Cycle->TimerTimer();  // a late tick finds nothing to do
  f->LanceAcquisition();
  EXPECT_FALSE(f->EnAcquisition);
}

TEST_F(Reentree, LeTopNeSeRelancePasLuiMeme) {
  f->DureeUpDown->SetPosition(13);
  f->DureeUpDown->Pas(+1);  // a slow frame: samples keep coming with bench time
  f->FormActivate();
  int avant = -1, apres = -1;
  Pendant([&] {
    Banc().Horloge().Avance(200'000);
    avant = f->Oscillo->NbEchantillons;
    f->Cycle->TimerTimer();
    apres = f->Oscillo->NbEchantillons;
  });
  Tick();
  EXPECT_EQ(apres, avant);  // the nested tick read nothing
  EXPECT_TRUE(f->Timer->isActive());
}

TEST_F(Reentree, ArretPendantUnTopAbandonneLaTrame) {
  f->DureeUpDown->SetPosition(13);
  f->DureeUpDown->Pas(+1);
  f->FormActivate();
  Pendant([&] { f->StopBtnClick(); });
  Tick();
  EXPECT_TRUE(f->ArretDemande);
  EXPECT_FALSE(f->Timer->isActive());
  EXPECT_EQ(f->GrapheTemps.NbPoints, 0);
  EXPECT_TRUE(f->MonocoupCB->isChecked());
}

TEST_F(Reentree, ArretPendantLeTraitementDUneTrameResteArrete) {
  f->FormActivate();
  // pressed while the complete frame is being shown, when no acquisition is armed
  std::function<void()> guette = [&] {
    if (f->EnAcquisition) return QTimer::singleShot(0, f.get(), guette);
    f->StopBtnClick();
  };
  Pendant(guette);
  ASSERT_TRUE(TickJusqua([&] { return f->GrapheTemps.NbPoints > 0; }));
  EXPECT_FALSE(f->Timer->isActive());
  Tick();
  Tick();
  EXPECT_FALSE(f->EnAcquisition);  // stopped stays stopped
  EXPECT_TRUE(f->MonocoupCB->isChecked());
  f->ModeRG->SetItemIndex(1);  // and the next mode change resumes
  EXPECT_TRUE(f->EnAcquisition);
}
