#pragma once
#include <QDialog>
#include <functional>

#include "AccesGenerateurs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;

// What "Mesure de fréquence" sets: the diagram's frequency curve and the sweep.
struct ReglagesDiagramme {
  bool axeVertical = true;
  int dimPoint = 2;
  double fmin = 100, fmax = 100;  // hertz, the sweep's start and end
  int voie = 1;                   // the channel whose period gives the frequency
  int points = 256, delaiMs = 500;
  bool logarithmique = false;     // the sweep's spacing
  bool gammesAuto = false;        // time base and calibres chosen before each sweep point
};

// The amplitude of generator g at a scroll position 0..200 (0..10 V for the
// low-frequency one, 0..4 V for the other; 0 without a generator).
double AmplitudePosition(GenreGenerateur g, int position);

// The dialog "Mesure de fréquence". FormActivate shows `r`; OKBtnClick, which the
// caller runs when the dialog returns OK, writes the controls back into it. The amplitude applies at once (Abandon does not undo it),
// through `regleAmplitude`.
class TZelmModeDlg : public QDialog {
  Q_OBJECT
 public:
  TZelmModeDlg(ReglagesDiagramme &r, GenreGenerateur generateur, double amplitude,
               std::function<void(double crete)> regleAmplitude, QWidget *parent = nullptr);

  void FormActivate();
  void FreqMinEditChange();
  void FreqMaxEditChange();
  void AmplitudeScrollChange();
  void OKBtnClick();

  QCheckBox *AxeCB, *LogCB, *GammesCB;
  QSpinBox *DimPointSE, *FreqMinEdit, *FreqMaxEdit, *NombreSE, *DelaySE;
  QComboBox *VoieQuiloCB;
  QGroupBox *AmplitudeGB;
  QLineEdit *AmplitudeEdit;
  QScrollBar *AmplitudeScroll;
  QPushButton *OKBtn, *CancelBtn;

 protected:
  void showEvent(QShowEvent *e) override;

 private:
  void MontreAmplitude();
  ReglagesDiagramme &r_;
  GenreGenerateur generateur_;
  double amplitude_;
  std::function<void(double)> regleAmplitude_;
};
