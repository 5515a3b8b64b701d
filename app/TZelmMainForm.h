#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "AccesGenerateurs.h"
#include "ConstruitControles.h"
#include "CycleAcquisition.h"
#include "FenetreAcquisition.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "MesureZelm.h"
#include "TOscillo.h"

class LienAppareil;
class TConstanteDlg;
class TZelmFormDDE;
class RadioGroupe;
class TSourisGraphes;
class UpDown;
struct DecalageCorrige;
struct ReglagesFichier;
struct EtatConnexion;
struct GenerateurPerdu;

// The main window: owner of the three graphs, the acquisition cycle and the
// link to the device thread (which owns the oscilloscope model), and of the
// controls, built by ConstruitControles (their own file; each control carries
// its name as object name). Handlers are public; widgets and state are not.
class TZelmMainForm : public QMainWindow, private FenetreAcquisition {
  Q_OBJECT
 public:
  // `generateurs` is used on the device thread for the whole life of the window;
  // `dossierTabulo` is the data folder (ending with its separator; empty: none).
  explicit TZelmMainForm(AccesGenerateurs &generateurs, std::string dossierTabulo = {},
                         QWidget *parent = nullptr);
  ~TZelmMainForm() override;

  // What ends the program when the oscilloscope is missing at activation.
  std::function<void()> Termine;

  // --- operations ---
  void FormActivate();
  void FormClose();
  void DetecteGenerateur();
  void AjusteAffichage() override;
  void AfficheVoies();
  void AjusteBoutons() override;
  void LanceAcquisition() { cycle_->LanceAcquisition(); }
  void ArreteAcquisition() { cycle_->ArreteAcquisition(); }

  // --- handlers ---
  void DureeUpDownChangingEx(int valeur, bool &permis);
  void SynchroRGClick();
  void SensRGClick();
  void MonocoupCBClick();
  void MonocoupCBClicked(bool coche) { monocoupPrecedent_ = coche; }  // the user's own choice
  void ArmeBtnClick();
  void StopBtnClick();
  void ModeRGClick() { AjusteAffichage(); }
  void UpDown2Click(UpDown *emetteur);
  void UndoBtnClick();
  void ResetBtnClick();
  void CouplageRG2Click(RadioGroupe *emetteur);
  void EnregistreBtnClick();
  void ConnectBtnClick();
  void ToolButton1Click();
  void autosetBtnClick() { cycle_->autosetBtnClick(); }
  void OptionsBtnClick();
  void VoieFreqClick();
  void VoieAnaClick(int tag);
  void RegSaveBtnClick();
  void HelpAbout();
  void HelpBtnClick();
  void FileExit() { close(); }
  void FFTtrackBarChange(int position);
  void ShowHint(const QString &longHint);

  // --- state, for the program's other parts and for tests ---
  ModeAffichage Mode() const override;
  int NbHarmoniques() const override { return nbHarmoniques_; }
  bool Chargement() const { return chargement_; }
  bool Fermeture() const { return fermeture_; }
  GenreGenerateur TypeGenerateur() const { return typeGenerateur_; }
  // The device thread has said whether the oscilloscope is there.
  bool ConnexionConnue() const { return connexionConnue_; }
  bool EstConnecte() const { return connecte_; }
  // true from the confirmed "Zéro" until its result
  bool EnCorrection() const { return enCorrection_; }
  const TOscillo::TableCorrection &Correction() const { return correction_; }
  const std::string &DossierTabulo() const { return dossierTabulo_; }
  const std::string &NomFichierConfig() const { return nomFichierConfig_; }
  const TCycleAcquisition &Cycle() const { return *cycle_; }
  const TMesureZelm &Mesure() const { return *mesure_; }
  // What the mode dialog's "Gammes automatiques" sets.
  void ActiveGammesAuto(bool oui) { mesure_->GammesAuto = oui; }
  TCycleAcquisition &Cycle() { return *cycle_; }
  const ReglagesAcquis &Reglages() const { return cycle_->Reglages(); }
  const TgrapheOsc &GrapheTemps() const { return grapheTemps_; }
  const TgrapheOsc &GrapheSpectre() const { return grapheSpectre_; }
  TgrapheMesure &GrapheZelm() { return grapheZelm_; }
  LienAppareil &Appareil() { return *lien_; }
  TConstanteDlg &Constante() { return *constante_; }
  // The macro server starts listening (the program does, once its forms exist).
  bool EcouteMacros();
  TZelmFormDDE &FormDDE() { return *dde_; }
  const TSourisGraphes &Souris() const { return *souris_; }

