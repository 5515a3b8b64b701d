#pragma once
#include <QObject>
#include <QString>
#include <functional>

#include "Macro.h"

class QLocalServer;
class ConnexionMacro;

// How the window took the focus that "FOCUS" and "GETDATA" ask for.
enum class Focalisation {
  Faite,
  Impossible,  // hidden window: the syntax error box
  Sautee,      // a modal dialog disables the window: skipped without a box
};

// The macro server: other programs of the same user send it one-line commands
// over a local socket in the user's runtime folder, at service + "-" + topic.
// A request is one or more lines ended by an empty line; the server answers
// "ACK" (taken, even when an error box follows) or "NAK" (refused: too big,
// too slow, or an earlier request's error box is still to close) on a line of
// its own, then handles it on the user-interface thread. At most one of its
// boxes is ever open.
class ServeurMacro : public QObject {
  Q_OBJECT
 public:
  // The executable's file name cut before its first dot.
  static QString ServiceParDefaut();

  explicit ServeurMacro(const QString &service = ServiceParDefaut(),
                        const QString &sujet = QStringLiteral("ServeurDDE"),
                        QObject *parent = nullptr);
  ~ServeurMacro() override;

  // Listens in the runtime folder; false (and why, on standard error) when it
  // cannot. An address that another copy answers at is left to it: the next
  // free one ("-2", "-3", ...) is taken, and standard error says so.
  bool Ecoute();
  // The socket's full path, once listening.
  QString Adresse() const;

  // Filled by the window.
  std::function<Focalisation()> Focus;
  std::function<void()> NouvellePage;  // "GETDATA": the next export adds a page

  static constexpr qsizetype TailleMaxRequete = 4096;
  // A client is dropped when this long has passed since it connected or since
  // its last request (with NAK when it had begun another).
  int delaiClientMs = 10000;

 private:
  void Accepte();
  void Lit(ConnexionMacro &c);
  void Ferme(ConnexionMacro &c);
  void Execute(const std::vector<std::string> &lignes);
  void Focalise();
  void MontreBoite(const QString &texte);

  QString base_;
  QLocalServer *serveur_;
  bool boiteEnCours_ = false;  // an error box is waiting to open or open
};
