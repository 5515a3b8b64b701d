#include "ZelmMode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "Texte8.h"
#include "uniteKer.h"

namespace {

// The highest start that leaves a decade below the very-low-frequency generator's 2000 Hz.
constexpr int FinMaxGTBF = 2000;

QSpinBox *Spin(int mini, int maxi, int pas, int valeur, QWidget *parent) {
  auto *s = new QSpinBox(parent);
  s->setRange(mini, maxi);
  s->setSingleStep(pas);
  s->setValue(valeur);
  return s;
}

}  // namespace

double AmplitudePosition(GenreGenerateur g, int position) {
  const double maxi = g == GenreGenerateur::GBF ? 10 : g == GenreGenerateur::GTBF ? 4 : 0;
  return position * maxi / 200;
}

TZelmModeDlg::TZelmModeDlg(ReglagesDiagramme &r, GenreGenerateur generateur, double amplitude,
                           std::function<void(double)> regleAmplitude, QWidget *parent)
    : QDialog(parent),
      r_(r),
      generateur_(generateur),
      amplitude_(amplitude),
      regleAmplitude_(std::move(regleAmplitude)) {
  setWindowTitle(QStringLiteral("Mesure de fréquence"));
  auto *options = new QGroupBox(QStringLiteral("Options"), this);
  auto *formulaire = new QFormLayout(options);
  AxeCB = new QCheckBox(QStringLiteral("Axe vertical"), options);
  formulaire->addRow(AxeCB);
  DimPointSE = Spin(0, 5, 1, 1, options);
  formulaire->addRow(QStringLiteral("Taille des points"), DimPointSE);
  FreqMinEdit = Spin(100, 3200, 100, 100, options);
  formulaire->addRow(QStringLiteral("Freq. mini"), FreqMinEdit);
  FreqMaxEdit = Spin(100, 32000, 100, 100, options);
  formulaire->addRow(QStringLiteral("Freq. maxi"), FreqMaxEdit);
  VoieQuiloCB = new QComboBox(options);
  VoieQuiloCB->addItems({QStringLiteral("voie 1"), QStringLiteral("voie 2")});
  formulaire->addRow(QStringLiteral("Voie de mesure"), VoieQuiloCB);
  NombreSE = Spin(16, 1024, 1, 256, options);
  formulaire->addRow(QStringLiteral("Nombre de points"), NombreSE);
  DelaySE = Spin(100, 1000, 1, 500, options);
  formulaire->addRow(QStringLiteral("Attente (ms)"), DelaySE);
  LogCB = new QCheckBox(QStringLiteral("Espacement logarithmique"), options);
  formulaire->addRow(LogCB);
  GammesCB = new QCheckBox(QStringLiteral("Gammes automatiques"), options);
  formulaire->addRow(GammesCB);

  AmplitudeGB = new QGroupBox(QStringLiteral("GBF"), this);
  auto *gbf = new QFormLayout(AmplitudeGB);
  AmplitudeEdit = new QLineEdit(AmplitudeGB);
  AmplitudeEdit->setEnabled(false);
  gbf->addRow(QStringLiteral("Amplitude"), AmplitudeEdit);
  AmplitudeScroll = new QScrollBar(Qt::Horizontal, AmplitudeGB);
  AmplitudeScroll->setRange(0, 200);
  AmplitudeScroll->setPageStep(16);
  AmplitudeScroll->setValue(50);
  gbf->addRow(AmplitudeScroll);

  OKBtn = new QPushButton(QStringLiteral("&OK"), this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("&Abandon"), this);
  auto *boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(OKBtn);
  boutons->addWidget(CancelBtn);
  auto *tout = new QVBoxLayout(this);
  tout->addWidget(options);
  tout->addWidget(AmplitudeGB);
  tout->addLayout(boutons);

  connect(FreqMinEdit, &QSpinBox::valueChanged, this, [this] { FreqMinEditChange(); });
  connect(FreqMaxEdit, &QSpinBox::valueChanged, this, [this] { FreqMaxEditChange(); });
  connect(AmplitudeScroll, &QScrollBar::valueChanged, this, [this] { AmplitudeScrollChange(); });
  // the window applies OKBtnClick once the dialog has returned OK
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  FormActivate();
}

void TZelmModeDlg::showEvent(QShowEvent *e) {
  FormActivate();
  QDialog::showEvent(e);
}

void TZelmModeDlg::FormActivate() {
  AxeCB->setChecked(r_.axeVertical);
  DimPointSE->setValue(r_.dimPoint);
  NombreSE->setValue(r_.points);
  DelaySE->setValue(r_.delaiMs);
  LogCB->setChecked(r_.logarithmique);
  GammesCB->setChecked(r_.gammesAuto);
  if (generateur_ == GenreGenerateur::GTBF) {
    FreqMaxEdit->setMaximum(FinMaxGTBF);
    // a start above a tenth of the end's limit would push the end's minimum past it
    FreqMinEdit->setMaximum(FinMaxGTBF / 10);
  }
  FreqMinEdit->setValue(int(std::lround(r_.fmin)));
  FreqMaxEdit->setValue(int(std::lround(r_.fmax)));
  VoieQuiloCB->setCurrentIndex(r_.voie == 2 ? 1 : 0);
  AmplitudeGB->setVisible(generateur_ != GenreGenerateur::Aucun);
  MontreAmplitude();
}

void TZelmModeDlg::FreqMinEditChange() { FreqMaxEdit->setMinimum(FreqMinEdit->value() * 10); }

void TZelmModeDlg::FreqMaxEditChange() {
  // the end's limit for the very-low-frequency generator keeps its own cap on the start
  const int maxi = FreqMaxEdit->value() / 10;
  FreqMinEdit->setMaximum(generateur_ == GenreGenerateur::GTBF ? std::min(maxi, FinMaxGTBF / 10)
                                                                : maxi);
}

void TZelmModeDlg::AmplitudeScrollChange() {
  if (generateur_ == GenreGenerateur::Aucun) return;
  amplitude_ = AmplitudePosition(generateur_, AmplitudeScroll->value());
  if (regleAmplitude_) regleAmplitude_(amplitude_);
  MontreAmplitude();
}

void TZelmModeDlg::MontreAmplitude() {
  Tunite volt;
  volt.SetNomUnite("V");
  AmplitudeEdit->setText(VersQt(volt.ValeurAvecUnite(amplitude_).vue()));
}

void TZelmModeDlg::OKBtnClick() {
  r_.axeVertical = AxeCB->isChecked();
  r_.dimPoint = DimPointSE->value();
  r_.fmin = FreqMinEdit->value();
  r_.fmax = FreqMaxEdit->value();
  // no item chosen reads as the first channel, not as channel 0
  r_.voie = VoieQuiloCB->currentIndex() == 1 ? 2 : 1;
  r_.points = NombreSE->value();
  r_.delaiMs = DelaySE->value();
  r_.logarithmique = LogCB->isChecked();
  r_.gammesAuto = GammesCB->isChecked();
  AmplitudeScrollChange();
}