 protected:
  bool event(QEvent *e) override;
  bool eventFilter(QObject *cible, QEvent *e) override;
  void closeEvent(QCloseEvent *e) override;

 private:
  void FormCreate();
  // The settings file (its own source file): read at creation, written at closing.
  void LitConfig();
  void EcritConfig();
  // The zero corrections alone, after a "Zéro" that succeeded.
  void EnregistreCorrections();
  void EcritureImpossible();
  ReglagesFichier ReglagesCourants() const;
  void AppliqueReprise(const ReglagesFichier &r);
  void AfficheHintSynchro();
  void AfficheDuree();
  void AfficheCalibre(int voie);
  // A setting the device uses changed: an acquisition under way is armed again.
  void ReglageChange();
  void Recoit(ResultatAppareil &&r);
  void Connexion(const EtatConnexion &e);
  void Decalage(const DecalageCorrige &d);
  void PerteGenerateur(const GenerateurPerdu &p);

  // FenetreAcquisition
  bool Monocoup() const override;
  bool ArmementPermis() const override { return !fermeture_ && !enCorrection_; }
  void MontreArme(bool visible) override;
  void AfficheStatut(const QString &texte) override;
  void RepeintTemps() override;
  void RepeintZelm() override;
  QImage &ImageZelm() override;
  void MontreImageZelm() override;
  void DesactiveEnregistre() override;
  void MontreReglages() override;
  void DecocheMonocoup() override;
  void MontreErreurDeMesure(int i) override;
  bool MesuresAEcran() const override { return mesuresEcran_; }
  void MontreLectures() override;

  ControlesFenetre c_;

  // --- state ---
  bool chargement_ = false, fermeture_ = false, monocoupPrecedent_ = false;
  bool enCorrection_ = false, finDemandee_ = false;
  bool connexionConnue_ = false, connecte_ = false, activationEnAttente_ = false;
  bool debranche_ = false;  // the oscilloscope went while the program ran
  int32_t nbHarmoniques_ = 4096;
  GenreGenerateur typeGenerateur_ = GenreGenerateur::Aucun;
  std::string dossierTabulo_, nomFichierConfig_;
  std::string version_;  // the firmware text read at the last connection
  TOscillo::TableCorrection correction_{};
  // peak volts of each generator kind, as last set (the drivers' own start values)
  std::array<double, 3> amplitudes_{0, 2.5, 1};
  std::array<bool, 3> amplitudeLue_{};  // from the settings file: sent once the generator answers
  bool ecritureImpossibleDite_ = false;
  bool mesuresEcran_ = false;  // "Mesures à l'écran"

  TgrapheOsc grapheTemps_, grapheSpectre_;
  TgrapheMesure grapheZelm_;
  // writes the cursor's current values into the measurement boxes' labels
  std::unique_ptr<EtiquettesValeurs> afficheurValeurs_;
  AccesGenerateurs &generateurs_;
  std::unique_ptr<LienAppareil> lien_;
  std::unique_ptr<TCycleAcquisition> cycle_;
  std::unique_ptr<TMesureZelm> mesure_;
  // created after the window, as at start-up; they live for the run
  std::unique_ptr<TConstanteDlg> constante_;
  std::unique_ptr<TZelmFormDDE> dde_;
  std::unique_ptr<TSourisGraphes> souris_;  // the drags on the two paint boxes
};

// The labels of the edits.
QString LibelleCalibre(int calibre);  // "±" + the calibre's label; index taken modulo 128

// The track-bar position that shows `nbHarmoniques` spectrum lines (0: 4096 .. 9: 8).
int PositionHarmoniques(int nbHarmoniques);
