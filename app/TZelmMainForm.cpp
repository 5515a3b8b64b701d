#include "TZelmMainForm.h"
#include "Lectures.h"
#include "ZelmDDE.h"
#include "ZelmReg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QToolButton>
#include <algorithm>
#include <variant>

#include "Aide.h"
#include "Boites.h"
#include "Controles.h"
#include "LienAppareil.h"
#include "PaintBox.h"
#include "Protege.h"
#include "SaisieGrecque.h"
#include "ServicesZelm.h"
#include "SourisGraphes.h"
#include "Texte8.h"

namespace {

class AfficheurLabels final : public EtiquettesValeurs {
 public:
  explicit AfficheurLabels(const ControlesFenetre &c) : c_(c) {}
  void AfficheValeur(int i, const Texte32 &texte) override {
    if (i >= 0 && i < int(c_.LabelVoie.size())) c_.LabelVoie[size_t(i)]->setText(VersQt(texte.vue()));
  }

 private:
  const ControlesFenetre &c_;
};

using GestionnaireSouris = void (TSourisGraphes::*)(Qt::MouseButton, Qt::MouseButtons, int32_t,
                                                    int32_t);

// The paint box's mouse events go to the drags' handlers.
void TransmetSouris(PaintBox &b, TSourisGraphes &s, GestionnaireSouris down,
                    GestionnaireSouris move, GestionnaireSouris up) {
  const auto vers = [&s](GestionnaireSouris h) {
    return [&s, h](Qt::MouseButton bouton, Qt::MouseButtons boutons, int x, int y) {
      Protege([&] { (s.*h)(bouton, boutons, x, y); });
    };
  };
  b.MouseDown = vers(down);
  b.MouseMove = vers(move);
  b.MouseUp = vers(up);
}

// A label's text in a series' colour (0x00BBGGRR).
QString StyleCouleur(uint32_t bgr) {
  return QStringLiteral("color: #%1%2%3")
      .arg(bgr & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((bgr >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((bgr >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

}  // namespace

QString LibelleCalibre(int calibre) {
  const int k = std::min(calibre % 128, int(Calibres.size()) - 1);
  return QStringLiteral("±") + VersQt(Calibres[size_t(k)].libelle);
}

TZelmMainForm::TZelmMainForm(AccesGenerateurs &generateurs, std::string dossierTabulo,
                             QWidget *parent)
    : QMainWindow(parent), dossierTabulo_(std::move(dossierTabulo)), generateurs_(generateurs) {
  Termine = [] { QCoreApplication::exit(1); };
  ConstruitControles(*this, c_);
  lien_ = std::make_unique<LienAppareil>(
      generateurs_, [this](ResultatAppareil &&r) { Recoit(std::move(r)); }, this);
  FenetreAcquisition &vue = *this;
  cycle_ = std::make_unique<TCycleAcquisition>(vue, lien_->Travail(), grapheTemps_,
                                               grapheSpectre_, grapheZelm_);
  mesure_ = std::make_unique<TMesureZelm>(vue, *cycle_, grapheTemps_, grapheZelm_);
  cycle_->ValeursCalculees = [this](uint32_t numero) { return mesure_->TimerZelmAutoTimer(numero); };
  souris_ = std::make_unique<TSourisGraphes>(vue, *cycle_, *c_.TempsPaintBox, *c_.ZelmPaintBox,
                                             grapheTemps_, grapheSpectre_, grapheZelm_);
  souris_->ChangeNbHarmoniques = [this](int n) { nbHarmoniques_ = n; };
  c_.TempsPaintBox->Peint = [this] {
    Protege([this] {
      cycle_->TempsPaintBoxPaint(c_.TempsPaintBox->Image());
      souris_->TempsRepeint();
    });
  };
  c_.ZelmPaintBox->Peint = [this] {
    Protege([this] { cycle_->ZelmPaintBoxPaint(c_.ZelmPaintBox->Image()); });
  };
  TransmetSouris(*c_.TempsPaintBox, *souris_, &TSourisGraphes::TempsPaintBoxMouseDown,
                 &TSourisGraphes::TempsPaintBoxMouseMove, &TSourisGraphes::TempsPaintBoxMouseUp);
  TransmetSouris(*c_.ZelmPaintBox, *souris_, &TSourisGraphes::ZelmPaintBoxMouseDown,
                 &TSourisGraphes::ZelmPaintBoxMouseMove, &TSourisGraphes::ZelmPaintBoxMouseUp);
  FormCreate();
  constante_ = std::make_unique<TConstanteDlg>(dossierTabulo_.empty() ? std::string() : nomFichierConfig_, this);
  dde_ = std::make_unique<TZelmFormDDE>(this);
  ServeurMacro &serveur = dde_->Serveur();
  serveur.Focus = [this] {
    if (isHidden()) return Focalisation::Impossible;
    // a dialog of the window is up: the focus stays with it
    if (QApplication::activeModalWidget() || !isEnabled()) return Focalisation::Sautee;
    raise();
    activateWindow();
    return Focalisation::Faite;
  };
  serveur.NouvellePage = [this] { constante_->NewPageCB->SetItemIndex(1); };
}

bool TZelmMainForm::EcouteMacros() { return dde_->Serveur().Ecoute(); }

TZelmMainForm::~TZelmMainForm() {
  // the device thread ends before the cycle and the graphs it reports to
  lien_->Termine();
  for (PaintBox *b : {c_.TempsPaintBox, c_.ZelmPaintBox}) {
    b->Peint = nullptr;
    b->MouseDown = b->MouseMove = b->MouseUp = nullptr;
  }
}

ModeAffichage TZelmMainForm::Mode() const {
  return ModeAffichage(std::clamp(c_.ModeRG->ItemIndex(), 0, 3));
}

void TZelmMainForm::FormCreate() {
  chargement_ = true;
  setWindowTitle(QStringLiteral("Acquisition par oscillo USB pour Tabulo"));
  qApp->installEventFilter(new SaisieGrecque(this));
  grapheSpectre_.Abscisse.NomGrandeur = "f";
  grapheSpectre_.Abscisse.SetNomUnite("Hz");
  grapheSpectre_.ModeBarres = true;
  nbHarmoniques_ = 4096;
  nomFichierConfig_ = dossierTabulo_ + "zelm.zlm";
  afficheurValeurs_ = std::make_unique<AfficheurLabels>(c_);
  grapheZelm_.Afficheur = afficheurValeurs_.get();
  // the device thread opens the oscilloscope; Connexion() tells what it found
  lien_->Travail().Ouvre();
  c_.ConnectBtn->setEnabled(false);
  ReglagesAcquis &r = cycle_->Reglages();
  r = ReglagesAcquis();
  c_.CouplageRG2->SetItemIndex(CouplageDC);
  c_.CouplageRG1->SetItemIndex(CouplageDC);
  c_.ModeRG->SetItemIndex(int(ModeAffichage::Oscilloscope));
  c_.SynchroRG->SetItemIndex(SynchroRelaxe);
  r.SetSynchro(SynchroRelaxe);
  c_.SensRG->SetItemIndex(SensMontant);
  grapheTemps_.SensSeuil = SensMontant;
  r.SetSens(SensMontant);
  c_.MonocoupCB->setChecked(false);
  c_.DureeUpDown->SetPosition(0);
  r.SetDuree(0);
  r.SetSeuil(ReglagesAcquis::SeuilMilieu);
  for (int c : {2, 1}) {
    c_.UpDownVoie[size_t(c)]->SetPosition(5);
    r.SetCalibre(c, 5);
  }
  AfficheDuree();
  AfficheCalibre(2);
  AfficheCalibre(1);
  LitConfig();
  {  // the track bar shows the line count in use, whatever its own start
    const QSignalBlocker silence(c_.FFTtrackBar);
    c_.FFTtrackBar->setValue(PositionHarmoniques(nbHarmoniques_));
  }
  cycle_->PrepareEchelles();
  chargement_ = false;
}

void TZelmMainForm::Recoit(ResultatAppareil &&r) {
  if (fermeture_) return;
  if (auto *t = std::get_if<Trame>(&r)) cycle_->TrameRecue(std::move(*t));
  else if (auto *e = std::get_if<EtatConnexion>(&r)) Connexion(*e);
  else if (auto *d = std::get_if<DecalageCorrige>(&r)) Decalage(*d);
  else if (auto *g = std::get_if<GenerateurTrouve>(&r)) {
    const ModeAffichage avant = Mode();
    typeGenerateur_ = g->genre;
    // the amplitude kept from the last run, once there is a generator to play it
    if (g->genre != GenreGenerateur::Aucun && amplitudeLue_[size_t(g->genre)])
      lien_->Travail().SetAmplitude(g->genre, amplitudes_[size_t(g->genre)]);
    AfficheVoies();
    if (Mode() != avant) AjusteAffichage();
  } else if (auto *p = std::get_if<GenerateurPerdu>(&r)) {
    PerteGenerateur(*p);
  } else if (auto *x = std::get_if<ErreurAppareil>(&r)) {
    BoitesCourantes().Erreur(QString::fromStdString(x->message));
  }
}

// The generator went in a sweep: the sweep ends on the points it has, the mode that
// needs a generator goes with it, and the next activation looks for one again.
void TZelmMainForm::PerteGenerateur(const GenerateurPerdu &p) {
  if (p.genre != typeGenerateur_) return;  // already known gone: said once
  const int points = mesure_->BalayageCourant().Parametres().points;
  mesure_->ArreteBalayage();
  const ModeAffichage avant = Mode();
  typeGenerateur_ = GenreGenerateur::Aucun;
  AfficheVoies();
  if (Mode() != avant) AjusteAffichage();
  else AjusteBoutons();
  const QString texte = QStringLiteral("Générateur débranché : balayage arrêté après %1 points sur %2")
                            .arg(grapheZelm_.NbPoints)
                            .arg(points);
  AfficheStatut(texte);
  BoitesCourantes().Message(texte);
}

void TZelmMainForm::Connexion(const EtatConnexion &e) {
  const bool avant = connecte_, reconnexion = connexionConnue_ && !connecte_ && e.connecte;
  connexionConnue_ = true;
  connecte_ = e.connecte;
  version_ = e.version;
  c_.ConnectBtn->setEnabled(!connecte_);
  if (e.debranche) {
    debranche_ = true;
    cycle_->ArreteAcquisition();  // nothing more will come of it
  }
  if (connecte_) debranche_ = false;
  if (connecte_ != avant) AjusteBoutons();
  // the cause and its hint stay in view; the boxes keep their own texts
  if (!e.diagnostic.empty()) AfficheStatut(VersQt(e.diagnostic));
  if (e.debranche) BoitesCourantes().Message(QStringLiteral("Oscillo débranché"));
  else if (!connecte_) BoitesCourantes().Message(QStringLiteral("Oscillo non branché"));
  // back after an unplug: acquiring again, with the settings the window kept
  if (reconnexion && !activationEnAttente_ && !fermeture_ && !enCorrection_) {
    AjusteAffichage();
    if (!cycle_->EnAcquisition()) LanceAcquisition();
  }
  if (activationEnAttente_) {
    activationEnAttente_ = false;
    FormActivate();
  }
}

void TZelmMainForm::FormActivate() {
  if (fermeture_ || enCorrection_) return;
  // a dialog of the window is up (a window manager may still activate the window): the
  // acquisition it paused resumes when it closes, not now
  if (QWidget *m = QApplication::activeModalWidget(); m && m != this) return;
  if (!connexionConnue_) {  // the device thread has not answered yet: activate then
    activationEnAttente_ = true;
    return;
  }
  if (!connecte_) {
    // unplugged while running: "Connexion" brings it back, the program goes on
    if (debranche_) return;
    // once: the box's own loop may deliver another activation
    if (finDemandee_) return;
    finDemandee_ = true;
    BoitesCourantes().Message(QStringLiteral("oscillo Quilo USB non détecté"));
    if (Termine) Termine();
    return;
  }
  if (typeGenerateur_ == GenreGenerateur::Aucun) DetecteGenerateur();
  AjusteAffichage();
  // an acquisition already armed (by the layout update, or the activation before
  // this one) is not armed again: that would cost the device's two waits
  if (!cycle_->EnAcquisition()) LanceAcquisition();
}

void TZelmMainForm::FormClose() {
  if (fermeture_) return;
  cycle_->Arrete();
  if (typeGenerateur_ != GenreGenerateur::Aucun) lien_->Travail().StoppeGenerateur(typeGenerateur_);
  fermeture_ = true;
  EcritConfig();
  // the export dialog's section, after the window's, on the file as it now is
  if (!constante_->EcritConstante()) EcritureImpossible();
  if (enCorrection_) {
    enCorrection_ = false;
    QApplication::restoreOverrideCursor();
  }
  // the program ends with its main window, whatever else is open
  Aide::Fenetre()->close();
  // waits for the device thread: it cuts short what runs, stops the device and closes it
  lien_->Termine();
}

void TZelmMainForm::DetecteGenerateur() {
  typeGenerateur_ = GenreGenerateur::Aucun;
  lien_->Travail().DetecteGenerateur();
}

void TZelmMainForm::AjusteAffichage() {
  grapheTemps_.NbBandes = 0;
  ModeAffichage m = Mode();
  if (m != ModeAffichage::ZelmAutomatique) mesure_->ArreteBalayage();
  if (c_.PanelZelm->isHidden() && m != ModeAffichage::Oscilloscope) c_.PanelZelm->show();
  else if (!c_.PanelZelm->isHidden() && m == ModeAffichage::Oscilloscope) c_.PanelZelm->hide();
  if (c_.PanelVoies->isHidden() && MontreLeDiagramme(m)) c_.PanelVoies->show();
  else if (!c_.PanelVoies->isHidden() && !MontreLeDiagramme(m)) c_.PanelVoies->hide();
  AfficheVoies();
  m = Mode();  // the mode list may have lost "Zelm automatique"
  for (int c : {1, 2})
    if (grapheTemps_.Voie(c).Active) ++grapheTemps_.NbBandes;
  if (MontreLeDiagramme(m)) AfficheVoies();
  c_.PanelVoies->setVisible(MontreLeDiagramme(m));
  c_.FFTtrackBar->setVisible(m == ModeAffichage::Spectre);
  c_.ZelmPaintBox->setVisible(m != ModeAffichage::Oscilloscope);
  cycle_->PrepareEchelles();
  c_.TempsPaintBox->Repeint();
  AjusteBoutons();
}

void TZelmMainForm::AfficheVoies() {
  for (size_t i = 0; i < 5; ++i) {
    const TCourbeMesure &c = grapheZelm_.Courbes[i];
    if (c.Active) {
      c_.GroupBoxVoie[i]->setTitle(VersQt(c.Libelle.vue()));
      c_.GroupBoxVoie[i]->setStyleSheet(QStringLiteral("QGroupBox { background: white; }"));
      c_.LabelVoie[i]->setStyleSheet(StyleCouleur(c.Couleur));
    } else {
      c_.GroupBoxVoie[i]->setTitle(QString());
      c_.LabelVoie[i]->clear();
    }
  }
  RadioGroupe &modes = *c_.ModeRG;
  if (typeGenerateur_ != GenreGenerateur::Aucun && modes.NbItems() == 3) {
    modes.AjouteItem(QStringLiteral("Zelm automatique"));
  } else if (typeGenerateur_ == GenreGenerateur::Aucun) {
    // set quietly: the caller is laying out the mode already
    const QSignalBlocker silence(&modes);
    if (modes.ItemIndex() == int(ModeAffichage::ZelmAutomatique))
      modes.SetItemIndex(int(ModeAffichage::Zelm));
    if (modes.NbItems() == 4) modes.SupprimeItem(3);
  }
}

void TZelmMainForm::AjusteBoutons() {
  const bool C = connecte_;
  const ModeAffichage m = Mode();
  const int N = grapheZelm_.NbPoints, n = grapheTemps_.NbPoints;
  c_.Header->clearMessage();
  if (!monocoupPrecedent_) c_.MonocoupCB->setChecked(false);
  const bool monocoup = c_.MonocoupCB->isChecked();
  struct Etat { bool enregistre; QString hint; bool reset, undo, regSave; };
  const bool relaxe = c_.SynchroRG->ItemIndex() == SynchroRelaxe;
  Etat e;
  switch (m) {
    case ModeAffichage::Oscilloscope:
      e = {C && !relaxe && monocoup, "|Lance l'acquisition", false, false, C && n > 2};
      break;
    case ModeAffichage::Spectre: e = {false, "", false, false, C && n > 2}; break;
    case ModeAffichage::Zelm:
      e = {C, "|Enregistre le point courant", C && N > 0, C && N > 0, N >= 3};
      break;
    case ModeAffichage::ZelmAutomatique:
      // a second start would empty the points of the sweep under way
      e = {C && !mesure_->BalayageEnCours(), "Acquisition", C && N > 0, false, N >= 3};
      break;
  }
  c_.EnregistreBtn->setEnabled(e.enregistre);
  DefinitHint(c_.EnregistreBtn, e.hint);
  c_.ResetBtn->setEnabled(e.reset);
  c_.UndoBtn->setEnabled(e.undo);
  c_.RegSaveBtn->setEnabled(e.regSave);
  monocoupPrecedent_ = c_.MonocoupCB->isChecked();
}

void TZelmMainForm::AfficheDuree() {
  const int d = std::clamp(cycle_->Reglages().Duree(), 0, int(BasesDeTemps.size()) - 1);
  const BaseDeTemps &b = BasesDeTemps[size_t(d)];
  c_.DureeEdit->SetTexte(VersQt(b.duree));
  c_.FechEdit->SetTexte(VersQt(b.libelleFrequence));
}

void TZelmMainForm::AfficheCalibre(int voie) {
  c_.CalibreEditVoie[size_t(voie)]->SetTexte(LibelleCalibre(cycle_->Reglages().Calibre(voie)));
}

void TZelmMainForm::ShowHint(const QString &longHint) { setWindowTitle(LegendePourHint(longHint)); }

// --- what the acquisition cycle sees of the window ---

bool TZelmMainForm::Monocoup() const { return c_.MonocoupCB->isChecked(); }
void TZelmMainForm::MontreArme(bool visible) { c_.ArmeBtn->setVisible(visible); }
void TZelmMainForm::AfficheStatut(const QString &texte) { c_.Header->showMessage(texte); }
void TZelmMainForm::RepeintTemps() { c_.TempsPaintBox->Repeint(); }
void TZelmMainForm::RepeintZelm() { c_.ZelmPaintBox->Repeint(); }
QImage &TZelmMainForm::ImageZelm() { return c_.ZelmPaintBox->Image(); }
void TZelmMainForm::MontreImageZelm() { c_.ZelmPaintBox->update(); }
void TZelmMainForm::DesactiveEnregistre() { c_.EnregistreBtn->setEnabled(false); }
void TZelmMainForm::DecocheMonocoup() { c_.MonocoupCB->setChecked(false); }

void TZelmMainForm::MontreErreurDeMesure(int i) {
  if (i >= 0 && i < int(c_.LabelVoie.size()))
    c_.LabelVoie[size_t(i)]->setText(QStringLiteral("Erreur d'acquisition sur une voie"));
}

void TZelmMainForm::MontreLectures() {
  for (int c : {1, 2}) {
    QLabel *l = c_.LectureVoie[size_t(c)];
    // a grounded channel is not acquired: nothing to read
    const bool montre = mesuresEcran_ && Reglages().CouplageVoie(c) != CouplageGND;
    l->setVisible(montre);
    if (!montre) continue;
    l->setStyleSheet(StyleCouleur(grapheTemps_.Voie(c).Couleur));
    l->setText(QStringLiteral("Voie %1 :   ").arg(c) +
               TexteLectures(LecturesVoie(grapheTemps_.Voie1, grapheTemps_.Voie2, c,
                                          cycle_->PeriodeEchantillonnage())));
  }
}

void TZelmMainForm::MontreReglages() {
  const bool avant = chargement_;
  chargement_ = true;
  const ReglagesAcquis &r = cycle_->Reglages();
  for (int c : {1, 2}) {
    c_.UpDownVoie[size_t(c)]->SetPosition(r.Calibre(c));
    AfficheCalibre(c);
    c_.CouplageVoie[size_t(c)]->SetItemIndex(r.CouplageVoie(c));
  }
  c_.SynchroRG->SetItemIndex(r.Synchro());
  c_.SensRG->SetItemIndex(r.Sens());
  c_.DureeUpDown->SetPosition(r.Duree());
  AfficheDuree();
  chargement_ = avant;
}

bool TZelmMainForm::event(QEvent *e) {
  switch (e->type()) {
    case QEvent::StatusTip:  // the long hint of the control under the mouse
      ShowHint(static_cast<QStatusTipEvent *>(e)->tip());
      return true;
    case QEvent::WindowActivate:
      Protege([this] { FormActivate(); });
      break;
    default:
      break;
  }
  return QMainWindow::event(e);
}

bool TZelmMainForm::eventFilter(QObject *cible, QEvent *e) {
  if (e->type() == QEvent::MouseButtonRelease) {
    for (size_t t = 0; t < 5; ++t)
      if (cible == c_.GroupBoxVoie[t] || cible == c_.LabelVoie[t]) {
        Protege([&] {
          if (t == 0) VoieFreqClick();
          else VoieAnaClick(int(t));
        });
        return true;
      }
  }
  return QMainWindow::eventFilter(cible, e);
}

void TZelmMainForm::closeEvent(QCloseEvent *e) {
  FormClose();
  e->accept();
}
