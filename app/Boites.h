#pragma once
#include <QString>
#include <QStringList>
#include <memory>

class QDialog;
class QMessageBox;
class QWidget;

// Every message box, confirmation and modal dialog goes through here, so that
// a test can script the answers (tests/app has the scripted boxes) and no test ever blocks on a modal window.
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

// The real box of each kind, not yet shown: the program's title, the text as
// plain text (never rich text), the standard buttons captioned in French.
enum class GenreBoite { Message, Erreur, OuiNon, OkAnnuler };
std::unique_ptr<QMessageBox> CreeBoite(GenreBoite genre, const QString &texte,
                                       QWidget *parent = nullptr);

// The program's boxes; the real ones unless a test put others.
Boites &BoitesCourantes();
void DefinitBoites(Boites *b);
