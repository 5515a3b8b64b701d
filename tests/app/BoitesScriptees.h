#pragma once
#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "Boites.h"

// Records every text shown and gives the scripted answers in order (true when
// the script is empty). A dialog is not shown: the scripted preparation, when
// there is one, fills it in as a user would.
class BoitesScriptees final : public Boites {
 public:
  struct Trace {
    enum Genre { Message, Erreur, Confirmation, Dialogue } genre;
    QString texte;
  };
  std::vector<Trace> vues;
  std::deque<bool> reponses;
  std::function<void(QDialog &)> remplit;

  void Message(const QString &texte) override { vues.push_back({Trace::Message, texte}); }
  void Erreur(const QString &texte) override { vues.push_back({Trace::Erreur, texte}); }
  bool Confirme(const QString &texte) override {
    vues.push_back({Trace::Confirmation, texte});
    return Reponse();
  }
  bool ConfirmeOkAnnuler(const QString &texte) override { return Confirme(texte); }
  bool Execute(QDialog &dialogue) override {
    vues.push_back({Trace::Dialogue, dialogue.windowTitle()});
    if (remplit) remplit(dialogue);
    const bool ok = Reponse();
    dialogue.done(ok ? QDialog::Accepted : QDialog::Rejected);
    return ok;
  }
  QStringList Textes() const {
    QStringList t;
    for (const auto &v : vues) t << v.texte;
    return t;
  }

 private:
  bool Reponse() {
    if (reponses.empty()) return true;
    const bool r = reponses.front();
    reponses.pop_front();
    return r;
  }
};
