#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <cmath>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "Aide.h"
#include "Demarrage.h"
#include "FenetreBanc.h"
#include "Lectures.h"
#include "PresetsGenerateurs.h"
#include "PaintBox.h"
#include "ServicesZelm.h"
#include "Texte8.h"
#include "ZelmAbout.h"
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

// Generators that answer as the test says (read on the device thread).
class GenerateursEssai final : public AccesGenerateurs {
 public:
  std::atomic<bool> gbf{false}, gtbf{true};
  bool Ouvre(GenreGenerateur g) override { return g == GenreGenerateur::GBF ? gbf.load() : gtbf.load(); }
  void Stoppe(GenreGenerateur) override {}
  void SetFrequence(GenreGenerateur, double f) override {
    if (f < 0) throw std::range_error("Fréquence hors des limites");
  }
  void SetAmplitude(GenreGenerateur, double) override {}
  void CalculeTable(GenreGenerateur) override {}
  bool Lance(GenreGenerateur) override { return true; }
};

class Fenetre : public FenetreBanc {};

class SansOscillo : public FenetreBanc {
 protected:
  SansOscillo() : FenetreBanc("sans-oscillo") {}
};

}  // namespace

TEST_F(SansOscillo, DeuxMessagesPuisLeProgrammeSArrete) {
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo non branché"});
  auto *connexion = C<QToolButton>("ConnectBtn");
  EXPECT_TRUE(connexion->isEnabled());
  f->ConnectBtnClick();
  ASSERT_TRUE(Attend([&] { return boites.vues.size() == 2; }));
  EXPECT_TRUE(connexion->isEnabled());
  f->FormActivate();
  EXPECT_EQ(boites.Textes(), (QStringList{"Oscillo non branché", "Oscillo non branché",
                                          "oscillo Quilo USB non détecté"}));
  EXPECT_EQ(termine, 1);
  EXPECT_FALSE(f->Cycle().TimerActif());
  f->FormActivate();  // another activation before the program has ended: nothing more
  EXPECT_EQ(boites.vues.size(), 3u);
  EXPECT_EQ(termine, 1);
}

TEST_F(SansOscillo, LaBoiteAProposDitOscilloNonBrancheEnToutesLettres) {
  QString texte;
  boites.remplit = [&](QDialog &d) {
    auto &a = static_cast<TZelmAboutBox &>(d);
    a.show();  // the box asks for the text when shown
    texte = a.OscilloLabel->text();
  };
  f->HelpAbout();
  EXPECT_EQ(texte, "Oscillo non branché");
}

TEST_F(Fenetre, LesTramesLibresArriventEtLeGrapheMontreLesDeuxVoies) {
  EXPECT_TRUE(boites.vues.empty());
  EXPECT_FALSE(C<QToolButton>("ConnectBtn")->isEnabled());
  f->FormActivate();
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_TRUE(f->Cycle().TimerActif());
  EXPECT_TRUE(C<QToolButton>("ArmeBtn")->isHidden());
  EXPECT_EQ(C<QStatusBar>("Header")->currentMessage(), "Attente de synchronisation");
  auto *duree = C<UpDown>("DureeUpDown");
  duree->Pas(+1);
  duree->Pas(+1);  // 50 µs: the acquisition under way is armed again with it
  EXPECT_EQ(C<EditLibelle>("DureeEdit")->Texte(), VersQt("50 \xB5s"));
  EXPECT_EQ(C<EditLibelle>("FechEdit")->Texte(), "48 MHz");
  ASSERT_TRUE(Trames());
  EXPECT_EQ(f->GrapheTemps().NbPoints, 2400);
  EXPECT_TRUE(f->Cycle().EnAcquisition());  // and the next one armed at once
  const QImage &image = C<PaintBox>("TempsPaintBox")->Image();
  EXPECT_EQ(image.size(), C<PaintBox>("TempsPaintBox")->size());
  EXPECT_GT(Pixels(image, 1), 50);
  EXPECT_GT(Pixels(image, 2), 50);
}

