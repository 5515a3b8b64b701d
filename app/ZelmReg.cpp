#include "ZelmReg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Aide.h"
#include "Boites.h"
#include "Controles.h"
#include "FichierIni.h"
#include "Texte8.h"
#include "ZelmUtil.h"

namespace {
constexpr const char *Section = "Constante";
constexpr const char *CleUnite = "Unit\xE9";  // 8-bit, as the file stores it
}  // namespace

TConstanteDlg::TConstanteDlg(std::string fichierConfig, QWidget *parent)
    : QDialog(parent), fichierConfig_(std::move(fichierConfig)) {
  setWindowTitle(QStringLiteral("Renseignements sur la page courante"));
  setObjectName(QStringLiteral("ConstanteDlg"));
  auto *parametre = new QGroupBox(QStringLiteral("Paramètre"), this);
  auto *f = new QFormLayout(parametre);
  const auto edit = [&](const char *nom, const QString &libelle, int longueur = 0) {
    auto *e = new QLineEdit(parametre);
    e->setObjectName(QLatin1String(nom));
    if (longueur > 0) e->setMaxLength(longueur);
    auto *l = new QLabel(libelle, parametre);
    l->setBuddy(e);
    f->addRow(l, e);
    return e;
  };
  NomConstEdit = edit("NomConstEdit", QStringLiteral("&Symbole"), 8);
  UniteConstEdit = edit("UniteConstEdit", QStringLiteral("&Unité"));
  ValeurConstEdit = edit("ValeurConstEdit", QStringLiteral("&Valeur"));
  auto *commentaire = new QGroupBox(QStringLiteral("&Commentaire"), this);
  EditComm = new QLineEdit(commentaire);
  EditComm->setObjectName(QStringLiteral("EditComm"));
  (new QVBoxLayout(commentaire))->addWidget(EditComm);
  NewPageCB = new RadioGroupe(QStringLiteral("Données vers &Tabulo"),
                              {QStringLiteral("Nouveau &fichier"), QStringLiteral("Nouvelle &page")},
                              2, this);
  NewPageCB->setObjectName(QStringLiteral("NewPageCB"));
  NewPageCB->SetItemIndex(0);
  OKBtn = new QPushButton(QStringLiteral("&OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("&Abandon"), this);
  HelpBtn = new QPushButton(QStringLiteral("&Aide"), this);
  OKBtn->setDefault(true);
  auto *boutons = new QVBoxLayout;
  for (QPushButton *b : {OKBtn, CancelBtn, HelpBtn}) boutons->addWidget(b);
  boutons->addStretch();
  auto *gauche = new QVBoxLayout;
  gauche->addWidget(parametre);
  gauche->addWidget(commentaire);
  gauche->addWidget(NewPageCB);
  auto *tout = new QHBoxLayout(this);
  tout->addLayout(gauche, 1);
  tout->addLayout(boutons);
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [] { Aide::Montre(); });

  if (fichierConfig_.empty()) return;
  const FichierIni fichier(fichierConfig_);
  if (!fichier.Lu()) return;
  NomConstEdit->setText(VersQt(fichier.LitTexte(Section, "Nom", "")));
  UniteConstEdit->setText(VersQt(fichier.LitTexte(Section, CleUnite, "")));
  EditComm->setText(VersQt(fichier.LitTexte(Section, "Comm", "")));
}

bool TConstanteDlg::ValeurLisible() const {
  const QString v = ValeurConstEdit->text();
  return v.isEmpty() || !EstIndefinie(LitNombre(DepuisQt(v)));
}

bool TConstanteDlg::OKBtnClick() {
  if (!ValeurLisible()) {
    BoitesCourantes().Erreur(QStringLiteral("Nombre mal écrit"));
    ValeurConstEdit->setFocus();
    return false;
  }
  accept();
  return true;
}

bool TConstanteDlg::EcritConstante() const {
  if (fichierConfig_.empty()) return true;
  FichierIni fichier(fichierConfig_);
  fichier.EcritTexte(Section, "Nom", DepuisQt(NomConstEdit->text()));
  fichier.EcritTexte(Section, "Comm", DepuisQt(EditComm->text()));
  fichier.EcritTexte(Section, CleUnite, DepuisQt(UniteConstEdit->text()));
  return fichier.Enregistre();
}
