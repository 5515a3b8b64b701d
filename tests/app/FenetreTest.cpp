#include <gtest/gtest.h>

#include <cmath>

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "Aide.h"
#include "Controles.h"
#include "Demarrage.h"
#include "FenetreBanc.h"
#include "PaintBox.h"
#include "ServicesZelm.h"
#include "Texte8.h"
#include "ZelmUtil.h"

namespace {

// Pixels clearly of one channel's colour: blue (channel 1) or red (channel 2).
int Pixels(const QImage &image, int voie) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int fort = voie == 1 ? c.blue() : c.red();
      const int autres = voie == 1 ? std::max(c.red(), c.green()) : std::max(c.blue(), c.green());
      if (fort > 150 && autres < 100) ++n;
    }
  return n;
}

class Fenetre : public FenetreBanc {};

class SansOscillo : public FenetreBanc {
 protected:
  SansOscillo() : FenetreBanc("sans-oscillo") {}
};

}  // namespace

TEST_F(SansOscillo, DeuxMessagesPuisLeProgrammeSArrete) {
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo non branché"});
  EXPECT_TRUE(f->ConnectBtn->isEnabled());
  f->ConnectBtnClick();
  EXPECT_TRUE(f->ConnectBtn->isEnabled());
  f->FormActivate();
  EXPECT_EQ(boites.Textes(), (QStringList{"Oscillo non branché", "Oscillo non branché",
                                          "oscillo Quilo USB non détecté"}));
  EXPECT_EQ(termine, 1);
  EXPECT_FALSE(f->Timer->isActive());
  f->FormActivate();  // another activation before the program has ended: nothing more
  EXPECT_EQ(boites.vues.size(), 3u);
  EXPECT_EQ(termine, 1);
}

TEST_F(Fenetre, LesTramesLibresArriventEtLeGrapheMontreLesDeuxVoies) {
  EXPECT_TRUE(boites.vues.empty());
  EXPECT_FALSE(f->ConnectBtn->isEnabled());
  f->FormActivate();
  EXPECT_TRUE(f->EnAcquisition);
  EXPECT_TRUE(f->Timer->isActive());
  EXPECT_TRUE(f->ArmeBtn->isHidden());
  EXPECT_EQ(f->Header->currentMessage(), "Attente de synchronisation");
  f->DureeUpDown->Pas(+1);
  f->DureeUpDown->Pas(+1);  // 50 µs: the device takes it at the next arming
  EXPECT_EQ(f->DureeEdit->Texte(), VersQt("50 \xB5s"));
  EXPECT_EQ(f->FechEdit->Texte(), "48 MHz");
  Tick();
  EXPECT_EQ(f->GrapheTemps.NbPoints, 480);  // the frame armed at 10 µs
  EXPECT_TRUE(f->EnAcquisition);            // and the next one armed at once
  Tick();
  EXPECT_EQ(f->GrapheTemps.NbPoints, 2400);
  const QImage &image = f->TempsPaintBox->Image();
  EXPECT_EQ(image.size(), f->TempsPaintBox->size());
  EXPECT_GT(Pixels(image, 1), 50);
  EXPECT_GT(Pixels(image, 2), 50);
}

TEST_F(Fenetre, UneTrameLenteArriveEnPlusieursTops) {
  f->DureeUpDown->SetPosition(13);
  f->DureeUpDown->Pas(+1);  // 500 ms: 8192 samples at 16 kHz take 0.512 s
  f->FormActivate();
  int tops = 0;
  while (f->GrapheTemps.NbPoints == 0 && tops < 20) {
    EXPECT_TRUE(f->Timer->isActive());
    EXPECT_LT(f->Oscillo->NbEchantillons, 8192);
    Tick();
    ++tops;
  }
  EXPECT_GE(tops, 5);
  EXPECT_LE(tops, 7);
  EXPECT_EQ(f->GrapheTemps.NbPoints, 8000);
}

TEST_F(Fenetre, LeMonocoupGardeLaTrameEtLaRetraiteAChaqueTop) {
  f->FormActivate();
  f->MonocoupCB->click();  // the user's choice holds past the button update
  Tick();
  EXPECT_TRUE(f->MonocoupCB->isChecked());
  f->ArmeBtnClick();
  Tick();
  EXPECT_FALSE(f->EnAcquisition);
  EXPECT_FALSE(f->ArmeBtn->isHidden());
  EXPECT_FALSE(Virtuel().Alimente());  // supply off after the frame
  EXPECT_TRUE(f->Timer->isActive());
  const double v = f->GrapheTemps.Voie(1).Valeurs[100];
  f->GrapheTemps.NbPoints = 0;
  f->GrapheTemps.Voie(1).Valeurs[100] = 99;
  Banc().DefinitSource(std::make_shared<Continu>(3));  // a new frame would show it
  Tick();
  EXPECT_EQ(f->GrapheTemps.NbPoints, 480);  // processed again...
  EXPECT_EQ(f->GrapheTemps.Voie(1).Valeurs[100], v);  // ...the same samples
  EXPECT_FALSE(Virtuel().Alimente());  // no new launch
  f->ArmeBtnClick();
  EXPECT_TRUE(f->EnAcquisition);
}

