#include "Boites.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

void BoitesQt::Message(const QString &texte) {
  QMessageBox::information(parent_, QApplication::applicationName(), texte);
}

void BoitesQt::Erreur(const QString &texte) {
  // the arrow while the box is up, whatever the program was showing
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  QMessageBox::critical(parent_, QApplication::applicationName(), texte);
  QApplication::restoreOverrideCursor();
}

bool BoitesQt::Confirme(const QString &texte) {
  return QMessageBox::question(parent_, QApplication::applicationName(), texte,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool BoitesQt::ConfirmeOkAnnuler(const QString &texte) {
  return QMessageBox::question(parent_, QApplication::applicationName(), texte,
                               QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool BoitesQt::Execute(QDialog &dialogue) { return dialogue.exec() == QDialog::Accepted; }

bool BoitesScriptees::Reponse() {
  if (reponses.empty()) return true;
  const bool r = reponses.front();
  reponses.pop_front();
  return r;
}

void BoitesScriptees::Message(const QString &texte) { vues.push_back({Trace::Message, texte}); }
void BoitesScriptees::Erreur(const QString &texte) { vues.push_back({Trace::Erreur, texte}); }

bool BoitesScriptees::Confirme(const QString &texte) {
  vues.push_back({Trace::Confirmation, texte});
  return Reponse();
}

bool BoitesScriptees::ConfirmeOkAnnuler(const QString &texte) {
  vues.push_back({Trace::Confirmation, texte});
  return Reponse();
}

bool BoitesScriptees::Execute(QDialog &dialogue) {
  vues.push_back({Trace::Dialogue, dialogue.windowTitle()});
  if (remplit) remplit(dialogue);
  const bool ok = Reponse();
  dialogue.done(ok ? QDialog::Accepted : QDialog::Rejected);
  return ok;
}

QStringList BoitesScriptees::Textes() const {
  QStringList t;
  for (const auto &v : vues) t << v.texte;
  return t;
}

namespace {
BoitesQt reelles;
Boites *courantes = &reelles;
}  // namespace

Boites &BoitesCourantes() { return *courantes; }
void DefinitBoites(Boites *b) { courantes = b ? b : &reelles; }