TEST_F(Fenetre, UneTrameLenteArriveQuandSesEchantillonsSontLa) {
  C<UpDown>("DureeUpDown")->SetPosition(13);
  C<UpDown>("DureeUpDown")->Pas(+1);  // 500 ms: 8192 samples at 16 kHz take 0.512 s
  C<QCheckBox>("MonocoupCB")->click();  // one frame: the device thread then rests
  const int64_t avant = Banc().Horloge().MaintenantUs();
  f->ArmeBtnClick();
  ASSERT_TRUE(Trames());
  Calme();
  // sampling starts with the device, in the middle of the two 50 ms waits; the
  // frame is taken within one look (10 ms) of its last sample
  const int64_t ecoule = Banc().Horloge().MaintenantUs() - avant;
  EXPECT_GE(ecoule, 50'000 + 512'000);
  EXPECT_LE(ecoule, 100'000 + 512'000 + TravailAppareil::IntervalleMs * 1000);
  EXPECT_EQ(f->GrapheTemps().NbPoints, 8000);
}

TEST_F(Fenetre, LeMonocoupGardeLaTrameEtLaRetraiteAChaqueTop) {
  f->FormActivate();
  auto *monocoup = C<QCheckBox>("MonocoupCB");
  monocoup->click();  // the user's choice holds past the button update
  ASSERT_TRUE(Trames());
  EXPECT_TRUE(monocoup->isChecked());
  f->ArmeBtnClick();
  ASSERT_TRUE(Trames());
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  EXPECT_FALSE(C<QToolButton>("ArmeBtn")->isHidden());
  Calme();
  EXPECT_FALSE(Virtuel().Alimente());  // supply off after the frame
  EXPECT_TRUE(f->Cycle().TimerActif());
  const double v = f->GrapheTemps().Voie(1).Valeurs[100];
  Banc().DefinitSource(std::make_shared<Continu>(3));  // a new frame would show it
  const int traitements = f->Cycle().NbTraitements();
  f->Cycle().TimerTimer();
  EXPECT_EQ(f->Cycle().NbTraitements(), traitements + 1);  // processed again...
  EXPECT_EQ(f->GrapheTemps().NbPoints, 480);
  EXPECT_EQ(f->GrapheTemps().Voie(1).Valeurs[100], v);  // ...the same samples
  Calme();
  EXPECT_FALSE(Virtuel().Alimente());  // no new launch
  f->ArmeBtnClick();
  EXPECT_TRUE(f->Cycle().EnAcquisition());
}

TEST_F(Fenetre, ArretCocheMonocoupEtLeChangementDeModeRelance) {
  f->FormActivate();
  ASSERT_TRUE(Trames());
  auto *monocoup = C<QCheckBox>("MonocoupCB");
  auto *modes = C<RadioGroupe>("ModeRG");
  C<QToolButton>("StopBtn")->click();
  EXPECT_TRUE(monocoup->isChecked());
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  EXPECT_FALSE(f->Cycle().TimerActif());
  EXPECT_FALSE(C<QToolButton>("ArmeBtn")->isHidden());
  modes->SetItemIndex(1);
  EXPECT_FALSE(monocoup->isChecked());
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_TRUE(f->Cycle().TimerActif());
  // stopped while in single shot: the mode change keeps it
  monocoup->click();
  f->StopBtnClick();
  modes->SetItemIndex(0);
  EXPECT_TRUE(monocoup->isChecked());
  EXPECT_FALSE(f->Cycle().EnAcquisition());
}

TEST_F(Fenetre, ArretPendantUneTrameMontreeResteArrete) {
  f->FormActivate();
  auto *monocoup = C<QCheckBox>("MonocoupCB");
  monocoup->click();
  ASSERT_TRUE(Trames());  // held: no acquisition armed, the timer on
  f->StopBtnClick();
  const int traitements = f->Cycle().NbTraitements();
  f->Cycle().TimerTimer();  // a late tick does nothing
  EXPECT_EQ(f->Cycle().NbTraitements(), traitements);
  EXPECT_FALSE(f->Cycle().TimerActif());
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  monocoup->click();  // unchecked by the user: free-running again
  EXPECT_TRUE(f->Cycle().EnAcquisition());
}

