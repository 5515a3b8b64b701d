#include "TZelmMainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "Aide.h"
#include "Boites.h"
#include "ConstruitControles.h"
#include "Controles.h"
#include "CycleAcquisition.h"
#include "PaintBox.h"
#include "SaisieGrecque.h"
#include "ServicesZelm.h"
#include "Texte8.h"
#include "ZelmAbout.h"

namespace {

class AfficheurLabels final : public EtiquettesValeurs {
 public:
  explicit AfficheurLabels(TZelmMainForm &f) : f_(f) {}
  void AfficheValeur(int i, const Texte32 &texte) override {
    if (i >= 0 && i < int(f_.LabelVoie.size())) f_.LabelVoie[size_t(i)]->setText(VersQt(texte.vue()));
  }

 private:
  TZelmMainForm &f_;
};

}  // namespace

QString LibelleCalibre(int calibre) {
  const int k = std::min(calibre % 128, int(Calibres.size()) - 1);
  return QStringLiteral("±") + VersQt(Calibres[size_t(k)].libelle);
}

TZelmMainForm::TZelmMainForm(AccesGenerateurs generateurs, QWidget *parent)
    : QMainWindow(parent), generateurs_(std::move(generateurs)) {
  Termine = [] { QCoreApplication::exit(1); };
  ConstruitControles(*this);
  Cycle = std::make_unique<TCycleAcquisition>(*this);
  TempsPaintBox->Peint = [this] { Cycle->TempsPaintBoxPaint(); };
  ZelmPaintBox->Peint = [this] { Cycle->ZelmPaintBoxPaint(); };
  connect(Timer, &QTimer::timeout, this, [this] { Cycle->TimerTimer(); });
  FormCreate();
}

TZelmMainForm::~TZelmMainForm() {
  // the paint boxes outlive the graphs' owner only by their own destruction
  TempsPaintBox->Peint = nullptr;
  ZelmPaintBox->Peint = nullptr;
}

int TZelmMainForm::Mode() const { return std::max(ModeRG->ItemIndex(), 0); }

void TZelmMainForm::FormCreate() {
  Chargement = true;
  setWindowTitle(QStringLiteral("Acquisition par oscillo USB pour Tabulo"));
  qApp->installEventFilter(new SaisieGrecque(this));
  GrapheSpectre.Abscisse.NomGrandeur = "f";
  GrapheSpectre.Abscisse.SetNomUnite("Hz");
  GrapheSpectre.ModeBarres = true;
  NbHarmoniques = 4096;
  EnAcquisition = false;
  NomFichierConfig = DossierTabulo + "zelm.zlm";
  AfficheurValeurs = std::make_unique<AfficheurLabels>(*this);
  GrapheZelm.Afficheur = AfficheurValeurs.get();
  Oscillo = std::make_unique<TOscillo>();
  // the correction lets the window repaint, but takes no input meanwhile
  Oscillo->TraiteMessages = [this] {
    QCoreApplication::processEvents(enCorrection_ ? QEventLoop::ExcludeUserInputEvents
                                                  : QEventLoop::AllEvents);
  };
  if (!Oscillo->EstConnecte()) BoitesCourantes().Message(QStringLiteral("Oscillo non branché"));
  ConnectBtn->setEnabled(!Oscillo->EstConnecte());
  CouplageRG2->SetItemIndex(CouplageDC);
  CouplageRG1->SetItemIndex(CouplageDC);
  ModeRG->SetItemIndex(0);
  SynchroRG->SetItemIndex(0);
  Oscillo->SetSynchro(0);
  SensRG->SetItemIndex(0);
  GrapheTemps.SensSeuil = 0;
  Oscillo->SetSens(0);
  MonocoupCB->setChecked(false);
  DureeUpDown->SetPosition(0);
  Oscillo->SetDuree(0);
  Oscillo->Seuil = 127;
  for (int c : {2, 1}) {
    UpDownVoie[size_t(c)]->SetPosition(5);
    Oscillo->SetCalibre(c, 5);
  }
  AfficheDuree();
  AfficheCalibre(2);
  AfficheCalibre(1);
  LitConfig();
  {  // the track bar shows the line count in use, whatever its own start
    const QSignalBlocker silence(FFTtrackBar);
    FFTtrackBar->setValue(PositionHarmoniques(NbHarmoniques));
  }
  Chargement = false;
}

void TZelmMainForm::FormActivate() {
  if (!Oscillo || Fermeture || enCorrection_) return;
  if (!Oscillo->EstConnecte()) {
    // once: the box's own loop may deliver another activation
    if (finDemandee_) return;
    finDemandee_ = true;
    BoitesCourantes().Message(QStringLiteral("oscillo Quilo USB non détecté"));
    if (Termine) Termine();
    return;
  }
  if (TypeGenerateur == 0) DetecteGenerateur();
  AjusteAffichage();
  LanceAcquisition();
}

void TZelmMainForm::FormClose() {
  Timer->stop();
  TimerZelmAuto->stop();
  ArreteAcquisition();
  if ((TypeGenerateur == 1 || TypeGenerateur == 2) && generateurs_.Eteint)
    generateurs_.Eteint(TypeGenerateur);
  Fermeture = true;
  EcritConfig();
  LibereOscilloSiLibre();
}

void TZelmMainForm::LibereOscilloSiLibre() {
  // a tick or the correction still running on it frees it when it returns
  if (!Fermeture || enCorrection_ || Cycle->DansTick()) return;
  Oscillo.reset();
}

void TZelmMainForm::DetecteGenerateur() {
  TypeGenerateur = 0;
  if (generateurs_.OuvreGBF && generateurs_.OuvreGBF()) TypeGenerateur = 1;
  else if (generateurs_.OuvreGTBF && generateurs_.OuvreGTBF()) TypeGenerateur = 2;
}

