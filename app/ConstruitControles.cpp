#include "ConstruitControles.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "Controles.h"
#include "PaintBox.h"
#include "SaisieGrecque.h"
#include "Texte8.h"
#include "TZelmMainForm.h"

namespace {

// The slope items are two glyphs of the symbol font: 0xC1 rising, 0xC0 falling.
const QString MontantDescendant[2] = {VersQt("\xC1"), VersQt("\xC0")};

QToolButton *Bouton(TZelmMainForm &f, const QString &texte, QStyle::StandardPixmap image,
                    const QString &hint, void (TZelmMainForm::*handler)()) {
  auto *b = new QToolButton(&f);
  b->setText(texte);
  b->setIcon(f.style()->standardIcon(image));
  b->setIconSize(QSize(20, 20));
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setMinimumSize(64, 40);
  b->setMaximumHeight(40);
  DefinitHint(b, hint);
  f.ToolBar1->addWidget(b);
  QObject::connect(b, &QToolButton::clicked, &f, [&f, handler] { (f.*handler)(); });
  return b;
}

void ConstruitBarre(TZelmMainForm &f) {
  f.ToolBar1 = f.addToolBar(QStringLiteral("ToolBar1"));
  f.ToolBar1->setMovable(false);
  f.ToolBar1->setFixedHeight(40 + 4);
  using S = QStyle;
  f.EnregistreBtn = Bouton(f, "Acquisition", S::SP_DialogApplyButton,
                           "Acquisition du point courant", &TZelmMainForm::EnregistreBtnClick);
  f.UndoBtn = Bouton(f, "Défaire", S::SP_ArrowBack, "Défaire|Anuller le dernier point",
                     &TZelmMainForm::UndoBtnClick);
  f.ResetBtn = Bouton(f, "RàZ", S::SP_DialogResetButton, "RàZ|Remise à zéro",
                      &TZelmMainForm::ResetBtnClick);
  f.RegSaveBtn = Bouton(f, "Tabulo", S::SP_DialogSaveButton,
                        "Tabulo|Envoie les données vers Tabulo", &TZelmMainForm::RegSaveBtnClick);
  f.ConnectBtn = Bouton(f, "Connexion", S::SP_DriveNetIcon, "", &TZelmMainForm::ConnectBtnClick);
  f.ToolButton1 = Bouton(f, "Zéro", S::SP_BrowserReload, "", &TZelmMainForm::ToolButton1Click);
  f.autosetBtn = Bouton(f, "Config. auto", S::SP_MediaSeekForward, "",
                        &TZelmMainForm::autosetBtnClick);
  f.OptionsBtn = Bouton(f, "Options", S::SP_FileDialogDetailedView, "Options",
                        &TZelmMainForm::OptionsBtnClick);
  f.PlusBtn = Bouton(f, "A propos", S::SP_MessageBoxInformation, "A propos...",
                     &TZelmMainForm::HelpAbout);
  f.HelpBtn = Bouton(f, "Aide", S::SP_DialogHelpButton, "Aide", &TZelmMainForm::HelpBtnClick);
  f.ExitBtn = Bouton(f, "Quitter", S::SP_DialogCloseButton, "Quitter", &TZelmMainForm::FileExit);
}

void ConstruitBaseDeTemps(TZelmMainForm &f, QHBoxLayout *panneau) {
  auto *g = new QGroupBox("Base de temps", f.PanelOscillo);  // GroupBox5
  auto *grille = new QGridLayout(g);
  grille->setContentsMargins(4, 0, 4, 2);
  grille->setSpacing(2);
  f.DureeEdit = new EditLibelle("Durée", g);
  f.DureeUpDown = new UpDown(0, 17, 0, g);
  f.FechEdit = new EditLibelle("Fréq. éch.", g);
  grille->addWidget(f.DureeEdit, 0, 0);
  grille->addWidget(f.DureeUpDown, 0, 1, Qt::AlignBottom);
  grille->addWidget(f.FechEdit, 1, 0);
  f.DureeEdit->setFixedWidth(64);
  f.FechEdit->setFixedWidth(64);
  QObject::connect(f.DureeUpDown, &UpDown::changement, &f,
                   [&f](int v, bool &permis) { f.DureeUpDownChangingEx(v, permis); });
  panneau->addWidget(g);
}

void ConstruitSynchro(TZelmMainForm &f, QHBoxLayout *panneau) {
  auto *g = new QGroupBox("Synchronisation", f.PanelOscillo);  // GroupBox8
  auto *grille = new QGridLayout(g);
  grille->setContentsMargins(4, 0, 4, 0);
  grille->setSpacing(2);
  f.SynchroRG = new RadioGroupe("Mode", {"Relaxé", "Voie 1", "Voie 2", "Externe"}, 2, g);
  f.SensRG = new RadioGroupe("Sens", {MontantDescendant[0], MontantDescendant[1]}, 1, g);
  f.MonocoupCB = new QCheckBox("Monocoup", g);
  f.ArmeBtn = new QToolButton(g);
  f.ArmeBtn->setIcon(f.style()->standardIcon(QStyle::SP_MediaPlay));
  DefinitHint(f.ArmeBtn, "Nouvelle acquisition");
  f.StopBtn = new QToolButton(g);
  f.StopBtn->setIcon(f.style()->standardIcon(QStyle::SP_MediaStop));
  DefinitHint(f.StopBtn, "Arrêt acquisition");
  auto *boutons = new QVBoxLayout;
  boutons->addWidget(f.ArmeBtn);
  boutons->addWidget(f.StopBtn);
  grille->addWidget(f.SynchroRG, 0, 0);
  grille->addWidget(f.SensRG, 0, 1);
  grille->addLayout(boutons, 0, 2);
  grille->addWidget(f.MonocoupCB, 1, 0, 1, 3);
  QObject::connect(f.SynchroRG, &RadioGroupe::clic, &f, [&f] { f.SynchroRGClick(); });
  QObject::connect(f.SensRG, &RadioGroupe::clic, &f, [&f] { f.SensRGClick(); });
  // toggled, not clicked: a change made by code runs the handler as a click does
  QObject::connect(f.MonocoupCB, &QCheckBox::toggled, &f, [&f] { f.MonocoupCBClick(); });
  // the user's own choice is the state the button update keeps
  QObject::connect(f.MonocoupCB, &QCheckBox::clicked, &f,
                   [&f](bool coche) { f.MonocoupPrecedent = coche; });
  QObject::connect(f.ArmeBtn, &QToolButton::clicked, &f, [&f] { f.ArmeBtnClick(); });
  QObject::connect(f.StopBtn, &QToolButton::clicked, &f, [&f] { f.StopBtnClick(); });
  panneau->addWidget(g);
}

void ConstruitVoie(TZelmMainForm &f, QHBoxLayout *panneau, int voie) {
  auto *g = new QGroupBox(voie == 1 ? "Voie1" : "Voie 2", f.PanelOscillo);  // GroupBox6, 7
  auto *grille = new QGridLayout(g);
  grille->setContentsMargins(4, 0, 4, 2);
  grille->setSpacing(2);
  auto *edit = new EditLibelle("Calibre", g);
  edit->setFixedWidth(64);
  auto *ud = new UpDown(0, 8, 5, g);
  ud->tag = voie;
  auto *couplage = new RadioGroupe("Couplage", {"AC", "DC", "GND"}, 3, g);
  couplage->tag = voie;
  auto *forme = new QLabel(g);  // Shape1, Shape2: the channel's colour key
  forme->setFixedSize(16, 16);
  forme->setStyleSheet(voie == 1 ? "background:blue; border:1px solid navy; border-radius:4px"
                                 : "background:red; border:1px solid black; border-radius:4px");
  grille->addWidget(edit, 0, 0);
  grille->addWidget(ud, 0, 1, Qt::AlignBottom);
  grille->addWidget(forme, 0, 2, Qt::AlignBottom | Qt::AlignRight);
  grille->addWidget(couplage, 1, 0, 1, 3);
  QObject::connect(ud, &UpDown::clic, &f, [&f, ud] { f.UpDown2Click(ud); });
  QObject::connect(couplage, &RadioGroupe::clic, &f,
                   [&f, couplage] { f.CouplageRG2Click(couplage); });
  (voie == 1 ? f.CalibreEdit1 : f.CalibreEdit2) = edit;
  (voie == 1 ? f.UpDown1 : f.UpDown2) = ud;
  (voie == 1 ? f.CouplageRG1 : f.CouplageRG2) = couplage;
  f.UpDownVoie[size_t(voie)] = ud;
  f.CouplageVoie[size_t(voie)] = couplage;
  f.CalibreEditVoie[size_t(voie)] = edit;
  panneau->addWidget(g);
}

void ConstruitPanneauOscillo(TZelmMainForm &f, QVBoxLayout *haut) {
  f.PanelOscillo = new QWidget(&f);
  f.PanelOscillo->setFixedHeight(100);
  auto *l = new QHBoxLayout(f.PanelOscillo);
  l->setContentsMargins(2, 0, 2, 0);
  l->setSpacing(2);
  ConstruitBaseDeTemps(f, l);
  ConstruitSynchro(f, l);
  f.ModeRG = new RadioGroupe(
      "Mode", {"Oscilloscope", "Analyseur de spectre", "Diagramme de Zelm"}, 1, f.PanelOscillo);
  l->addWidget(f.ModeRG);
  QObject::connect(f.ModeRG, &RadioGroupe::clic, &f, [&f] { f.ModeRGClick(); });
  ConstruitVoie(f, l, 1);
  ConstruitVoie(f, l, 2);
  l->addStretch();
  haut->addWidget(f.PanelOscillo);
}

void ConstruitPanneauVoies(TZelmMainForm &f) {
  f.PanelVoies = new QWidget;
  f.PanelVoies->setMinimumWidth(185);
  auto *l = new QVBoxLayout(f.PanelVoies);
  l->setContentsMargins(2, 2, 2, 2);
  // GroupBox4 carries tag 0 (the frequency); GroupBox0..3 tags 1..4
  for (int tag = 0; tag < 5; ++tag) {
    auto *g = new QGroupBox(f.PanelVoies);
    auto *label = new QLabel(tag == 0 ? QStringLiteral("F") : QString::number(tag), g);
    auto *gl = new QVBoxLayout(g);
    gl->setContentsMargins(4, 2, 4, 2);
    gl->addWidget(label);
    g->setProperty("tag", tag);
    g->setCursor(Qt::PointingHandCursor);
    DefinitHint(g, tag == 0 ? "Cliquer pour paramètrer la mesure de fréquence"
                            : "Cliquer pour paramètrer la voie de mesure");
    g->installEventFilter(&f);
    label->installEventFilter(&f);
    f.GroupBoxVoie[size_t(tag)] = g;
    f.LabelVoie[size_t(tag)] = label;
    l->addWidget(g);
  }
  l->addStretch();
}

void ConstruitPanneauZelm(TZelmMainForm &f) {
  f.PanelZelm = new QWidget;
  auto *l = new QHBoxLayout(f.PanelZelm);
  l->setContentsMargins(0, 0, 0, 0);
  f.FFTtrackBar = new QSlider(Qt::Vertical, f.PanelZelm);
  f.FFTtrackBar->setRange(0, 9);
  f.FFTtrackBar->setValue(3);
  f.FFTtrackBar->setTickPosition(QSlider::NoTicks);
  f.FFTtrackBar->setInvertedAppearance(true);  // position 0 (most lines) at the top
  DefinitHint(f.FFTtrackBar, "Nbre d'harmoniques");
  QObject::connect(f.FFTtrackBar, &QSlider::valueChanged, &f,
                   [&f](int p) { f.FFTtrackBarChange(p); });
  f.SplitterV = new QSplitter(Qt::Horizontal, f.PanelZelm);
  f.ZelmPaintBox = new PaintBox;
  ConstruitPanneauVoies(f);
  f.SplitterV->addWidget(f.ZelmPaintBox);
  f.SplitterV->addWidget(f.PanelVoies);
  f.SplitterV->setStretchFactor(0, 1);
  f.SplitterV->setHandleWidth(3);
  l->addWidget(f.FFTtrackBar);
  l->addWidget(f.SplitterV, 1);
}

}  // namespace