TEST_F(Fenetre, LesCommandesDeSynchroReArment) {
  f->FormActivate();
  ASSERT_TRUE(Trames());
  auto *synchro = C<RadioGroupe>("SynchroRG");
  synchro->SetItemIndex(1);
  EXPECT_EQ(f->Reglages().Synchro(), SynchroVoie1);
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_EQ(synchro->statusTip(), "Seuil modifiable par cliquer déplacer à gauche du graphe");
  ASSERT_TRUE(Trames());
  EXPECT_EQ(f->GrapheTemps().VoieSeuil, 1);
  C<RadioGroupe>("SensRG")->SetItemIndex(1);
  EXPECT_EQ(f->Reglages().Sens(), SensDescendant);
  EXPECT_EQ(f->GrapheTemps().SensSeuil, 1);
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  synchro->SetItemIndex(3);
  EXPECT_EQ(synchro->statusTip(), "");
  // in single shot a trigger change stops and waits for "Arme"
  C<QCheckBox>("MonocoupCB")->click();
  synchro->SetItemIndex(2);
  EXPECT_EQ(f->Reglages().Synchro(), SynchroVoie2);
  EXPECT_FALSE(f->Cycle().EnAcquisition());
}

TEST_F(Fenetre, CalibreCouplageEtBaseDeTempsSontRanges) {
  C<UpDown>("UpDown1")->Pas(-1);
  EXPECT_EQ(f->Reglages().Calibre(1), 4);
  EXPECT_EQ(C<EditLibelle>("CalibreEdit1")->Texte(), "±800 mV");
  C<UpDown>("UpDown2")->Pas(+1);
  EXPECT_EQ(C<EditLibelle>("CalibreEdit2")->Texte(), "±4 V");
  C<RadioGroupe>("CouplageRG2")->SetItemIndex(2);
  EXPECT_EQ(f->Reglages().CouplageVoie(2), CouplageGND);
  auto *duree = C<UpDown>("DureeUpDown");
  EXPECT_EQ(duree->Max(), int(BasesDeTemps.size()) - 1);
  duree->SetPosition(17);
  duree->Pas(+1);  // past the last time base: refused
  EXPECT_EQ(duree->Position(), 17);
  EXPECT_EQ(C<UpDown>("UpDown1")->Max(), int(Calibres.size()) - 1);
  EXPECT_EQ(LibelleCalibre(128 + 5), "±2 V");
  EXPECT_FALSE(f->Cycle().EnAcquisition());  // nothing armed: they only store
}

// A triggered acquisition waits on a grounded channel: the coupling's return must reach
// the device, or the screen waits for ever.
TEST_F(Fenetre, UnCouplageChangePendantLAttenteReArme) {
  C<RadioGroupe>("SynchroRG")->SetItemIndex(1);
  f->FormActivate();
  ASSERT_TRUE(Trames());
  auto *couplage = C<RadioGroupe>("CouplageRG1");
  couplage->SetItemIndex(CouplageGND);
  const int traitements = f->Cycle().NbTraitements();
  const int64_t t0 = Banc().Horloge().MaintenantUs();
  ASSERT_TRUE(Attend([&] { return Banc().Horloge().MaintenantUs() > t0 + 1'000'000; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(f->Cycle().NbTraitements(), traitements);  // the frame armed before is dropped
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_EQ(C<QStatusBar>("Header")->currentMessage(), "Attente de synchronisation");
  couplage->SetItemIndex(CouplageDC);
  ASSERT_TRUE(Trames());
  EXPECT_EQ(f->GrapheTemps().NbPoints, 480);
}

TEST_F(Fenetre, LeBoutonArretGardeSaPlace) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);  // the first layout
  f->FormActivate();
  auto *stop = C<QToolButton>("StopBtn");
  auto *arme = C<QToolButton>("ArmeBtn");
  std::vector<QPoint> places;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(Trames());
    // the layout would follow a button shown or hidden
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    places.push_back(stop->mapTo(f.get(), QPoint()));
  }
  f->StopBtnClick();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  ASSERT_TRUE(arme->isVisible());
  places.push_back(stop->mapTo(f.get(), QPoint()));
  f->ArmeBtnClick();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  ASSERT_TRUE(arme->isHidden());
  places.push_back(stop->mapTo(f.get(), QPoint()));
  for (const QPoint &p : places) EXPECT_EQ(p, places.front());
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
    C<RadioGroupe>("ModeRG")->SetItemIndex(c.mode);
    EXPECT_EQ(C<QWidget>("PanelZelm")->isVisible(), c.zelm);
    EXPECT_EQ(!C<QSlider>("FFTtrackBar")->isHidden(), c.trackBar);
    EXPECT_EQ(!C<QWidget>("PanelVoies")->isHidden(), c.voies);
    EXPECT_EQ(!C<PaintBox>("ZelmPaintBox")->isHidden(), c.paintBox);
  }
  EXPECT_EQ(C<RadioGroupe>("ModeRG")->NbItems(), 3);  // no generator: no fourth mode
}

