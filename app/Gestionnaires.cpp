// The main window's control handlers: they store settings in the cycle's copy
// (the device gets them at the next arming, at once when one is under way) or
// pause around a dialog.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

#include "Aide.h"
#include "Boites.h"
#include "Controles.h"
#include "LienAppareil.h"
#include "PaintBox.h"
#include "SaisieGrecque.h"
#include "TZelmMainForm.h"
#include "Texte8.h"
#include "ZelmAbout.h"
#include "ZelmMode.h"
#include "ZelmCfg.h"
#include "ZelmDDE.h"
#include "ZelmReg.h"
#include "OptFFT.h"

void TZelmMainForm::ReglageChange() {
  if (!chargement_) cycle_->ReArme();
}

void TZelmMainForm::DureeUpDownChangingEx(int valeur, bool &permis) {
  if (valeur < 0 || valeur >= int(BasesDeTemps.size())) return;
  permis = true;
  cycle_->Reglages().SetDuree(valeur);
  AfficheDuree();
  ReglageChange();
}

void TZelmMainForm::SynchroRGClick() {
  if (chargement_) return;
  ArreteAcquisition();
  cycle_->Reglages().SetSynchro(c_.SynchroRG->ItemIndex());
  AfficheHintSynchro();
  cycle_->PrepareEchelles();
  c_.TempsPaintBox->Repeint();
  if (!c_.MonocoupCB->isChecked()) LanceAcquisition();
}

void TZelmMainForm::AfficheHintSynchro() {
  const int i = c_.SynchroRG->ItemIndex();
  const QString cote = i == SynchroVoie1 ? QStringLiteral("gauche") : QStringLiteral("droite");
  DefinitHint(c_.SynchroRG, i == SynchroVoie1 || i == SynchroVoie2
                                ? "Seuil modifiable par cliquer déplacer à " + cote + " du graphe"
                                : QString());
}

void TZelmMainForm::SensRGClick() {
  if (chargement_) return;
  ArreteAcquisition();
  cycle_->Reglages().SetSens(c_.SensRG->ItemIndex() == 1 ? SensDescendant : SensMontant);
  grapheTemps_.SensSeuil = cycle_->Reglages().Sens();
  if (!c_.MonocoupCB->isChecked()) LanceAcquisition();
}

void TZelmMainForm::MonocoupCBClick() {
  if (!c_.MonocoupCB->isChecked()) ArmeBtnClick();
}

void TZelmMainForm::ArmeBtnClick() {
  if (!cycle_->EnAcquisition()) LanceAcquisition();
}

void TZelmMainForm::StopBtnClick() {
  const bool enReglage = cycle_->ReglageAuto();
  cycle_->Arrete();
  mesure_->ArreteBalayage();
  monocoupPrecedent_ = c_.MonocoupCB->isChecked();
  c_.MonocoupCB->setChecked(true);
  // stopped half-way, the configuration has changed settings the panel does not show yet
  if (enReglage) MontreReglages();
}

void TZelmMainForm::UpDown2Click(UpDown *emetteur) {
  const int c = emetteur->tag;
  Q_ASSERT_X(c == 1 || c == 2, "UpDown2Click", "calibre up-downs carry tags 1 and 2");
  if (c != 1 && c != 2) return;
  cycle_->Reglages().SetCalibre(c, emetteur->Position());
  AfficheCalibre(c);
  ReglageChange();
}

void TZelmMainForm::CouplageRG2Click(RadioGroupe *emetteur) {
  const int c = emetteur->tag;
  Q_ASSERT_X(c == 1 || c == 2, "CouplageRG2Click", "coupling groups carry tags 1 and 2");
  if (c != 1 && c != 2) return;
  cycle_->Reglages().SetCouplage(c, emetteur->ItemIndex());
  ReglageChange();
}

void TZelmMainForm::EnregistreBtnClick() {
  switch (Mode()) {
    case ModeAffichage::Oscilloscope:
    case ModeAffichage::Spectre: LanceAcquisition(); break;
    case ModeAffichage::Zelm:
      if (mesure_->AcquiertPoint()) AjusteBoutons();  // "Défaire" at once
      break;
    case ModeAffichage::ZelmAutomatique: mesure_->DemarreBalayage(typeGenerateur_); break;
  }
}

void TZelmMainForm::UndoBtnClick() { mesure_->UndoBtnClick(); }
void TZelmMainForm::ResetBtnClick() { mesure_->ResetBtnClick(true); }

void TZelmMainForm::ConnectBtnClick() {
  // Connexion() shows the result
  lien_->Travail().Connecte();
}

void TZelmMainForm::ToolButton1Click() {
  StopBtnClick();
  // the state to resume is the one before this first pause, not the forced single shot
  const bool precedent = monocoupPrecedent_;
  if (BoitesCourantes().ConfirmeOkAnnuler(QStringLiteral("Correction du décalage des voies"))) {
    if (fermeture_) return;  // closed while the question was up
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StopBtnClick();
    monocoupPrecedent_ = precedent;
    enCorrection_ = true;
    // Decalage() finishes: the layout update then resumes the acquisition
    lien_->Travail().CorrigeDecalage(cycle_->Reglages());
    return;
  }
  AjusteAffichage();
}

