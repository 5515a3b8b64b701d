#include "Boites.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

std::unique_ptr<QMessageBox> CreeBoite(GenreBoite genre, const QString &texte, QWidget *parent) {
  using B = QMessageBox;
  const struct { B::Icon icone; B::StandardButtons boutons; } genres[] = {
      {B::Information, B::Ok}, {B::Critical, B::Ok},
      {B::Question, B::Yes | B::No}, {B::Question, B::Ok | B::Cancel}};
  const auto &g = genres[int(genre)];
  auto boite = std::make_unique<QMessageBox>(g.icone, QApplication::applicationName(), texte,
                                             g.boutons, parent);
  boite->setTextFormat(Qt::PlainText);
  const std::pair<B::StandardButton, const char *> francais[] = {
      {B::Ok, "OK"}, {B::Cancel, "Annuler"}, {B::Yes, "Oui"}, {B::No, "Non"}};
  for (auto [bouton, texteBouton] : francais)
    if (QAbstractButton *b = boite->button(bouton)) b->setText(QString::fromUtf8(texteBouton));
  return boite;
}

void BoitesQt::Message(const QString &texte) { CreeBoite(GenreBoite::Message, texte, parent_)->exec(); }

void BoitesQt::Erreur(const QString &texte) {
  // the arrow while the box is up, whatever the program was showing
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  CreeBoite(GenreBoite::Erreur, texte, parent_)->exec();
  QApplication::restoreOverrideCursor();
}

bool BoitesQt::Confirme(const QString &texte) {
  return CreeBoite(GenreBoite::OuiNon, texte, parent_)->exec() == QMessageBox::Yes;
}

bool BoitesQt::ConfirmeOkAnnuler(const QString &texte) {
  return CreeBoite(GenreBoite::OkAnnuler, texte, parent_)->exec() == QMessageBox::Ok;
}

bool BoitesQt::Execute(QDialog &dialogue) { return dialogue.exec() == QDialog::Accepted; }

namespace {
BoitesQt reelles;
Boites *courantes = &reelles;
}  // namespace

Boites &BoitesCourantes() { return *courantes; }
void DefinitBoites(Boites *b) { courantes = b ? b : &reelles; }
