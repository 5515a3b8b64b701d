#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "TOscillo.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QSlider;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class EditLibelle;
class PaintBox;
class RadioGroupe;
class UpDown;
class TCycleAcquisition;

// The generators the window can look for; an empty entry is a library that is
// not there. Ouvre answers whether that generator opened; Eteint switches its
// output off.
struct AccesGenerateurs {
  std::function<bool()> OuvreGBF, OuvreGTBF;
  std::function<void(int type)> Eteint;
};

// The main window: owner of the oscilloscope model, the three graphs and the
// controls. The controls are built by ConstruitControles (their own file), the
// acquisition cycle runs in TCycleAcquisition.
class TZelmMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TZelmMainForm(AccesGenerateurs generateurs = {}, QWidget *parent = nullptr);
  ~TZelmMainForm() override;

  // What ends the program when the oscilloscope is missing at activation.
  std::function<void()> Termine;
  // FormActivate runs when the window becomes active; tests call it themselves.
  bool ActivationAutomatique = true;

  // --- controls (names of the form description) ---
  QToolBar *ToolBar1 = nullptr;
  QToolButton *EnregistreBtn = nullptr, *UndoBtn = nullptr, *ResetBtn = nullptr,
              *RegSaveBtn = nullptr, *ConnectBtn = nullptr, *ToolButton1 = nullptr,
              *autosetBtn = nullptr, *OptionsBtn = nullptr, *PlusBtn = nullptr,
              *HelpBtn = nullptr, *ExitBtn = nullptr;
  QWidget *PanelOscillo = nullptr;
  EditLibelle *DureeEdit = nullptr, *FechEdit = nullptr, *CalibreEdit1 = nullptr,
              *CalibreEdit2 = nullptr;
  UpDown *DureeUpDown = nullptr, *UpDown1 = nullptr, *UpDown2 = nullptr;
  RadioGroupe *SynchroRG = nullptr, *SensRG = nullptr, *ModeRG = nullptr,
              *CouplageRG1 = nullptr, *CouplageRG2 = nullptr;
  QCheckBox *MonocoupCB = nullptr;
  QToolButton *ArmeBtn = nullptr, *StopBtn = nullptr;
  QSplitter *SplitterH = nullptr, *SplitterV = nullptr;
  PaintBox *TempsPaintBox = nullptr, *ZelmPaintBox = nullptr;
  QWidget *PanelZelm = nullptr, *PanelVoies = nullptr;
  QSlider *FFTtrackBar = nullptr;
  std::array<QGroupBox *, 5> GroupBoxVoie{};  // GroupBox4 (tag 0), GroupBox0..3 (tags 1..4)
  std::array<QLabel *, 5> LabelVoie{};
  QStatusBar *Header = nullptr;
  QTimer *Timer = nullptr, *TimerZelmAuto = nullptr;
  // per channel (index 1, 2): what the automatic configuration writes through
  std::array<UpDown *, 3> UpDownVoie{};
  std::array<RadioGroupe *, 3> CouplageVoie{};
  std::array<EditLibelle *, 3> CalibreEditVoie{};

  // --- state ---
  bool Chargement = false, EnAcquisition = false, ArretDemande = false, Fermeture = false,
       MonocoupPrecedent = false, ReglageAuto = false, RedessinDiffere = false;
  int32_t NbHarmoniques = 4096;
  uint8_t TypeGenerateur = 0;
  std::string NomFichierConfig;

  std::unique_ptr<TOscillo> Oscillo;
  TgrapheOsc GrapheTemps, GrapheSpectre;
  TgrapheMesure GrapheZelm;
  std::unique_ptr<TCycleAcquisition> Cycle;
  // writes the cursor's current values into the measurement boxes' labels
  std::unique_ptr<EtiquettesValeurs> AfficheurValeurs;

  int Mode() const;

  // --- operations ---
  void FormCreate();
  void FormActivate();
  void FormClose();
  void DetecteGenerateur();
  void AjusteAffichage();
  void AfficheVoies();
  void AjusteBoutons();
  // Until the settings file is read, what a missing file gives: curves 1..4
  // measure the RMS value (the diagram would otherwise show a frequency in volts).
  void LitConfig() {
    for (int i = 1; i <= 4; ++i) GrapheZelm.Courbes[size_t(i)].SetGrandeur(1);
  }
  void EcritConfig() {}
  void LanceAcquisition();
  void ArreteAcquisition();

  // --- handlers ---
  void DureeUpDownChangingEx(int valeur, bool &permis);
  void SynchroRGClick();
  void SensRGClick();
  void MonocoupCBClick();
  void ArmeBtnClick();
  void StopBtnClick();
  void ModeRGClick() { AjusteAffichage(); }
  void UpDown2Click(UpDown *emetteur);
  void UndoBtnClick() {}   // points come with the frequency-response measurement
  void ResetBtnClick() {}
  void CouplageRG2Click(RadioGroupe *emetteur);
  void EnregistreBtnClick();
  void ConnectBtnClick();
  void ToolButton1Click();
  void autosetBtnClick();
  // The dialogs of these come later: until then they pause, then resume.
  void OptionsBtnClick() { PauseDialogue(); }
  void VoieFreqClick() { PauseDialogue(); }
  void VoieAnaClick(int tag);
  void PauseDialogue();
  void RegSaveBtnClick();
  void HelpAbout();
  void HelpBtnClick();
  void FileExit() { close(); }
  void FFTtrackBarChange(int position);
  void ShowHint(const QString &longHint);

  // Both texts follow Oscillo's settings.
  void AfficheDuree();
  void AfficheCalibre(int voie);

  // true while the zero-offset correction runs; the window then takes no input
  bool EnCorrection() const { return enCorrection_; }
  // After closing: frees the oscilloscope unless a tick or the correction still runs on it.
  void LibereOscilloSiLibre();

 protected:
  bool event(QEvent *e) override;
  bool eventFilter(QObject *cible, QEvent *e) override;
  void closeEvent(QCloseEvent *e) override;

 private:
  AccesGenerateurs generateurs_;
  bool enCorrection_ = false;
  bool finDemandee_ = false;
};

// The labels of the edits.
QString LibelleCalibre(int calibre);  // "±" + the calibre's label; index taken modulo 128

// The track-bar position that shows `nbHarmoniques` spectrum lines (0: 4096 .. 9: 8).
int PositionHarmoniques(int nbHarmoniques);