void TZelmMainForm::Decalage(const DecalageCorrige &d) {
  if (!enCorrection_) return;
  enCorrection_ = false;
  QApplication::restoreOverrideCursor();
  correction_ = d.correction;
  // kept at once: a crash later in the run must not lose them
  if (d.reussi) EnregistreCorrections();
  if (!d.reussi)
    BoitesCourantes().Erreur(QStringLiteral(
        "La correction du décalage a échoué : l'oscilloscope n'a pas envoyé de mesure. "
        "Les corrections précédentes sont conservées."));
  AjusteAffichage();
}

void TZelmMainForm::VoieFreqClick() {
  if (chargement_) return;
  StopBtnClick();
  TCourbeMesure &frequence = grapheZelm_.Courbes[0];
  ReglagesDiagramme r;
  r.axeVertical = grapheZelm_.Etiquettes.AxeY;
  r.dimPoint = grapheZelm_.DimPoint;
  r.fmin = frequence.Mini;
  r.fmax = frequence.Maxi;
  r.voie = frequence.VoieMesure;
  // a sweep never set up runs with the dialog's defaults: show those
  if (grapheZelm_.NbPointsBalayage > 0) r.points = grapheZelm_.NbPointsBalayage;
  if (grapheZelm_.DelaiBalayage > 0) r.delaiMs = grapheZelm_.DelaiBalayage;
  r.logarithmique = mesure_->Logarithmique;
  r.gammesAuto = mesure_->GammesAuto;
  const GenreGenerateur g = typeGenerateur_;
  TZelmModeDlg dialogue(r, g, amplitudes_[size_t(g)], [this, g](double crete) {
    amplitudes_[size_t(g)] = crete;
    lien_->Travail().SetAmplitude(g, crete);
  }, this);
  if (BoitesCourantes().Execute(dialogue)) {
    dialogue.OKBtnClick();
    grapheZelm_.Etiquettes.AxeY = r.axeVertical;
    grapheZelm_.DimPoint = r.dimPoint;
    frequence.Mini = r.fmin;
    frequence.Maxi = r.fmax;
    frequence.VoieMesure = frequence.VoieReference = uint8_t(r.voie);
    grapheZelm_.NbPointsBalayage = r.points;
    grapheZelm_.DelaiBalayage = r.delaiMs;
    mesure_->Logarithmique = r.logarithmique;
    mesure_->GammesAuto = r.gammesAuto;
  }
  cycle_->PrepareEchelles();
  c_.ZelmPaintBox->Repeint();
  AjusteAffichage();
}

void TZelmMainForm::VoieAnaClick(int tag) {
  Q_ASSERT_X(tag >= 1 && tag <= 4, "VoieAnaClick", "measurement boxes carry tags 1 to 4");
  if (tag < 1 || tag > 4) return;
  StopBtnClick();
  // its own buttons store ("&Activer") or hide ("&Désactiver") the channel
  TVoieZelmDlg dialogue(grapheZelm_.Courbes[size_t(tag)], this);
  BoitesCourantes().Execute(dialogue);
  cycle_->PrepareEchelles();
  c_.ZelmPaintBox->Repeint();
  AjusteAffichage();
}

void TZelmMainForm::OptionsBtnClick() {
  StopBtnClick();
  OptionsFFT o{grapheTemps_.Voie1.FenetreSpectre, grapheTemps_.Superposition, mesuresEcran_};
  TOptionsFFTDlg dialogue(o, this);
  if (BoitesCourantes().Execute(dialogue)) {
    dialogue.BtnOKClick();
    for (int c : {1, 2}) grapheTemps_.Voie(c).FenetreSpectre = o.fenetre;  // from the next frame
    grapheTemps_.Superposition = o.superposition;
    mesuresEcran_ = o.mesuresEcran;
    if (!mesuresEcran_)
      for (int c : {1, 2}) c_.LectureVoie[size_t(c)]->hide();
    update();
    c_.TempsPaintBox->Repeint();
  }
  AjusteAffichage();
}

void TZelmMainForm::RegSaveBtnClick() {
  StopBtnClick();
  if (BoitesCourantes().Execute(*constante_) && constante_->ValeurLisible()) {
    if (MontreLeDiagramme(Mode())) dde_->ExporteMesures(*constante_, grapheZelm_);
    else dde_->ExporteTemps(*constante_, grapheTemps_);
  }
  AjusteBoutons();
}

void TZelmMainForm::HelpAbout() {
  StopBtnClick();
  {
    TZelmAboutBox boite(
        [this] { return VersQt(connecte_ ? version_ : std::string("Oscillo non branch\xE9")); },
        this);
    BoitesCourantes().Execute(boite);
  }
  AjusteAffichage();
}

void TZelmMainForm::HelpBtnClick() { Aide::Montre(0); }

void TZelmMainForm::FFTtrackBarChange(int position) {
  nbHarmoniques_ = 1 << (12 - std::clamp(position, 0, 9));
  cycle_->PrepareEchelles();
  c_.ZelmPaintBox->Repeint();
}

int PositionHarmoniques(int nbHarmoniques) {
  int position = 12;
  while (position > 0 && (1 << (12 - position)) < nbHarmoniques) --position;
  return std::clamp(position, 0, 9);
}
