// The settings file of the main window: read once at its creation, written once at
// its closing, and the zero corrections also right after a "Zéro" that succeeded.
// Each write reads the file again first, so that what another writer put there stays.
#include <QCheckBox>

#include "Boites.h"
#include "Controles.h"
#include "FichierConfig.h"
#include "FichierIni.h"
#include "LienAppareil.h"
#include "TZelmMainForm.h"

ReglagesFichier TZelmMainForm::ReglagesCourants() const {
  ReglagesFichier r;
  r.dimPoint = grapheZelm_.DimPoint;
  r.nbHarmoniques = nbHarmoniques_;
  r.axeYOscillo = grapheTemps_.Etiquettes.AxeY;
  r.analLog = grapheTemps_.Superposition;
  r.axeYMesure = grapheZelm_.Etiquettes.AxeY;
  r.frequenceMaxi = grapheZelm_.Courbes[0].Maxi;
  for (size_t i = 0; i < 5; ++i) {
    const TCourbeMesure &c = grapheZelm_.Courbes[i];
    r.mesures[i] = {c.Active, c.Grandeur, c.VoieMesure, c.VoieReference, c.Couleur, c.Motif};
  }
  r.couplage[1] = c_.CouplageRG1->ItemIndex();
  r.couplage[2] = c_.CouplageRG2->ItemIndex();
  r.mode = c_.ModeRG->ItemIndex();
  r.synchro = c_.SynchroRG->ItemIndex();
  r.sens = c_.SensRG->ItemIndex();
  r.seuil = cycle_->Reglages().Seuil();
  r.monocoup = c_.MonocoupCB->isChecked();
  r.duree = c_.DureeUpDown->Position();
  for (int c : {1, 2}) r.calibre[size_t(c)] = c_.UpDownVoie[size_t(c)]->Position();
  r.correction = correction_;
  r.frequenceMini = grapheZelm_.Courbes[0].Mini;
  r.pointsBalayage = grapheZelm_.NbPointsBalayage;
  r.delaiBalayage = grapheZelm_.DelaiBalayage;
  r.logarithmique = mesure_->Logarithmique;
  r.gammesAuto = mesure_->GammesAuto;
  r.amplitude = amplitudes_;
  r.fenetre = grapheTemps_.Voie1.FenetreSpectre;
  r.mesuresEcran = mesuresEcran_;
  return r;
}

void TZelmMainForm::LitConfig() {
  // until a file says otherwise, curves 1..4 measure the RMS value (the diagram
  // would otherwise show a frequency in volts)
  for (int i = 1; i <= 4; ++i) grapheZelm_.Courbes[size_t(i)].SetGrandeur(GrandeurEfficace);
  if (dossierTabulo_.empty()) return;
  const FichierIni fichier(nomFichierConfig_);
  if (!fichier.Lu()) return;
  chargement_ = true;
  const ReglagesFichier r = LitReglages(fichier, ReglagesCourants());
  grapheZelm_.DimPoint = r.dimPoint;
  nbHarmoniques_ = r.nbHarmoniques;
  grapheTemps_.Superposition = r.analLog;
  grapheTemps_.Etiquettes.AxeY = r.axeYOscillo;
  grapheTemps_.NbPoints = 0;
  grapheZelm_.Etiquettes.AxeY = r.axeYMesure;
  grapheZelm_.NbPoints = 0;
  TCourbeMesure &frequence = grapheZelm_.Courbes[0];
  frequence.Active = true;
  frequence.SetGrandeur(GrandeurFrequence);
  frequence.Maxi = r.frequenceMaxi;
  for (size_t i = 1; i <= 4; ++i) {
    grapheZelm_.Courbes[i].Active = r.mesures[i].active;
    grapheZelm_.Courbes[i].SetGrandeur(uint8_t(r.mesures[i].grandeur));
  }
  c_.CouplageRG2->SetItemIndex(r.couplage[2]);
  c_.CouplageRG1->SetItemIndex(r.couplage[1]);
  // no generator is known yet: a saved "Zelm automatique" becomes the diagram
  c_.ModeRG->SetItemIndex(r.mode);
  ReglagesAcquis &reglages = cycle_->Reglages();
  c_.SynchroRG->SetItemIndex(r.synchro);
  reglages.SetSynchro(r.synchro);
  AfficheHintSynchro();
  c_.SensRG->SetItemIndex(r.sens);
  grapheTemps_.SensSeuil = r.sens == 1 ? SensDescendant : SensMontant;
  reglages.SetSens(grapheTemps_.SensSeuil);
  // remembered too: the first button update would otherwise uncheck it
  c_.MonocoupCB->setChecked(r.monocoup);
  monocoupPrecedent_ = r.monocoup;
  c_.DureeUpDown->SetPosition(r.duree);
  reglages.SetDuree(c_.DureeUpDown->Position());
  reglages.SetSeuil(r.seuil);
  for (int c : {2, 1}) {
    c_.UpDownVoie[size_t(c)]->SetPosition(r.calibre[size_t(c)]);
    reglages.SetCalibre(c, c_.UpDownVoie[size_t(c)]->Position());
  }
  AfficheDuree();
  AfficheCalibre(2);
  AfficheCalibre(1);
  correction_ = r.correction;
  lien_->Travail().SetCorrection(correction_);
  AppliqueReprise(r);
  chargement_ = false;
}

// What the program keeps besides the file format's keys.
void TZelmMainForm::AppliqueReprise(const ReglagesFichier &r) {
  grapheZelm_.Courbes[0].Mini = r.frequenceMini;
  grapheZelm_.NbPointsBalayage = r.pointsBalayage;
  grapheZelm_.DelaiBalayage = r.delaiBalayage;
  mesure_->Logarithmique = r.logarithmique;
  mesure_->GammesAuto = r.gammesAuto;
  amplitudes_ = r.amplitude;
  amplitudeLue_ = r.amplitudeLue;
  for (int c : {1, 2}) grapheTemps_.Voie(c).FenetreSpectre = Fft::Fenetre(r.fenetre);
  mesuresEcran_ = r.mesuresEcran;
  for (size_t i = 0; i <= 4; ++i) {
    TCourbeMesure &c = grapheZelm_.Courbes[i];
    c.VoieMesure = uint8_t(r.mesures[i].voieMesure);
    c.VoieReference = uint8_t(r.mesures[i].voieReference);
    c.Couleur = r.mesures[i].couleur;
    c.Motif = uint8_t(r.mesures[i].motif);
  }
}

void TZelmMainForm::EcritConfig() {
  if (dossierTabulo_.empty()) return;
  FichierIni fichier(nomFichierConfig_);
  EcritReglages(fichier, ReglagesCourants());
  if (!fichier.Enregistre()) EcritureImpossible();
}

void TZelmMainForm::EnregistreCorrections() {
  if (dossierTabulo_.empty()) return;
  FichierIni fichier(nomFichierConfig_);
  EcritCorrections(fichier, correction_);
  if (!fichier.Enregistre()) EcritureImpossible();
}

void TZelmMainForm::EcritureImpossible() {
  // one box per closing, whichever writer failed; the previous file is intact
  if (fermeture_ && ecritureImpossibleDite_) return;
  ecritureImpossibleDite_ = fermeture_;
  BoitesCourantes().Erreur(
      QStringLiteral("Les réglages n'ont pas pu être enregistrés dans « %1 » : le fichier "
                     "précédent est conservé.")
          .arg(QString::fromLocal8Bit(nomFichierConfig_.c_str())));
}
