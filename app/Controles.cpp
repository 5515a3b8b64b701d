#include "Controles.h"

#include <QButtonGroup>
#include <algorithm>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

RadioGroupe::RadioGroupe(const QString &titre, const QStringList &items, int colonnes,
                         QWidget *parent)
    : QGroupBox(titre, parent),
      boutons_(new QButtonGroup(this)),
      grille_(new QGridLayout(this)),
      colonnes_(colonnes < 1 ? 1 : colonnes) {
  grille_->setContentsMargins(4, 2, 4, 2);
  grille_->setSpacing(1);
  boutons_->setExclusive(true);
  for (const auto &t : items) AjouteItem(t);
  connect(boutons_, &QButtonGroup::idClicked, this, [this](int id) {
    if (id == index_) return;
    index_ = id;
    emit clic();
  });
}

int RadioGroupe::NbItems() const { return static_cast<int>(boutons_->buttons().size()); }

QString RadioGroupe::Item(int i) const {
  auto *b = boutons_->button(i);
  return b ? b->text() : QString();
}

void RadioGroupe::SetItemIndex(int i) {
  // beyond the last item: the last (a stored index from a longer list still chooses)
  if (i < -1) i = -1;
  if (i >= NbItems()) i = NbItems() - 1;
  if (i == index_) return;
  index_ = i;
  if (i >= 0) {
    boutons_->button(i)->setChecked(true);
  } else if (auto *b = boutons_->checkedButton()) {
    boutons_->setExclusive(false);
    b->setChecked(false);
    boutons_->setExclusive(true);
  }
  emit clic();
}

void RadioGroupe::AjouteItem(const QString &texte) {
  auto *b = new QRadioButton(texte, this);
  b->setMinimumSize(b->sizeHint());  // an item never loses its text to a narrow panel
  const int n = NbItems();
  boutons_->addButton(b, n);
  grille_->addWidget(b, n / colonnes_, n % colonnes_);
}

void RadioGroupe::SupprimeItem(int i) {
  if (i < 0 || i >= NbItems()) return;
  const int avant = index_;
  // the buttons after i move down one place, as the items of a list do
  QList<QAbstractButton *> restants;
  for (int k = 0; k < NbItems(); ++k)
    if (k != i) restants << boutons_->button(k);
  QAbstractButton *ote = boutons_->button(i);
  for (auto *b : boutons_->buttons()) boutons_->removeButton(b);
  grille_->removeWidget(ote);
  delete ote;
  for (int k = 0; k < restants.size(); ++k) {
    boutons_->addButton(restants[k], k);
    grille_->removeWidget(restants[k]);
    grille_->addWidget(restants[k], k / colonnes_, k % colonnes_);
  }
  index_ = avant == i ? -1 : (avant > i ? avant - 1 : avant);
  if (index_ != avant) emit clic();
}

UpDown::UpDown(int mini, int maxi, int position, QWidget *parent)
    : QWidget(parent), mini_(mini), maxi_(maxi), position_(position),
      haut_(new QToolButton(this)), bas_(new QToolButton(this)) {
  haut_->setArrowType(Qt::UpArrow);
  bas_->setArrowType(Qt::DownArrow);
  for (auto *b : {haut_, bas_}) {
    b->setAutoRepeat(true);
    b->setFixedSize(17, 11);
  }
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  l->addWidget(haut_);
  l->addWidget(bas_);
  connect(haut_, &QToolButton::clicked, this, [this] { Pas(+1); });
  connect(bas_, &QToolButton::clicked, this, [this] { Pas(-1); });
}

void UpDown::SetPosition(int p) { position_ = std::clamp(p, mini_, maxi_); }

void UpDown::Pas(int sens) {
  const int nouvelle = position_ + (sens > 0 ? 1 : -1);
  bool permis = nouvelle >= mini_ && nouvelle <= maxi_;
  emit changement(nouvelle, permis);
  if (!permis || nouvelle < mini_ || nouvelle > maxi_) return;
  position_ = nouvelle;
  emit clic();
}

EditLibelle::EditLibelle(const QString &libelle, QWidget *parent)
    : QWidget(parent), edit_(new QLineEdit(this)) {
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(1);
  l->addWidget(new QLabel(libelle, this));
  edit_->setEnabled(false);
  l->addWidget(edit_);
}