void ConstruitControles(TZelmMainForm &f) {
  f.setMinimumSize(320, 240);
  // the panels' 8-point font; bold would not fit the settings panel in its width
  f.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  ConstruitBarre(f);
  auto *centre = new QWidget(&f);
  auto *haut = new QVBoxLayout(centre);
  haut->setContentsMargins(0, 0, 0, 0);
  haut->setSpacing(0);
  ConstruitPanneauOscillo(f, haut);
  f.SplitterH = new QSplitter(Qt::Vertical, centre);
  f.SplitterH->setHandleWidth(3);
  f.SplitterH->setStyleSheet("QSplitter::handle { background: blue; }");
  f.TempsPaintBox = new PaintBox;
  ConstruitPanneauZelm(f);
  f.SplitterH->addWidget(f.TempsPaintBox);
  f.SplitterH->addWidget(f.PanelZelm);
  f.SplitterH->setStretchFactor(0, 1);
  f.SplitterH->setSizes({367, 230});
  f.PanelZelm->hide();
  f.PanelVoies->hide();
  haut->addWidget(f.SplitterH, 1);
  f.setCentralWidget(centre);
  // wider than 734 only when the settings panel needs it in this font
  f.resize(std::max(734, centre->minimumSizeHint().width()), 597);
  f.Header = f.statusBar();
  f.Timer = new QTimer(&f);
  f.Timer->setInterval(100);
  f.TimerZelmAuto = new QTimer(&f);
}
