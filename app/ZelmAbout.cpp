#include "ZelmAbout.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "Boites.h"

TZelmAboutBox::TZelmAboutBox(std::function<QString()> version, QWidget *parent, OuvreUrl ouvre)
    : QDialog(parent), version_(std::move(version)), ouvre_(std::move(ouvre)) {
  if (!ouvre_) ouvre_ = [](const QUrl &u) { return QDesktopServices::openUrl(u); };
  setWindowTitle(QStringLiteral("About"));
  QFont f = font();
  f.setPointSize(10);
  setFont(f);

  auto *panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto *texte = new QVBoxLayout(panel);
  auto *icone = new QLabel(panel);
  icone->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
  texte->addWidget(icone);
  texte->addWidget(new QLabel(QStringLiteral("Acquisition par oscillo USB Quilo"), panel));
  texte->addWidget(new QLabel(QStringLiteral("pour Tabulo"), panel));
  texte->addWidget(new QLabel(QStringLiteral("Version 1.03  25/09/2008"), panel));
  texte->addWidget(new QLabel(QStringLiteral("Zelm pour Linux, banc virtuel compris"), panel));
  OscilloLabel = new QLabel(panel);
  OscilloLabel->setObjectName(QStringLiteral("OscilloLabel"));
  OscilloLabel->setMinimumWidth(220);
  texte->addWidget(OscilloLabel);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton),
                            QStringLiteral("Version à jour"), this);
  OKButton = new QPushButton(QStringLiteral("&OK"), this);
  OKButton->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TZelmAboutBox::BitBtn1Click);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto *boutons = new QHBoxLayout;
  boutons->addWidget(BitBtn1);
  boutons->addStretch();
  boutons->addWidget(OKButton);
  auto *tout = new QVBoxLayout(this);
  tout->addWidget(panel);
  tout->addLayout(boutons);
  OKButton->setFocus();
}

void TZelmAboutBox::showEvent(QShowEvent *e) {
  OscilloLabel->setText(version_ ? version_() : QString());
  QDialog::showEvent(e);
}

void TZelmAboutBox::BitBtn1Click() {
  const QUrl page(QString::fromLatin1(PageMiseAJour));
  if (!ouvre_(page))
    BoitesCourantes().Message(QStringLiteral("Impossible d'accéder à ") + page.toString());
}
