#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTest>
#include <QToolButton>

#include "Aide.h"
#include "FenetreBanc.h"
#include "OptFFT.h"
#include "SaisieGrecque.h"
#include "Texte8.h"
#include "ZelmCfg.h"

namespace {

TCourbeMesure Courbe() {
  TCourbeMesure c("VB", 2, "V");
  c.SetGrandeur(GrandeurEfficace);
  return c;
}

}  // namespace

TEST(TVoieZelmDlg, LaReferenceNApparaitQuePourLaPhaseEtLeGain) {
  TCourbeMesure c = Courbe();
  TVoieZelmDlg d(c);
  for (int g = GrandeurEfficace; g < NbGrandeurs; ++g) {
    SCOPED_TRACE(g);
    d.MesureCB->setCurrentIndex(g - 1);
    const bool attendu = g == GrandeurPhase || g == GrandeurGain;
    EXPECT_EQ(d.VoieRefCB->isVisibleTo(&d), attendu);
    EXPECT_EQ(d.LabelRef->isVisibleTo(&d), attendu);
  }
  EXPECT_EQ(d.MesureCB->count(), 8);  // the frequency is not offered
  d.HelpBtn->click();  // the help at this dialog's topic
  EXPECT_TRUE(Aide::Fenetre()->isVisible());
  EXPECT_EQ(Aide::Fenetre()->source().fragment(), "contexte-7");
  Aide::Fenetre()->hide();
}

TEST(TVoieZelmDlg, LeSymboleNePrendQueDesLettres) {
  TCourbeMesure c = Courbe();
  TVoieZelmDlg d(c);
  d.show();
  d.EditNom->clear();
  d.EditNom->setFocus();
  QTest::keyClicks(d.EditNom, "U1 b-");
  EXPECT_EQ(d.EditNom->text(), "Ub");
  SaisieGrecque grec;  // what the main window installs on the application
  qApp->installEventFilter(&grec);
  QTest::keyClick(d.EditNom, Qt::Key_F, Qt::ControlModifier);  // the symbol font's φ
  qApp->removeEventFilter(&grec);
  EXPECT_EQ(DepuisQt(d.EditNom->text()), "Ub\x85");
  QTest::keyClick(d.EditNom, Qt::Key_Backspace);  // editing keys still edit
  EXPECT_EQ(d.EditNom->text(), "Ub");
  QTest::keyClicks(d.EditNom, "cdefghij");
  EXPECT_EQ(d.EditNom->text().size(), 8);  // at most 8 characters
  struct Cas { unsigned char octet; bool accepte; } cas[] = {
      {'A', true}, {'z', true}, {'0', false}, {' ', false}, {0x80, true}, {0x89, false},
      {0x91, false}, {0x93, true}, {0x9F, true}, {0xB5, true}, {0xB0, false},
  };
  for (auto [octet, accepte] : cas) EXPECT_EQ(CaractereSymbole(octet), accepte) << int(octet);
}

TEST(TVoieZelmDlg, ActiverRangeLesChoixEtDesactiverGardeLaCouleur) {
  TCourbeMesure c = Courbe();
  c.Active = false;
  TVoieZelmDlg d(c);
  d.MesureCB->setCurrentIndex(GrandeurGain - 1);
  d.VoieQuiloCB->setCurrentIndex(1);
  d.VoieRefCB->setCurrentIndex(-1);  // none chosen: channel 1, not 0
  d.EditNom->setText("G");
  d.OKBtn->click();
  EXPECT_TRUE(c.Active);
  EXPECT_EQ(c.Grandeur, GrandeurGain);
  EXPECT_EQ(c.VoieMesure, 2);
  EXPECT_EQ(c.VoieReference, 1);
  EXPECT_EQ(std::string(c.NomGrandeur.vue()), "G");
  EXPECT_EQ(std::string(c.Libelle.vue()), "Gain");
  EXPECT_EQ(d.result(), QDialog::Accepted);
  // colour and point style at once; "Désactiver" keeps them
  TVoieZelmDlg e(c);
  e.CouleurCombo->setCurrentIndex(9);
  e.PointCombo->setCurrentIndex(3);
  EXPECT_EQ(c.Couleur, CouleursVoie[9].bgr);
  EXPECT_EQ(c.Motif, 3);
  e.CancelBtn->click();
  EXPECT_FALSE(c.Active);
  EXPECT_EQ(c.Couleur, CouleursVoie[9].bgr);
  EXPECT_EQ(c.Grandeur, GrandeurGain);
  // loading the dialog again is no choice of colour: a colour of its own stays
  c.Couleur = 0x123456;
  TVoieZelmDlg g(c);
  EXPECT_EQ(c.Couleur, 0x123456u);
}

