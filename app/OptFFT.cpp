#include "OptFFT.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Controles.h"

TOptionsFFTDlg::TOptionsFFTDlg(OptionsFFT &o, QWidget *parent) : QDialog(parent), o_(o) {
  setWindowTitle(QStringLiteral("Options oscillo USB"));
  Pages = new QTabWidget(this);
  Memo1 = new QPlainTextEdit(QStringLiteral("L'abscisse des graphes Fourier et mesure\n"
                                            "est modifiable par cliquer glisser sur une graduation"));
  Memo1->setReadOnly(true);
  Pages->addTab(Memo1, QStringLiteral("Abscisse"));  // AbscisseTS
  FenetreRadioG = new RadioGroupe(QStringLiteral("Fenêtre"),
                                  {QStringLiteral("&Rectangle"), QStringLiteral("&Hamming"),
                                   QStringLiteral("&Toit plat")},
                                  3);
  Pages->addTab(FenetreRadioG, QStringLiteral("Calcul FFT"));  // CalculTS
  AnalyseurCB = new QCheckBox(QStringLiteral("Superposition type analyseur logique"));
  Pages->addTab(AnalyseurCB, QStringLiteral("Superposition"));  // SuperpositionTS
  LangueRG = new RadioGroupe(QStringLiteral("Langue"),
                             {QStringLiteral("Système"), QStringLiteral("Utilisateur"),
                              QStringLiteral("Natif"), QStringLiteral("English"),
                              QStringLiteral("Français"), QStringLiteral("Spanish")},
                             3);
  Pages->addTab(LangueRG, QStringLiteral("Langue"));  // TabSheet1
  MesuresCB = new QCheckBox(QStringLiteral("Mesures à l'écran"));
  MesuresCB->setObjectName(QStringLiteral("MesuresCB"));
  Pages->addTab(MesuresCB, QStringLiteral("Mesures"));
  Pages->setCurrentIndex(3);
  BtnOK = new QPushButton(QStringLiteral("&OK"), this);
  BtnOK->setDefault(true);
  BtnCancel = new QPushButton(QStringLiteral("&Abandon"), this);
  auto *boutons = new QVBoxLayout;
  boutons->addWidget(BtnOK);
  boutons->addWidget(BtnCancel);
  boutons->addStretch();
  auto *tout = new QHBoxLayout(this);
  tout->addWidget(Pages, 1);
  tout->addLayout(boutons);
  connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  FormActivate();
}

void TOptionsFFTDlg::FormActivate() {
  FenetreRadioG->SetItemIndex(int(o_.fenetre));
  AnalyseurCB->setChecked(o_.superposition);
  MesuresCB->setChecked(o_.mesuresEcran);
}

void TOptionsFFTDlg::BtnOKClick() {
  const int i = FenetreRadioG->ItemIndex();
  o_.fenetre = i == 1 ? Fft::Hamming : i == 2 ? Fft::ToitPlat : Fft::Rectangle;
  o_.superposition = AnalyseurCB->isChecked();
  o_.mesuresEcran = MesuresCB->isChecked();
}
