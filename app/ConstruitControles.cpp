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
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "Calibres.h"
#include "Controles.h"
#include "PaintBox.h"
#include "Protege.h"
#include "SaisieGrecque.h"
#include "Texte8.h"
#include "TZelmMainForm.h"

namespace {

// The slope items are two glyphs of the symbol font: 0xC1 rising, 0xC0 falling.
const QString MontantDescendant[2] = {VersQt("\xC1"), VersQt("\xC0")};

QToolButton *Bouton(TZelmMainForm &f, ControlesFenetre &c, const QString &nom, const QString &texte, QStyle::StandardPixmap image,
                    const QString &hint, void (TZelmMainForm::*handler)()) {
  auto *b = new QToolButton(&f);
  b->setText(texte);
  b->setIcon(f.style()->standardIcon(image));
  b->setIconSize(QSize(20, 20));
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setMinimumSize(64, 40);
  b->setMaximumHeight(40);
  DefinitHint(b, hint);
  b->setObjectName(nom);
  c.ToolBar1->addWidget(b);
  QObject::connect(b, &QToolButton::clicked, &f, [&f, handler] { Protege([&] { (f.*handler)(); }); });
  return b;
}

void ConstruitBarre(TZelmMainForm &f, ControlesFenetre &c) {
  c.ToolBar1 = f.addToolBar(QStringLiteral("ToolBar1"));
  c.ToolBar1->setMovable(false);
  c.ToolBar1->setFixedHeight(40 + 4);
  using S = QStyle;
  c.EnregistreBtn = Bouton(f, c, "EnregistreBtn", "Acquisition", S::SP_DialogApplyButton,
                           "Acquisition du point courant", &TZelmMainForm::EnregistreBtnClick);
  c.UndoBtn = Bouton(f, c, "UndoBtn", "Défaire", S::SP_ArrowBack, "Défaire|Anuller le dernier point",
                     &TZelmMainForm::UndoBtnClick);
  c.ResetBtn = Bouton(f, c, "ResetBtn", "RàZ", S::SP_DialogResetButton, "RàZ|Remise à zéro",
                      &TZelmMainForm::ResetBtnClick);
  c.RegSaveBtn = Bouton(f, c, "RegSaveBtn", "Tabulo", S::SP_DialogSaveButton,
                        "Tabulo|Envoie les données vers Tabulo", &TZelmMainForm::RegSaveBtnClick);
  c.ConnectBtn = Bouton(f, c, "ConnectBtn", "Connexion", S::SP_DriveNetIcon, "", &TZelmMainForm::ConnectBtnClick);
  c.ToolButton1 = Bouton(f, c, "ToolButton1", "Zéro", S::SP_BrowserReload, "", &TZelmMainForm::ToolButton1Click);
  c.autosetBtn = Bouton(f, c, "autosetBtn", "Config. auto", S::SP_MediaSeekForward, "",
                        &TZelmMainForm::autosetBtnClick);
  c.OptionsBtn = Bouton(f, c, "OptionsBtn", "Options", S::SP_FileDialogDetailedView, "Options",
                        &TZelmMainForm::OptionsBtnClick);
  c.PlusBtn = Bouton(f, c, "PlusBtn", "A propos", S::SP_MessageBoxInformation, "A propos...",
                     &TZelmMainForm::HelpAbout);
  c.HelpBtn = Bouton(f, c, "HelpBtn", "Aide", S::SP_DialogHelpButton, "Aide", &TZelmMainForm::HelpBtnClick);
  c.ExitBtn = Bouton(f, c, "ExitBtn", "Quitter", S::SP_DialogCloseButton, "Quitter", &TZelmMainForm::FileExit);
}

void ConstruitBaseDeTemps(TZelmMainForm &f, ControlesFenetre &c, QHBoxLayout *panneau) {
  auto *g = new QGroupBox("Base de temps", c.PanelOscillo);  // GroupBox5
  auto *grille = new QGridLayout(g);
  grille->setContentsMargins(4, 0, 4, 2);
  grille->setSpacing(2);
  c.DureeEdit = new EditLibelle("Durée", g);
  c.DureeUpDown = new UpDown(0, int(BasesDeTemps.size()) - 1, 0, g);
  c.FechEdit = new EditLibelle("Fréq. éch.", g);
  grille->addWidget(c.DureeEdit, 0, 0);
  grille->addWidget(c.DureeUpDown, 0, 1, Qt::AlignBottom);
  grille->addWidget(c.FechEdit, 1, 0);
  c.DureeEdit->setFixedWidth(64);
  c.FechEdit->setFixedWidth(64);
  QObject::connect(c.DureeUpDown, &UpDown::changement, &f,
                   [&f](int v, bool &permis) { Protege([&] { f.DureeUpDownChangingEx(v, permis); }); });
  panneau->addWidget(g);
}

void ConstruitSynchro(TZelmMainForm &f, ControlesFenetre &c, QHBoxLayout *panneau) {
  auto *g = new QGroupBox("Synchronisation", c.PanelOscillo);  // GroupBox8
  auto *grille = new QGridLayout(g);
  grille->setContentsMargins(4, 0, 4, 0);
  grille->setSpacing(2);
  c.SynchroRG = new RadioGroupe("Mode", {"Relaxé", "Voie 1", "Voie 2", "Externe"}, 2, g);
  c.SensRG = new RadioGroupe("Sens", {MontantDescendant[0], MontantDescendant[1]}, 1, g);
  c.MonocoupCB = new QCheckBox("Monocoup", g);
  c.ArmeBtn = new QToolButton(g);
  c.ArmeBtn->setIcon(f.style()->standardIcon(QStyle::SP_MediaPlay));
  DefinitHint(c.ArmeBtn, "Nouvelle acquisition");
  // hidden while an acquisition is armed, its place kept: the stop button below stays put
  QSizePolicy place = c.ArmeBtn->sizePolicy();
  place.setRetainSizeWhenHidden(true);
  c.ArmeBtn->setSizePolicy(place);
  c.StopBtn = new QToolButton(g);
  c.StopBtn->setIcon(f.style()->standardIcon(QStyle::SP_MediaStop));
  DefinitHint(c.StopBtn, "Arrêt acquisition");
  auto *boutons = new QVBoxLayout;
  boutons->addWidget(c.ArmeBtn);
  boutons->addWidget(c.StopBtn);
  grille->addWidget(c.SynchroRG, 0, 0);
  grille->addWidget(c.SensRG, 0, 1);
  grille->addLayout(boutons, 0, 2);
  grille->addWidget(c.MonocoupCB, 1, 0, 1, 3);
  QObject::connect(c.SynchroRG, &RadioGroupe::clic, &f, [&f] { Protege([&] { f.SynchroRGClick(); }); });
  QObject::connect(c.SensRG, &RadioGroupe::clic, &f, [&f] { Protege([&] { f.SensRGClick(); }); });
  // toggled, not clicked: a change made by code runs the handler as a click does
  QObject::connect(c.MonocoupCB, &QCheckBox::toggled, &f, [&f] { Protege([&] { f.MonocoupCBClick(); }); });
  // the user's own choice is the state the button update keeps
  QObject::connect(c.MonocoupCB, &QCheckBox::clicked, &f,
                   [&f](bool coche) { f.MonocoupCBClicked(coche); });
  QObject::connect(c.ArmeBtn, &QToolButton::clicked, &f, [&f] { Protege([&] { f.ArmeBtnClick(); }); });
  QObject::connect(c.StopBtn, &QToolButton::clicked, &f, [&f] { Protege([&] { f.StopBtnClick(); }); });
  panneau->addWidget(g);
}

void ConstruitVoie(TZelmMainForm &f, ControlesFenetre &c, QHBoxLayout *panneau, int voie) {
  auto *g = new QGroupBox(voie == 1 ? "Voie1" : "Voie 2", c.PanelOscillo);  // GroupBox6, 7
  auto *grille = new QGridLayout(g);
  grille->setContentsMargins(4, 0, 4, 2);
  grille->setSpacing(2);
  auto *edit = new EditLibelle("Calibre", g);
  edit->setFixedWidth(64);
  auto *ud = new UpDown(0, int(Calibres.size()) - 1, 5, g);
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
  QObject::connect(ud, &UpDown::clic, &f, [&f, ud] { Protege([&] { f.UpDown2Click(ud); }); });
  QObject::connect(couplage, &RadioGroupe::clic, &f,
                   [&f, couplage] { Protege([&] { f.CouplageRG2Click(couplage); }); });
  (voie == 1 ? c.CalibreEdit1 : c.CalibreEdit2) = edit;
  (voie == 1 ? c.UpDown1 : c.UpDown2) = ud;
  (voie == 1 ? c.CouplageRG1 : c.CouplageRG2) = couplage;
  c.UpDownVoie[size_t(voie)] = ud;
  c.CouplageVoie[size_t(voie)] = couplage;
  c.CalibreEditVoie[size_t(voie)] = edit;
  panneau->addWidget(g);
}

void ConstruitPanneauOscillo(TZelmMainForm &f, ControlesFenetre &c, QVBoxLayout *haut) {
  c.PanelOscillo = new QWidget(&f);
  c.PanelOscillo->setFixedHeight(100);
  auto *l = new QHBoxLayout(c.PanelOscillo);
  l->setContentsMargins(2, 0, 2, 0);
  l->setSpacing(2);
  ConstruitBaseDeTemps(f, c, l);
  ConstruitSynchro(f, c, l);
  c.ModeRG = new RadioGroupe(
      "Mode", {"Oscilloscope", "Analyseur de spectre", "Diagramme de Zelm"}, 1, c.PanelOscillo);
  l->addWidget(c.ModeRG);
  QObject::connect(c.ModeRG, &RadioGroupe::clic, &f, [&f] { Protege([&] { f.ModeRGClick(); }); });
  ConstruitVoie(f, c, l, 1);
  ConstruitVoie(f, c, l, 2);
  l->addStretch();
  haut->addWidget(c.PanelOscillo);
}

void ConstruitPanneauVoies(TZelmMainForm &f, ControlesFenetre &c) {
  c.PanelVoies = new QWidget;
  c.PanelVoies->setMinimumWidth(185);
  auto *l = new QVBoxLayout(c.PanelVoies);
  l->setContentsMargins(2, 2, 2, 2);
  // GroupBox4 carries tag 0 (the frequency); GroupBox0..3 tags 1..4
  for (int tag = 0; tag < 5; ++tag) {
    auto *g = new QGroupBox(c.PanelVoies);
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
    c.GroupBoxVoie[size_t(tag)] = g;
    c.LabelVoie[size_t(tag)] = label;
    l->addWidget(g);
  }
  l->addStretch();
}

void ConstruitPanneauZelm(TZelmMainForm &f, ControlesFenetre &c) {
  c.PanelZelm = new QWidget;
  auto *l = new QHBoxLayout(c.PanelZelm);
  l->setContentsMargins(0, 0, 0, 0);
  c.FFTtrackBar = new QSlider(Qt::Vertical, c.PanelZelm);
  c.FFTtrackBar->setRange(0, 9);
  c.FFTtrackBar->setValue(3);
  c.FFTtrackBar->setTickPosition(QSlider::NoTicks);
  c.FFTtrackBar->setInvertedAppearance(true);  // position 0 (most lines) at the top
  DefinitHint(c.FFTtrackBar, "Nbre d'harmoniques");
  QObject::connect(c.FFTtrackBar, &QSlider::valueChanged, &f,
                   [&f](int p) { Protege([&] { f.FFTtrackBarChange(p); }); });
  c.SplitterV = new QSplitter(Qt::Horizontal, c.PanelZelm);
  c.ZelmPaintBox = new PaintBox;
  ConstruitPanneauVoies(f, c);
  c.SplitterV->addWidget(c.ZelmPaintBox);
  c.SplitterV->addWidget(c.PanelVoies);
  c.SplitterV->setStretchFactor(0, 1);
  c.SplitterV->setHandleWidth(3);
  l->addWidget(c.FFTtrackBar);
  l->addWidget(c.SplitterV, 1);
}

// Each control answers to its name (tests and style sheets find it by that).
void Nomme(ControlesFenetre &c) {
  const std::pair<QObject *, const char *> noms[] = {
      {c.ToolBar1, "ToolBar1"},       {c.PanelOscillo, "PanelOscillo"},
      {c.DureeEdit, "DureeEdit"},     {c.FechEdit, "FechEdit"},
      {c.CalibreEdit1, "CalibreEdit1"}, {c.CalibreEdit2, "CalibreEdit2"},
      {c.DureeUpDown, "DureeUpDown"}, {c.UpDown1, "UpDown1"},
      {c.UpDown2, "UpDown2"},         {c.SynchroRG, "SynchroRG"},
      {c.SensRG, "SensRG"},           {c.ModeRG, "ModeRG"},
      {c.CouplageRG1, "CouplageRG1"}, {c.CouplageRG2, "CouplageRG2"},
      {c.MonocoupCB, "MonocoupCB"},   {c.ArmeBtn, "ArmeBtn"},
      {c.StopBtn, "StopBtn"},         {c.SplitterH, "SplitterH"},
      {c.SplitterV, "SplitterV"},     {c.TempsPaintBox, "TempsPaintBox"},
      {c.ZelmPaintBox, "ZelmPaintBox"}, {c.PanelZelm, "PanelZelm"},
      {c.PanelVoies, "PanelVoies"},   {c.FFTtrackBar, "FFTtrackBar"},
      {c.Header, "Header"},
  };
  for (auto [objet, nom] : noms) objet->setObjectName(QString::fromLatin1(nom));
  // GroupBox4 and Label4 carry the frequency (tag 0), GroupBox0..3 the quantities
  for (int tag = 0; tag < 5; ++tag) {
    const int numero = tag == 0 ? 4 : tag - 1;
    c.GroupBoxVoie[size_t(tag)]->setObjectName(QStringLiteral("GroupBox%1").arg(numero));
    c.LabelVoie[size_t(tag)]->setObjectName(QStringLiteral("Label%1").arg(numero));
  }
}

}  // namespace