TEST_F(Fenetre, ArretCocheMonocoupEtLeChangementDeModeRelance) {
  f->FormActivate();
  Tick();
  f->StopBtn->click();
  EXPECT_TRUE(f->MonocoupCB->isChecked());
  EXPECT_FALSE(f->EnAcquisition);
  EXPECT_FALSE(f->Timer->isActive());
  EXPECT_FALSE(f->ArmeBtn->isHidden());
  f->ModeRG->SetItemIndex(1);
  EXPECT_FALSE(f->MonocoupCB->isChecked());
  EXPECT_TRUE(f->EnAcquisition);
  EXPECT_TRUE(f->Timer->isActive());
  // stopped while in single shot: the mode change keeps it
  f->MonocoupCB->click();
  f->StopBtnClick();
  f->ModeRG->SetItemIndex(0);
  EXPECT_TRUE(f->MonocoupCB->isChecked());
  EXPECT_FALSE(f->EnAcquisition);
}

TEST_F(Fenetre, LesCommandesDeSynchroReArment) {
  f->FormActivate();
  Tick();
  f->SynchroRG->SetItemIndex(1);
  EXPECT_EQ(f->Oscillo->Synchro, 1);
  EXPECT_TRUE(f->EnAcquisition);
  EXPECT_EQ(f->SynchroRG->statusTip(), "Seuil modifiable par cliquer déplacer à gauche du graphe");
  Tick();
  EXPECT_EQ(f->GrapheTemps.VoieSeuil, 1);
  f->SensRG->SetItemIndex(1);
  EXPECT_EQ(f->Oscillo->Sens, 1);
  EXPECT_EQ(f->GrapheTemps.SensSeuil, 1);
  EXPECT_TRUE(f->EnAcquisition);
  f->SynchroRG->SetItemIndex(3);
  EXPECT_EQ(f->SynchroRG->statusTip(), "");
  // in single shot a trigger change stops and waits for "Arme"
  f->MonocoupCB->click();
  f->SynchroRG->SetItemIndex(2);
  EXPECT_EQ(f->Oscillo->Synchro, 2);
  EXPECT_FALSE(f->EnAcquisition);
}

TEST_F(Fenetre, CalibreCouplageEtBaseDeTempsNeFontQueRanger) {
  f->UpDown1->Pas(-1);
  EXPECT_EQ(f->Oscillo->GetCalibre(1), 4);
  EXPECT_EQ(f->CalibreEdit1->Texte(), "±800 mV");
  f->UpDown2->Pas(+1);
  EXPECT_EQ(f->CalibreEdit2->Texte(), "±4 V");
  f->CouplageRG2->SetItemIndex(2);
  EXPECT_EQ(f->Oscillo->Couplage[2], CouplageGND);
  f->DureeUpDown->SetPosition(17);
  f->DureeUpDown->Pas(+1);  // past the last time base: refused
  EXPECT_EQ(f->DureeUpDown->Position(), 17);
  EXPECT_EQ(LibelleCalibre(128 + 5), "±2 V");
}

TEST_F(Fenetre, LesModesMontrentEtCachentLesPanneaux) {
  f->FormActivate();
  struct Cas { int mode; bool zelm, trackBar, voies, paintBox; } cas[] = {
      {1, true, true, false, true},
      {2, true, false, true, true},
      {0, false, false, false, false},
      {2, true, false, true, true},
  };
  for (auto c : cas) {
    SCOPED_TRACE(c.mode);
    f->ModeRG->SetItemIndex(c.mode);
    EXPECT_EQ(f->PanelZelm->isVisible(), c.zelm);
    EXPECT_EQ(!f->FFTtrackBar->isHidden(), c.trackBar);
    EXPECT_EQ(!f->PanelVoies->isHidden(), c.voies);
    EXPECT_EQ(!f->ZelmPaintBox->isHidden(), c.paintBox);
  }
  EXPECT_EQ(f->ModeRG->NbItems(), 3);  // no generator: no fourth mode
}

