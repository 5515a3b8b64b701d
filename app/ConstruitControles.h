#pragma once
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QSlider;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;
class EditLibelle;
class PaintBox;
class RadioGroupe;
class TZelmMainForm;
class UpDown;

// The main window's controls, with the names of the form description (each is
// also its object name).
struct ControlesFenetre {
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
  std::array<QLabel *, 3> LectureVoie{};  // [1], [2]: the readouts under the time graph
  QStatusBar *Header = nullptr;
  // per channel (index 1, 2)
  std::array<UpDown *, 3> UpDownVoie{};
  std::array<RadioGroupe *, 3> CouplageVoie{};
  std::array<EditLibelle *, 3> CalibreEditVoie{};
};

// Builds every control of the main window with its caption, range, initial
// value, hint and place, and connects each to its handler.
void ConstruitControles(TZelmMainForm &f, ControlesFenetre &c);
