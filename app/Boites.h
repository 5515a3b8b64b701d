#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

// Every message box, confirmation and modal dialog goes through here, so that
// a test can script the answers and no test ever blocks on a modal window.
class Boites {
 public:
  virtual ~Boites() = default;
  virtual void Message(const QString &texte) = 0;          // plain box, OK
  virtual void Erreur(const QString &texte) = 0;           // error box, OK
  virtual bool Confirme(const QString &texte) = 0;         // Yes/No → Yes
  virtual bool ConfirmeOkAnnuler(const QString &texte) = 0; // OK/Cancel → OK
  virtual bool Execute(QDialog &dialogue) = 0;             // modal; true for OK
};

// The real boxes, parented to `parent` (may be null).
class BoitesQt final : public Boites {
 public:
  explicit BoitesQt(QWidget *parent = nullptr) : parent_(parent) {}
  void Message(const QString &texte) override;
  void Erreur(const QString &texte) override;
  bool Confirme(const QString &texte) override;
  bool ConfirmeOkAnnuler(const QString &texte) override;
  bool Execute(QDialog &dialogue) override;

 private:
  QWidget *parent_;
};

// Records every text shown and gives the scripted answers in order
// (true when the script is empty). A dialog is not shown: the scripted
// preparation, when one is queued, fills it in as a user would.
class BoitesScriptees final : public Boites {
 public:
  struct Trace {
    enum Genre { Message, Erreur, Confirmation, Dialogue } genre;
    QString texte;
  };
  std::vector<Trace> vues;
  std::deque<bool> reponses;
  // called with each dialog before its answer, to fill it in as a user would
  std::function<void(QDialog &)> remplit;

  void Message(const QString &texte) override;
  void Erreur(const QString &texte) override;
  bool Confirme(const QString &texte) override;
  bool ConfirmeOkAnnuler(const QString &texte) override;
  bool Execute(QDialog &dialogue) override;
  QStringList Textes() const;

 private:
  bool Reponse();
};

// The program's boxes; the real ones unless a test put others.
Boites &BoitesCourantes();
void DefinitBoites(Boites *b);
