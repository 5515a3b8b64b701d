#pragma once
#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;
class RadioGroupe;

// "Renseignements sur la page courante": one extra parameter of the page (symbol,
// unit, value), a comment, and whether the data open a new file or a new page in the
// analysis application. Lives for the whole run; the symbol, unit and comment come
// from the settings file's section "Constante" at its creation and go back there at
// the end of the run (EcritConstante), so that they survive to the next run.
class TConstanteDlg : public QDialog {
  Q_OBJECT
 public:
  // `fichierConfig`: the settings file; empty: none.
  explicit TConstanteDlg(std::string fichierConfig, QWidget *parent = nullptr);

  // "Nombre mal écrit" for a value that does not read: the dialog stays open.
  // Returns whether it closed with OK.
  bool OKBtnClick();
  // The value typed reads as a number, or is empty.
  bool ValeurLisible() const;
  // Section "Constante" written into the settings file, the file read again first;
  // false when it could not be written.
  bool EcritConstante() const;

  QLineEdit *NomConstEdit, *UniteConstEdit, *ValeurConstEdit, *EditComm;
  RadioGroupe *NewPageCB;
  QPushButton *OKBtn, *CancelBtn, *HelpBtn;

 private:
  std::string fichierConfig_;
};