TEST_F(Fenetre, ZelmAutomatiqueSeulementQuandUnGenerateurRepond) {
  bool gbf = false, gtbf = true;
  Ouvre({[&] { return gbf; }, [&] { return gtbf; }, {}});
  f->FormActivate();
  EXPECT_EQ(f->TypeGenerateur, 2);
  ASSERT_EQ(f->ModeRG->NbItems(), 4);
  EXPECT_EQ(f->ModeRG->Item(3), "Zelm automatique");
  f->ModeRG->SetItemIndex(3);
  EXPECT_FALSE(f->PanelVoies->isHidden());
  EXPECT_EQ(f->EnregistreBtn->statusTip(), "Acquisition");
  // the generator goes: mode 3 falls back to 2 and the item goes
  f->TypeGenerateur = 0;
  gtbf = false;
  f->FormActivate();
  EXPECT_EQ(f->ModeRG->NbItems(), 3);
  EXPECT_EQ(f->ModeRG->ItemIndex(), 2);
  // the first generator found wins
  gbf = gtbf = true;
  f->FormActivate();
  EXPECT_EQ(f->TypeGenerateur, 1);
}

TEST_F(Fenetre, EtatDesBoutonsSelonLeMode) {
  f->FormActivate();
  struct Cas {
    int mode, synchro;
    bool monocoup;
    bool enregistre, reset, undo, regSave;
    const char *hint;
  } cas[] = {
      {0, 0, false, false, false, false, true, "Lance l'acquisition"},
      {0, 1, false, false, false, false, true, "Lance l'acquisition"},
      {0, 0, true, false, false, false, true, "Lance l'acquisition"},
      {0, 1, true, true, false, false, true, "Lance l'acquisition"},
      {1, 1, true, false, false, false, true, ""},
      {2, 0, false, true, false, false, false, "Enregistre le point courant"},
  };
  Tick();  // a frame: n > 2
  for (auto c : cas) {
    SCOPED_TRACE(testing::Message() << c.mode << "/" << c.synchro << "/" << c.monocoup);
    if (f->MonocoupCB->isChecked() != c.monocoup) f->MonocoupCB->click();
    f->SynchroRG->SetItemIndex(c.synchro);
    f->ModeRG->SetItemIndex(c.mode);
    f->AjusteBoutons();
    EXPECT_EQ(f->EnregistreBtn->isEnabled(), c.enregistre);
    EXPECT_EQ(f->ResetBtn->isEnabled(), c.reset);
    EXPECT_EQ(f->UndoBtn->isEnabled(), c.undo);
    EXPECT_EQ(f->RegSaveBtn->isEnabled(), c.regSave);
    EXPECT_EQ(f->EnregistreBtn->statusTip(), c.hint);
    EXPECT_TRUE(f->EnregistreBtn->toolTip().isEmpty());
  }
  f->GrapheZelm.NbPoints = 3;
  f->AjusteBoutons();
  EXPECT_TRUE(f->ResetBtn->isEnabled());
  EXPECT_TRUE(f->UndoBtn->isEnabled());
  EXPECT_TRUE(f->RegSaveBtn->isEnabled());
}

TEST_F(Fenetre, LaBarreFFTChoisitLeNombreDeRaies) {
  // at start the bar shows the count the graph draws
  EXPECT_EQ(f->FFTtrackBar->value(), PositionHarmoniques(f->NbHarmoniques));
  for (auto [position, raies] : {std::pair{0, 4096}, {3, 512}, {9, 8}}) {
    f->FFTtrackBar->setValue(position);
    EXPECT_EQ(f->NbHarmoniques, raies) << position;
    EXPECT_EQ(PositionHarmoniques(raies), position);
  }
}

TEST_F(Fenetre, LeDiagrammeMesureUneValeurEfficaceEnVoltsDesLeDepart) {
  const TCourbeMesure &va = f->GrapheZelm.Courbes[1];
  EXPECT_EQ(va.Grandeur, 1);
  f->ModeRG->SetItemIndex(2);
  f->FormActivate();
  ASSERT_TRUE(TickJusqua([&] { return va.Valeur != ValeurIndefinie; }));
  // the demo bench's 1 V peak sine on channel 1, written into its box
  EXPECT_NEAR(va.Valeur, 1 / std::sqrt(2.0), 0.05);
  EXPECT_TRUE(f->LabelVoie[1]->text().startsWith("VA=")) << f->LabelVoie[1]->text().toStdString();
  EXPECT_TRUE(f->LabelVoie[1]->text().endsWith(" mV")) << f->LabelVoie[1]->text().toStdString();
}