TEST(TOptionsFFTDlg, LaFenetreEtLaSuperpositionVontEtViennent) {
  OptionsFFT o{Fft::Hamming, true};
  TOptionsFFTDlg d(o);
  EXPECT_EQ(d.Pages->currentIndex(), 3);  // the language page first
  EXPECT_EQ(d.FenetreRadioG->ItemIndex(), 1);
  EXPECT_TRUE(d.AnalyseurCB->isChecked());
  d.FenetreRadioG->SetItemIndex(2);
  d.AnalyseurCB->setChecked(false);
  d.BtnOKClick();
  EXPECT_EQ(o.fenetre, Fft::ToitPlat);
  EXPECT_FALSE(o.superposition);
}

namespace {
class DialoguesFenetre : public FenetreBanc {};
}  // namespace

TEST_F(DialoguesFenetre, DesactiverLaVoie2VideSaBoite) {
  f->FormActivate();
  C<RadioGroupe>("ModeRG")->SetItemIndex(2);
  TgrapheMesure &z = f->GrapheZelm();
  z.Courbes[2].SetGrandeur(GrandeurPhase);
  z.Courbes[2].Active = true;
  boites.remplit = [](QDialog &d) { static_cast<TVoieZelmDlg &>(d).OKBtn->click(); };
  QTest::mouseClick(C<QLabel>("Label1"), Qt::LeftButton);  // tag 2
  ASSERT_EQ(boites.Textes(), QStringList{"Oscillo Quilo USB"});
  EXPECT_EQ(C<QGroupBox>("GroupBox1")->title(), "Phase");
  boites.remplit = [](QDialog &d) { static_cast<TVoieZelmDlg &>(d).CancelBtn->click(); };
  QTest::mouseClick(C<QLabel>("Label1"), Qt::LeftButton);
  EXPECT_FALSE(z.Courbes[2].Active);
  EXPECT_EQ(C<QGroupBox>("GroupBox1")->title(), "");
  EXPECT_EQ(C<QLabel>("Label1")->text(), "");
  EXPECT_TRUE(f->Cycle().EnAcquisition());  // paused, then resumed
}

TEST_F(DialoguesFenetre, LaFenetreChoisieSertDesLaTrameSuivante) {
  f->FormActivate();
  C<RadioGroupe>("ModeRG")->SetItemIndex(1);
  boites.remplit = [](QDialog &d) {
    auto &o = static_cast<TOptionsFFTDlg &>(d);
    o.FenetreRadioG->SetItemIndex(2);
    o.AnalyseurCB->setChecked(true);
  };
  C<QToolButton>("OptionsBtn")->click();
  EXPECT_EQ(f->GrapheTemps().Voie(1).FenetreSpectre, Fft::ToitPlat);
  EXPECT_EQ(f->GrapheTemps().Voie(2).FenetreSpectre, Fft::ToitPlat);
  EXPECT_TRUE(f->GrapheTemps().Superposition);
  boites.reponses = {false};  // "Abandon" changes nothing
  boites.remplit = [](QDialog &d) { static_cast<TOptionsFFTDlg &>(d).FenetreRadioG->SetItemIndex(0); };
  C<QToolButton>("OptionsBtn")->click();
  EXPECT_EQ(f->GrapheTemps().Voie(1).FenetreSpectre, Fft::ToitPlat);
}
