#pragma once
#include <QDialog>

#include "Fft.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class RadioGroupe;

// What "Options oscillo USB" sets.
struct OptionsFFT {
  Fft::Fenetre fenetre = Fft::Rectangle;  // used from the next frame on
  bool superposition = false;             // one band per channel, as a logic analyser
  bool mesuresEcran = false;              // readouts of each channel under the time graph
};

// The options dialog: the spectrum's window and the time graph's superposition.
// FormActivate shows `o`; BtnOKClick, which the caller runs when the dialog
// returns OK, writes the controls back. The language page is shown first; its
// choice is not used.
class TOptionsFFTDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TOptionsFFTDlg(OptionsFFT &o, QWidget *parent = nullptr);
  void FormActivate();
  void BtnOKClick();

  QTabWidget *Pages;
  QPlainTextEdit *Memo1;
  RadioGroupe *FenetreRadioG, *LangueRG;
  QCheckBox *AnalyseurCB, *MesuresCB;
  QPushButton *BtnOK, *BtnCancel;

 private:
  OptionsFFT &o_;
};
