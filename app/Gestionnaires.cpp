// The main window's control handlers: they store settings in the oscilloscope
// model (the device gets them at the next arming) or pause around a dialog.
#include <QApplication>
#include <QCheckBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "Aide.h"
#include "Boites.h"
#include "Controles.h"
#include "PaintBox.h"
#include "SaisieGrecque.h"
#include "TZelmMainForm.h"
#include "Texte8.h"
#include "ZelmAbout.h"

void TZelmMainForm::DureeUpDownChangingEx(int valeur, bool &permis) {
  if (valeur < 0 || valeur > 17) return;
  permis = true;
  Oscillo->SetDuree(valeur);
  AfficheDuree();
}

void TZelmMainForm::SynchroRGClick() {
  if (Chargement) return;
  ArreteAcquisition();
  const int i = SynchroRG->ItemIndex();
  Oscillo->SetSynchro(i);
  const QString cote = i == 1 ? QStringLiteral("gauche") : QStringLiteral("droite");
  DefinitHint(SynchroRG, i == 1 || i == 2
                             ? "Seuil modifiable par cliquer déplacer à " + cote + " du graphe"
                             : QString());
  TempsPaintBox->Repeint();
  if (!MonocoupCB->isChecked()) LanceAcquisition();
}

void TZelmMainForm::SensRGClick() {
  if (Chargement) return;
  ArreteAcquisition();
  Oscillo->SetSens(SensRG->ItemIndex() == 1);
  GrapheTemps.SensSeuil = Oscillo->Sens;
  if (!MonocoupCB->isChecked()) LanceAcquisition();
}

void TZelmMainForm::MonocoupCBClick() {
  if (!MonocoupCB->isChecked()) ArmeBtnClick();
}

void TZelmMainForm::ArmeBtnClick() {
  if (!EnAcquisition) LanceAcquisition();
}

void TZelmMainForm::StopBtnClick() {
  ArreteAcquisition();
  // also when pressed while a complete frame is shown: the tick under way must
  // not start the timer again
  ArretDemande = true;
  Timer->stop();
  MonocoupPrecedent = MonocoupCB->isChecked();
  MonocoupCB->setChecked(true);
  ReglageAuto = false;
}

void TZelmMainForm::UpDown2Click(UpDown *emetteur) {
  const int c = emetteur->tag;
  Q_ASSERT_X(c == 1 || c == 2, "UpDown2Click", "calibre up-downs carry tags 1 and 2");
  if (c != 1 && c != 2) return;
  Oscillo->SetCalibre(c, emetteur->Position());
  AfficheCalibre(c);
}

void TZelmMainForm::CouplageRG2Click(RadioGroupe *emetteur) {
  const int c = emetteur->tag;
  Q_ASSERT_X(c == 1 || c == 2, "CouplageRG2Click", "coupling groups carry tags 1 and 2");
  if (c != 1 && c != 2) return;
  Oscillo->SetCouplage(c, emetteur->ItemIndex());
}

void TZelmMainForm::EnregistreBtnClick() {
  // modes 2 and 3 take points with the frequency-response measurement
  if (Mode() < 2) LanceAcquisition();
}

void TZelmMainForm::ConnectBtnClick() {
  Oscillo->Connecte(true);
  ConnectBtn->setEnabled(!Oscillo->EstConnecte());
  if (!Oscillo->EstConnecte()) BoitesCourantes().Message(QStringLiteral("Oscillo non branché"));
}

void TZelmMainForm::ToolButton1Click() {
  StopBtnClick();
  // the state to resume is the one before this first pause, not the forced single shot
  const bool precedent = MonocoupPrecedent;
  if (BoitesCourantes().ConfirmeOkAnnuler(QStringLiteral("Correction du décalage des voies"))) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StopBtnClick();
    MonocoupPrecedent = precedent;
    enCorrection_ = true;
    Oscillo->CorrigeDecalage();
    enCorrection_ = false;
    QApplication::restoreOverrideCursor();
    if (Fermeture) {  // closed while the correction ran: it is freed now
      LibereOscilloSiLibre();
      return;
    }
  }
  AjusteAffichage();
}

void TZelmMainForm::PauseDialogue() {
  StopBtnClick();
  AjusteAffichage();
}

void TZelmMainForm::VoieAnaClick(int tag) {
  Q_ASSERT_X(tag >= 1 && tag <= 4, "VoieAnaClick", "measurement boxes carry tags 1 to 4");
  if (tag < 1 || tag > 4) return;
  PauseDialogue();
}

void TZelmMainForm::RegSaveBtnClick() {
  StopBtnClick();
  AjusteBoutons();
}

void TZelmMainForm::HelpAbout() {
  StopBtnClick();
  {
    TZelmAboutBox boite(
        [this] { return VersQt(Oscillo ? Oscillo->Version() : std::string()); }, this);
    BoitesCourantes().Execute(boite);
  }
  AjusteAffichage();
}

void TZelmMainForm::HelpBtnClick() { Aide::Montre(0); }

void TZelmMainForm::FFTtrackBarChange(int position) {
  NbHarmoniques = 1 << (12 - std::clamp(position, 0, 9));
  ZelmPaintBox->Repeint();
}

int PositionHarmoniques(int nbHarmoniques) {
  int position = 12;
  while (position > 0 && (1 << (12 - position)) < nbHarmoniques) --position;
  return std::clamp(position, 0, 9);
}