TEST_F(Fenetre, EnModeOscilloscopeNiSpectreNiMesure) {
  f->FormActivate();
  ASSERT_TRUE(TickJusqua([&] { return f->GrapheTemps.NbPoints > 0; }));
  Tick();
  EXPECT_EQ(f->GrapheSpectre.NbPoints, 0);
  EXPECT_EQ(f->GrapheZelm.Courbes[1].Valeur, ValeurIndefinie);
}

TEST_F(Fenetre, LeSpectreSeDessineDesLaTrameMemeEnLibre) {
  f->ModeRG->SetItemIndex(1);
  f->FormActivate();
  Tick();
  EXPECT_TRUE(f->EnAcquisition);  // re-armed already
  EXPECT_GT(f->GrapheSpectre.NbPoints, 0);
  EXPECT_GT(Pixels(f->ZelmPaintBox->Image(), 1), 20);
  // asked while a frame is awaited: owed, and drawn with the next frame
  f->ZelmPaintBox->Repeint();
  EXPECT_TRUE(f->RedessinDiffere);
  f->ModeRG->SetItemIndex(2);
  Tick();
  EXPECT_FALSE(f->RedessinDiffere);
}

TEST_F(Fenetre, LaLegendeSuitLeHintLong) {
  QStatusTipEvent survol(f->RegSaveBtn->statusTip());
  QCoreApplication::sendEvent(f.get(), &survol);
  EXPECT_EQ(f->windowTitle(), "Envoie les données vers Tabulo");
  EXPECT_EQ(f->RegSaveBtn->toolTip(), "Tabulo");
  QStatusTipEvent sortie{QString()};
  QCoreApplication::sendEvent(f.get(), &sortie);
  EXPECT_EQ(f->windowTitle(), "Diagramme de Zelm avec Oscillo Quilo USB");
}

TEST_F(Fenetre, CtrlATapeLOctet80DansUnEdit) {
  auto *edit = new QLineEdit(f.get());
  edit->show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(DepuisQt(edit->text()), "\x80");
}

TEST_F(Fenetre, AProposMontreLaVersionPuisReprend) {
  f->FormActivate();
  f->HelpAbout();
  ASSERT_EQ(boites.vues.size(), 1u);
  EXPECT_EQ(boites.vues[0].genre, BoitesScriptees::Trace::Dialogue);
  EXPECT_EQ(boites.vues[0].texte, "About");
  EXPECT_FALSE(f->MonocoupCB->isChecked());
  EXPECT_TRUE(f->EnAcquisition);
}

TEST_F(Fenetre, LesGenerateursDuBancSontTrouvesAuDemarrage) {
  QTemporaryDir documents;
  InitialiseModules(documents.path());
  EXPECT_EQ(DossierTabulo, (documents.path() + "/Tabulo/").toStdString());
  EXPECT_TRUE(QDir(documents.path() + "/Tabulo").exists());
  Ouvre(GenerateursPresents());  // "demo" has the low-frequency generator
  f->FormActivate();
  EXPECT_EQ(f->TypeGenerateur, 1);
  EXPECT_EQ(f->ModeRG->NbItems(), 4);
  f->close();
  f.reset();
  FinaliseModules();
}

TEST(ServicesZelm, LeSeparateurDecimalVientDeLaLangue) {
  FixeSeparateurDepuisLocale(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(SeparateurDecimal(), ',');
  FixeSeparateurDepuisLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(SeparateurDecimal(), '.');
}

TEST_F(Fenetre, LesBoitesDeMesureEtLesBoutonsADialogueFontUnePause) {
  f->FormActivate();
  f->ModeRG->SetItemIndex(2);
  Tick();
  int arrets = 0;
  QObject::connect(f->MonocoupCB, &QCheckBox::toggled, [&](bool coche) { arrets += coche; });
  QTest::mouseClick(f->GroupBoxVoie[0], Qt::LeftButton);  // the frequency's box
  QTest::mouseClick(f->LabelVoie[2], Qt::LeftButton);     // a quantity's label
  f->OptionsBtn->click();
  EXPECT_EQ(arrets, 3);  // each paused...
  EXPECT_FALSE(f->MonocoupCB->isChecked());  // ...and resumed
  EXPECT_TRUE(f->EnAcquisition);
  EXPECT_TRUE(f->Timer->isActive());
  f->HelpBtn->click();
  EXPECT_TRUE(Aide::Fenetre()->isVisible());
  Aide::Fenetre()->hide();
}