void TZelmMainForm::AjusteAffichage() {
  GrapheTemps.NbBandes = 0;
  int m = Mode();
  if (PanelZelm->isHidden() && m != 0) PanelZelm->show();
  else if (!PanelZelm->isHidden() && m == 0) PanelZelm->hide();
  if (PanelVoies->isHidden() && m >= 2) PanelVoies->show();
  else if (!PanelVoies->isHidden() && m < 2) PanelVoies->hide();
  AfficheVoies();
  m = Mode();  // the mode list may have lost "Zelm automatique"
  for (int c : {1, 2})
    if (GrapheTemps.Voie(c).Active) ++GrapheTemps.NbBandes;
  if (m >= 2) AfficheVoies();
  PanelVoies->setVisible(m >= 2);
  FFTtrackBar->setVisible(m == 1);
  ZelmPaintBox->setVisible(m != 0);
  TempsPaintBox->Repeint();
  AjusteBoutons();
}

void TZelmMainForm::AfficheVoies() {
  for (size_t i = 0; i < 5; ++i) {
    const TCourbeMesure &c = GrapheZelm.Courbes[i];
    if (c.Active) {
      GroupBoxVoie[i]->setTitle(VersQt(c.Libelle.vue()));
      GroupBoxVoie[i]->setStyleSheet(QStringLiteral("QGroupBox { background: white; }"));
      const uint32_t bgr = c.Couleur;
      LabelVoie[i]->setStyleSheet(QStringLiteral("color: #%1%2%3")
                                      .arg(bgr & 0xFF, 2, 16, QLatin1Char('0'))
                                      .arg((bgr >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                                      .arg((bgr >> 16) & 0xFF, 2, 16, QLatin1Char('0')));
    } else {
      GroupBoxVoie[i]->setTitle(QString());
      LabelVoie[i]->clear();
    }
  }
  if (TypeGenerateur != 0 && ModeRG->NbItems() == 3) {
    ModeRG->AjouteItem(QStringLiteral("Zelm automatique"));
  } else if (TypeGenerateur == 0) {
    // set quietly: the caller is laying out the mode already
    const QSignalBlocker silence(ModeRG);
    if (ModeRG->ItemIndex() == 3) ModeRG->SetItemIndex(2);
    if (ModeRG->NbItems() == 4) ModeRG->SupprimeItem(3);
  }
}

void TZelmMainForm::AjusteBoutons() {
  const bool C = Oscillo && Oscillo->EstConnecte();
  const int m = Mode();
  const int N = GrapheZelm.NbPoints, n = GrapheTemps.NbPoints;
  Header->clearMessage();
  if (!MonocoupPrecedent) MonocoupCB->setChecked(false);
  const bool monocoup = MonocoupCB->isChecked();
  struct Etat { bool enregistre; QString hint; bool reset, undo, regSave; };
  const Etat e = m == 0   ? Etat{C && SynchroRG->ItemIndex() != 0 && monocoup,
                                 "|Lance l'acquisition", false, false, C && n > 2}
                 : m == 1 ? Etat{false, "", false, false, C && n > 2}
                 : m == 2 ? Etat{C, "|Enregistre le point courant", C && N > 0, C && N > 0, N >= 3}
                          : Etat{C, "Acquisition", C && N > 0, false, N >= 3};
  EnregistreBtn->setEnabled(e.enregistre);
  DefinitHint(EnregistreBtn, e.hint);
  ResetBtn->setEnabled(e.reset);
  UndoBtn->setEnabled(e.undo);
  RegSaveBtn->setEnabled(e.regSave);
  MonocoupPrecedent = MonocoupCB->isChecked();
}

void TZelmMainForm::LanceAcquisition() { Cycle->LanceAcquisition(); }
void TZelmMainForm::ArreteAcquisition() { Cycle->ArreteAcquisition(); }
void TZelmMainForm::autosetBtnClick() { Cycle->autosetBtnClick(); }

void TZelmMainForm::AfficheDuree() {
  const BaseDeTemps &b = BasesDeTemps[std::min<size_t>(Oscillo->Duree, BasesDeTemps.size() - 1)];
  DureeEdit->SetTexte(VersQt(b.duree));
  FechEdit->SetTexte(VersQt(b.libelleFrequence));
}

void TZelmMainForm::AfficheCalibre(int voie) {
  CalibreEditVoie[size_t(voie)]->SetTexte(LibelleCalibre(Oscillo->GetCalibre(voie)));
}

void TZelmMainForm::ShowHint(const QString &longHint) { setWindowTitle(LegendePourHint(longHint)); }

bool TZelmMainForm::event(QEvent *e) {
  switch (e->type()) {
    case QEvent::StatusTip:  // the long hint of the control under the mouse
      ShowHint(static_cast<QStatusTipEvent *>(e)->tip());
      return true;
    case QEvent::WindowActivate:
      if (ActivationAutomatique) FormActivate();
      break;
    default:
      break;
  }
  return QMainWindow::event(e);
}

bool TZelmMainForm::eventFilter(QObject *cible, QEvent *e) {
  if (e->type() == QEvent::MouseButtonRelease) {
    for (size_t t = 0; t < 5; ++t)
      if (cible == GroupBoxVoie[t] || cible == LabelVoie[t]) {
        if (t == 0) VoieFreqClick();
        else VoieAnaClick(int(t));
        return true;
      }
  }
  return QMainWindow::eventFilter(cible, e);
}

void TZelmMainForm::closeEvent(QCloseEvent *e) {
  if (!Fermeture) FormClose();
  e->accept();
}