TEST_F(Fenetre, ZelmAutomatiqueSeulementQuandUnGenerateurRepond) {
  GenerateursEssai generateurs;
  Ouvre(&generateurs);
  f->FormActivate();
  ASSERT_TRUE(Attend([&] { return f->TypeGenerateur() == GenreGenerateur::GTBF; }));
  auto *modes = C<RadioGroupe>("ModeRG");
  ASSERT_EQ(modes->NbItems(), 4);
  EXPECT_EQ(modes->Item(3), "Zelm automatique");
  modes->SetItemIndex(3);
  EXPECT_FALSE(C<QWidget>("PanelVoies")->isHidden());
  EXPECT_EQ(C<QToolButton>("EnregistreBtn")->statusTip(), "Acquisition");
  // the generator goes: mode 3 falls back to 2 and the item goes
  generateurs.gtbf = false;
  f->DetecteGenerateur();
  ASSERT_TRUE(Attend([&] { return modes->NbItems() == 3; }));
  EXPECT_EQ(modes->ItemIndex(), 2);
  EXPECT_FALSE(C<QWidget>("PanelVoies")->isHidden());
  // the first generator found wins
  generateurs.gbf = generateurs.gtbf = true;
  f->FormActivate();
  ASSERT_TRUE(Attend([&] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
  // what a generator call lets out on the device thread reaches the error box, once
  f->Appareil().Travail().ReglerGenerateur(GenreGenerateur::GBF, -1);
  ASSERT_TRUE(Attend([&] { return !boites.vues.empty(); }));
  EXPECT_EQ(boites.Textes(), QStringList{"Fréquence hors des limites"});
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  f.reset();  // the device thread ends before the generators it uses
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
  ASSERT_TRUE(Trames());  // a frame: n > 2
  auto *monocoup = C<QCheckBox>("MonocoupCB");
  auto *enregistre = C<QToolButton>("EnregistreBtn");
  for (auto c : cas) {
    SCOPED_TRACE(testing::Message() << c.mode << "/" << c.synchro << "/" << c.monocoup);
    if (monocoup->isChecked() != c.monocoup) monocoup->click();
    C<RadioGroupe>("SynchroRG")->SetItemIndex(c.synchro);
    C<RadioGroupe>("ModeRG")->SetItemIndex(c.mode);
    f->AjusteBoutons();
    EXPECT_EQ(enregistre->isEnabled(), c.enregistre);
    EXPECT_EQ(C<QToolButton>("ResetBtn")->isEnabled(), c.reset);
    EXPECT_EQ(C<QToolButton>("UndoBtn")->isEnabled(), c.undo);
    EXPECT_EQ(C<QToolButton>("RegSaveBtn")->isEnabled(), c.regSave);
    EXPECT_EQ(enregistre->statusTip(), c.hint);
    EXPECT_TRUE(enregistre->toolTip().isEmpty());
  }
  f->GrapheZelm().NbPoints = 3;
  f->AjusteBoutons();
  EXPECT_TRUE(C<QToolButton>("ResetBtn")->isEnabled());
  EXPECT_TRUE(C<QToolButton>("UndoBtn")->isEnabled());
  EXPECT_TRUE(C<QToolButton>("RegSaveBtn")->isEnabled());
}

TEST_F(Fenetre, LaBarreFFTChoisitLeNombreDeRaies) {
  auto *barre = C<QSlider>("FFTtrackBar");
  // at start the bar shows the count the graph draws
  EXPECT_EQ(barre->value(), PositionHarmoniques(f->NbHarmoniques()));
  for (auto [position, raies] : {std::pair{0, 4096}, {3, 512}, {9, 8}}) {
    barre->setValue(position);
    EXPECT_EQ(f->NbHarmoniques(), raies) << position;
    EXPECT_EQ(PositionHarmoniques(raies), position);
  }
}

TEST_F(Fenetre, LeDiagrammeMesureUneValeurEfficaceEnVoltsDesLeDepart) {
  const TCourbeMesure &va = f->GrapheZelm().Courbes[1];
  EXPECT_EQ(va.Grandeur, 1);
  C<RadioGroupe>("ModeRG")->SetItemIndex(2);
  f->FormActivate();
  ASSERT_TRUE(Attend([&] { return va.Valeur != ValeurIndefinie; }));
  // the demo bench's 1 V peak sine on channel 1, written into its box (tag 1: Label0)
  EXPECT_NEAR(va.Valeur, 1 / std::sqrt(2.0), 0.05);
  const QString texte = C<QLabel>("Label0")->text();
  EXPECT_TRUE(texte.startsWith("VA=")) << texte.toStdString();
  EXPECT_TRUE(texte.endsWith(" mV")) << texte.toStdString();
}

TEST_F(Fenetre, EnModeOscilloscopeNiSpectreNiMesure) {
  f->FormActivate();
  ASSERT_TRUE(Trames(2));
  EXPECT_EQ(f->GrapheSpectre().NbPoints, 0);
  EXPECT_EQ(f->GrapheZelm().Courbes[1].Valeur, ValeurIndefinie);
}

TEST_F(Fenetre, LeSpectreSeDessineDesLaTrameMemeEnLibre) {
  C<RadioGroupe>("ModeRG")->SetItemIndex(1);
  f->FormActivate();
  ASSERT_TRUE(Trames());
  EXPECT_TRUE(f->Cycle().EnAcquisition());  // re-armed already
  EXPECT_GT(f->GrapheSpectre().NbPoints, 0);
  auto *zelm = C<PaintBox>("ZelmPaintBox");
  EXPECT_GT(Pixels(zelm->Image(), 1), 20);
  // asked while a frame is awaited: owed, and drawn with the next frame
  zelm->Repeint();
  EXPECT_TRUE(f->Cycle().RedessinDiffere());
  C<RadioGroupe>("ModeRG")->SetItemIndex(2);
  ASSERT_TRUE(Trames());
  EXPECT_FALSE(f->Cycle().RedessinDiffere());
}

TEST_F(Fenetre, LaLegendeSuitLeHintLong) {
  auto *tabulo = C<QToolButton>("RegSaveBtn");
  QStatusTipEvent survol(tabulo->statusTip());
  QCoreApplication::sendEvent(f.get(), &survol);
  EXPECT_EQ(f->windowTitle(), "Envoie les données vers Tabulo");
  EXPECT_EQ(tabulo->toolTip(), "Tabulo");
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
  QString texte;
  boites.remplit = [&](QDialog &d) {
    auto &a = static_cast<TZelmAboutBox &>(d);
    a.show();
    texte = a.OscilloLabel->text();
  };
  f->HelpAbout();
  ASSERT_EQ(boites.vues.size(), 1u);
  EXPECT_EQ(boites.vues[0].genre, BoitesScriptees::Trace::Dialogue);
  EXPECT_EQ(boites.vues[0].texte, "About");
  EXPECT_EQ(texte, "QuiloSim 1.0");
  EXPECT_FALSE(C<QCheckBox>("MonocoupCB")->isChecked());
  EXPECT_TRUE(f->Cycle().EnAcquisition());
}

TEST_F(Fenetre, LesGenerateursDuBancSontTrouvesAuDemarrage) {
  QTemporaryDir documents;
  const std::string dossier = InitialiseModules(documents.path());
  EXPECT_EQ(dossier, (documents.path() + "/Tabulo/").toStdString());
  EXPECT_TRUE(QDir(documents.path() + "/Tabulo").exists());
  {
    GenerateursCharges generateurs;
    Ouvre(&generateurs);  // "demo" has the low-frequency generator
    f->FormActivate();
    ASSERT_TRUE(Attend([&] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
    EXPECT_EQ(C<RadioGroupe>("ModeRG")->NbItems(), 4);
    f->close();
    f.reset();
  }
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
  C<RadioGroupe>("ModeRG")->SetItemIndex(2);
  ASSERT_TRUE(Trames());
  int arrets = 0;
  auto *monocoup = C<QCheckBox>("MonocoupCB");
  QObject::connect(monocoup, &QCheckBox::toggled, [&](bool coche) { arrets += coche; });
  QTest::mouseClick(C<QGroupBox>("GroupBox4"), Qt::LeftButton);  // the frequency's box
  QTest::mouseClick(C<QLabel>("Label1"), Qt::LeftButton);       // a quantity's label
  C<QToolButton>("OptionsBtn")->click();
  EXPECT_EQ(arrets, 3);  // each paused...
  EXPECT_FALSE(monocoup->isChecked());  // ...and resumed
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  EXPECT_TRUE(f->Cycle().TimerActif());
  C<QToolButton>("HelpBtn")->click();
  EXPECT_TRUE(Aide::Fenetre()->isVisible());
  Aide::Fenetre()->hide();
}

// Found trying the program: with no window manager, the window was activated while
// the export dialog was up, and the acquisition it had paused ran behind the dialog.
TEST_F(Fenetre, UneActivationPendantUnDialogueNeRelancePas) {
  f->FormActivate();
  ASSERT_TRUE(Trames());
  boites.remplit = [this](QDialog &d) {
    d.setModal(true);
    d.show();
    QCoreApplication::processEvents();
    f->FormActivate();
    EXPECT_FALSE(f->Cycle().EnAcquisition());
    EXPECT_TRUE(C<QCheckBox>("MonocoupCB")->isChecked());
    d.hide();
  };
  boites.reponses = {false};
  f->RegSaveBtnClick();
  boites.remplit = nullptr;
}

TEST_F(Fenetre, QuitterAvecLAideOuverteFermeLAideAussi) {
  f->FormActivate();
  C<QToolButton>("HelpBtn")->click();
  ASSERT_TRUE(Aide::Fenetre()->isVisible());
  C<QToolButton>("ExitBtn")->click();
  EXPECT_TRUE(f->Fermeture());
  EXPECT_FALSE(Aide::Fenetre()->isVisible());
  // and were it shown again, its closing would not be what keeps the program alive
  EXPECT_FALSE(Aide::Fenetre()->testAttribute(Qt::WA_QuitOnClose));
}

// "Mesures à l'écran": on the demo bench after "Config. auto", channel 1 reads its 1 kHz
// and 707 mV RMS under the time graph, in oscilloscope mode; a grounded channel reads nothing.
TEST_F(Fenetre, LesMesuresALEcranSousLeGrapheTemporel) {
  f->FormActivate();
  f->autosetBtnClick();
  ASSERT_TRUE(Attend([this] { return !f->Cycle().ReglageAuto(); }));
  auto *lecture1 = C<QLabel>("LectureVoie1");
  auto *lecture2 = C<QLabel>("LectureVoie2");
  ASSERT_TRUE(Trames());
  EXPECT_TRUE(lecture1->isHidden());  // off by default
  boites.remplit = [](QDialog &d) { d.findChild<QCheckBox *>("MesuresCB")->setChecked(true); };
  boites.reponses = {true};
  C<QToolButton>("OptionsBtn")->click();
  boites.remplit = nullptr;
  // free running: a grounded channel would never trigger
  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroRelaxe);
  C<RadioGroupe>("CouplageRG2")->SetItemIndex(CouplageGND);
  ASSERT_TRUE(Trames(2));
  ASSERT_EQ(f->Mode(), ModeAffichage::Oscilloscope);
  const auto v = LecturesVoie(f->GrapheTemps().Voie1, f->GrapheTemps().Voie2, 1,
                              f->Cycle().PeriodeEchantillonnage());
  EXPECT_NEAR(v[0] / FrequenceRemplacant, 1, 0.005);
  EXPECT_NEAR(v[2] / (1 / std::sqrt(2.0)), 1, 0.01);
  EXPECT_FALSE(lecture1->isHidden());
  EXPECT_TRUE(lecture1->text().contains(TexteLectures(v))) << lecture1->text().toStdString();
  EXPECT_TRUE(lecture1->text().contains(QStringLiteral("Hz")));
  EXPECT_TRUE(lecture2->isHidden());
}
