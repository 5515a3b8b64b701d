#include "ZelmCfg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "Aide.h"
#include "Courbe.h"
#include "GrapheMesure.h"
#include "Texte8.h"

namespace {

constexpr int LongueurSymbole = 8;
constexpr int ContexteAide = 7;

QColor VersQColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QIcon IconeCouleur(uint32_t bgr) {
  QPixmap p(15, 15);
  p.fill(VersQColor(bgr));
  return QIcon(p);
}

QIcon IconeMotif(uint8_t motif) {
  QPixmap p(15, 15);
  p.fill(Qt::white);
  QPainter peintre(&p);
  peintre.setPen(Qt::black);
  peintre.setBrush(Qt::black);
  DessineMotif(peintre, motif, 7, 7, 4);
  return QIcon(p);
}

QComboBox *Voies(QWidget *parent) {
  auto *c = new QComboBox(parent);
  c->addItems({QStringLiteral("voie 1"), QStringLiteral("voie 2")});
  return c;
}

}  // namespace

bool CaractereSymbole(unsigned char b) {
  if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return true;
  return (b >= 0x80 && b <= 0x88) || (b >= 0x8A && b <= 0x90) || (b >= 0x93 && b <= 0x9F) ||
         b == 0xB5;
}

const CouleurNommee CouleursVoie[16] = {
    {0x000000, "Noir"},   {0x000080, "Marron"},  {0x008000, "Vert"},       {0x008080, "Olive"},
    {0x800000, "Marine"}, {0x800080, "Pourpre"}, {0x808000, "Sarcelle"},   {0x808080, "Gris"},
    {0xC0C0C0, "Argent"}, {0x0000FF, "Rouge"},   {0x00FF00, "Citron vert"}, {0x00FFFF, "Jaune"},
    {0xFF0000, "Bleu"},   {0xFF00FF, "Fuchsia"}, {0xFFFF00, "Aqua"},       {0xFFFFFF, "Blanc"},
};

