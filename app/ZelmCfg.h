#pragma once
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TCourbeMesure;

// The bytes a quantity's symbol may hold: letters, and the symbol font's Greek
// letters (what Ctrl+letter types).
bool CaractereSymbole(unsigned char octet);

// The colours a measurement channel may take, with their names (0x00BBGGRR).
struct CouleurNommee {
  uint32_t bgr;
  const char *nom;
};
extern const CouleurNommee CouleursVoie[16];

// Sets up one measurement channel of the response diagram: its quantity, the
// channels it is measured on, its symbol, colour and point style. "&Activer"
// stores the controls and shows the channel; "&Désactiver" hides it. Colour and
// point style apply at once, whichever button closes the dialog.
class TVoieZelmDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TVoieZelmDlg(TCourbeMesure &courbe, QWidget *parent = nullptr);

  void FormActivate();
  void MesureCBChange();
  void OKBtnClick();
  void CancelBtnClick();
  void CouleurComboChange();
  void PointComboChange();

  QGroupBox *GrandeurGB;
  QLineEdit *EditNom;
  QComboBox *MesureCB, *VoieQuiloCB, *VoieRefCB, *CouleurCombo, *PointCombo;
  QLabel *LabelRef;
  QPushButton *OKBtn, *CancelBtn, *HelpBtn;

 protected:
  bool eventFilter(QObject *cible, QEvent *e) override;
  void showEvent(QShowEvent *e) override;

 private:
  TCourbeMesure &courbe_;
  bool chargement_ = false;
};