void ConstruitControles(TZelmMainForm &f, ControlesFenetre &c) {
  f.setMinimumSize(320, 240);
  // the panels' 8-point font; bold would not fit the settings panel in its width
  f.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
  ConstruitBarre(f, c);
  auto *centre = new QWidget(&f);
  auto *haut = new QVBoxLayout(centre);
  haut->setContentsMargins(0, 0, 0, 0);
  haut->setSpacing(0);
  ConstruitPanneauOscillo(f, c, haut);
  c.SplitterH = new QSplitter(Qt::Vertical, centre);
  c.SplitterH->setHandleWidth(3);
  c.SplitterH->setStyleSheet("QSplitter::handle { background: blue; }");
  c.TempsPaintBox = new PaintBox;
  ConstruitPanneauZelm(f, c);
  // the time graph with its readouts under it (hidden until the option is on)
  auto *temps = new QWidget;
  auto *pile = new QVBoxLayout(temps);
  pile->setContentsMargins(0, 0, 0, 0);
  pile->setSpacing(0);
  pile->addWidget(c.TempsPaintBox, 1);
  for (int v : {1, 2}) {
    auto *l = new QLabel(temps);
    l->setObjectName(QStringLiteral("LectureVoie%1").arg(v));
    l->hide();
    pile->addWidget(l);
    c.LectureVoie[size_t(v)] = l;
  }
  c.SplitterH->addWidget(temps);
  c.SplitterH->addWidget(c.PanelZelm);
  // hovering tells what can be dragged: moves come without a button down too
  c.TempsPaintBox->setMouseTracking(true);
  c.ZelmPaintBox->setMouseTracking(true);
  c.SplitterH->setStretchFactor(0, 1);
  c.SplitterH->setSizes({367, 230});
  c.PanelZelm->hide();
  c.PanelVoies->hide();
  haut->addWidget(c.SplitterH, 1);
  f.setCentralWidget(centre);
  // wider than 734 only when the settings panel needs it in this font
  f.resize(std::max(734, centre->minimumSizeHint().width()), 597);
  c.Header = f.statusBar();
  Nomme(c);
}