TVoieZelmDlg::TVoieZelmDlg(TCourbeMesure &courbe, QWidget *parent)
    : QDialog(parent), courbe_(courbe) {
  setWindowTitle(QStringLiteral("Oscillo Quilo USB"));
  setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  GrandeurGB = new QGroupBox(QStringLiteral("&Grandeur"), this);
  auto *f = new QFormLayout(GrandeurGB);
  EditNom = new QLineEdit(GrandeurGB);
  EditNom->setMaxLength(LongueurSymbole);
  EditNom->installEventFilter(this);
  auto *symbole = new QLabel(QStringLiteral("&Symbole"), GrandeurGB);
  symbole->setBuddy(EditNom);
  f->addRow(symbole, EditNom);
  MesureCB = new QComboBox(GrandeurGB);
  for (int g = GrandeurEfficace; g < NbGrandeurs; ++g) MesureCB->addItem(VersQt(NomsGrandeurs[size_t(g)]));
  f->addRow(QStringLiteral("Mesure"), MesureCB);
  VoieQuiloCB = Voies(GrandeurGB);
  f->addRow(QStringLiteral("Mesure"), VoieQuiloCB);
  VoieRefCB = Voies(GrandeurGB);
  LabelRef = new QLabel(QStringLiteral("Référence"), GrandeurGB);
  f->addRow(LabelRef, VoieRefCB);
  CouleurCombo = new QComboBox(this);
  for (const CouleurNommee &c : CouleursVoie)
    CouleurCombo->addItem(IconeCouleur(c.bgr), QString::fromUtf8(c.nom), QVariant::fromValue(c.bgr));
  PointCombo = new QComboBox(this);
  const char *motifs[] = {"Croix", "Croix diag.", "Cercle", "Carré"};
  for (int m = 0; m < 4; ++m) PointCombo->addItem(IconeMotif(uint8_t(m)), QString::fromUtf8(motifs[m]));
  OKBtn = new QPushButton(QStringLiteral("&Activer"), this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("&Désactiver"), this);
  HelpBtn = new QPushButton(QStringLiteral("Aide"), this);
  auto *droite = new QVBoxLayout;
  droite->addWidget(CouleurCombo);
  droite->addWidget(PointCombo);
  droite->addStretch();
  droite->addWidget(OKBtn);
  droite->addWidget(CancelBtn);
  droite->addWidget(HelpBtn);
  auto *tout = new QHBoxLayout(this);
  tout->addWidget(GrandeurGB, 1);
  tout->addLayout(droite);

  connect(MesureCB, &QComboBox::currentIndexChanged, this, [this] { MesureCBChange(); });
  connect(CouleurCombo, &QComboBox::currentIndexChanged, this, [this] { CouleurComboChange(); });
  connect(PointCombo, &QComboBox::currentIndexChanged, this, [this] { PointComboChange(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    OKBtnClick();
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, [this] {
    CancelBtnClick();
    reject();
  });
  connect(HelpBtn, &QPushButton::clicked, this, [] { Aide::Montre(ContexteAide); });
  FormActivate();
}

void TVoieZelmDlg::showEvent(QShowEvent *e) {
  FormActivate();
  QDialog::showEvent(e);
}

void TVoieZelmDlg::FormActivate() {
  chargement_ = true;  // loading is not a choice of colour or point style
  VoieQuiloCB->setCurrentIndex(courbe_.VoieMesure == 2 ? 1 : 0);
  VoieRefCB->setCurrentIndex(courbe_.VoieReference == 2 ? 1 : 0);
  EditNom->setText(VersQt(courbe_.NomGrandeur.vue()));
  int couleur = -1;
  for (int i = 0; i < 16; ++i)
    if (CouleursVoie[i].bgr == courbe_.Couleur) couleur = i;
  if (couleur < 0) {  // a colour of its own, kept as the last item
    CouleurCombo->addItem(IconeCouleur(courbe_.Couleur), QStringLiteral("Personnalisée"),
                          QVariant::fromValue(courbe_.Couleur));
    couleur = CouleurCombo->count() - 1;
  }
  CouleurCombo->setCurrentIndex(couleur);
  PointCombo->setCurrentIndex(courbe_.Motif < 4 ? courbe_.Motif : 0);
  MesureCB->setCurrentIndex(courbe_.Grandeur >= GrandeurEfficace ? courbe_.Grandeur - 1 : 0);
  chargement_ = false;
  MesureCBChange();
}

void TVoieZelmDlg::MesureCBChange() {
  const int g = MesureCB->currentIndex() + 1;
  const bool reference = g == GrandeurPhase || g == GrandeurGain;
  VoieRefCB->setVisible(reference);
  LabelRef->setVisible(reference);
}

void TVoieZelmDlg::OKBtnClick() {
  courbe_.NomGrandeur = Texte32(DepuisQt(EditNom->text()));
  // no item chosen reads as the first channel, not as channel 0
  courbe_.VoieMesure = VoieQuiloCB->currentIndex() == 1 ? 2 : 1;
  courbe_.VoieReference = VoieRefCB->currentIndex() == 1 ? 2 : 1;
  courbe_.Active = true;
  const int g = std::max(MesureCB->currentIndex(), 0) + 1;
  courbe_.SetGrandeur(uint8_t(g));
  courbe_.Libelle = Texte255(NomsGrandeurs[size_t(g)]);
}

void TVoieZelmDlg::CancelBtnClick() { courbe_.Active = false; }

void TVoieZelmDlg::CouleurComboChange() {
  if (!chargement_ && CouleurCombo->currentIndex() >= 0)
    courbe_.Couleur = CouleurCombo->currentData().toUInt();
}

void TVoieZelmDlg::PointComboChange() {
  if (!chargement_ && PointCombo->currentIndex() >= 0) courbe_.Motif = uint8_t(PointCombo->currentIndex());
}

bool TVoieZelmDlg::eventFilter(QObject *cible, QEvent *e) {
  if (cible == EditNom && e->type() == QEvent::KeyPress) {
    const QString texte = static_cast<QKeyEvent *>(e)->text();
    // editing keys (backspace, delete, arrows) carry no printable character: they pass
    if (!texte.isEmpty() && texte[0].isPrint()) {
      const std::string octets = DepuisQt(texte);
      for (char c : octets)
        if (!CaractereSymbole(static_cast<unsigned char>(c))) return true;  // discarded
    }
  }
  return QDialog::eventFilter(cible, e);
}
