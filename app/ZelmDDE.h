#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

#include "ServeurMacro.h"

class QLocalSocket;
class TConstanteDlg;
class TgrapheMesure;
class TgrapheOsc;

// Where the analysis application is: the registry stand-in's "Path", "tabulo" when
// there is none (the system's program search then finds it).
QString CheminTabulo();
// Its address on the local channel: the upper-case name of the program file, without
// folder and extension, + "-ServeurDDE", in the user's runtime folder.
QString AdresseTabulo(const QString &chemin);

// The exchange with the analysis application: the text block published on the
// clipboard, then one-line commands over the local channel. Every wait is a timer:
// the window never blocks. Exchanges asked while one runs follow it in order.
class TZelmFormDDE : public QObject {
  Q_OBJECT
 public:
  explicit TZelmFormDDE(QObject *parent = nullptr);

  // Block A from the time graph, or block B from the diagram; published, then sent
  // as "CLIP|LOAD" (new file) or "CLIP|ADD" (new page). Once the application has
  // taken it, the dialog proposes a new page.
  void ExporteTemps(TConstanteDlg &page, const TgrapheOsc &temps);
  void ExporteMesures(TConstanteDlg &page, const TgrapheMesure &zelm);
  // The clipboard: Unicode text through the character table, and the raw bytes
  // under application/x-tabulo-block.
  static void PublieBloc(const std::string &bloc);
  // Sends `commande`, then "FOCUS" when `focus`; a refusal is said in a box.
  // `acceptee` runs once the application has taken the command.
  void EnvoieMacroTabulo(const QString &commande, bool focus,
                         std::function<void()> acceptee = nullptr);
  bool EchangeEnCours() const { return !file_.empty(); }
  // The commands other programs send (the window fills its callbacks; it listens
  // once every form it may touch exists).
  ServeurMacro &Serveur() { return serveur_; }

  QString CheminService;  // the analysis application's program
  // ms: the longest wait for the application once started (it is asked every 100 ms
  // meanwhile), the pause before the one retry, the wait for an answer
  int AttenteDemarrageMs = 2000, AttenteReessaiMs = 1000, AttenteReponseMs = 3000;
  std::function<void()> Fini;  // an exchange has ended (tests)

 private:
  enum class Etape { Verifie, Demarre, Reessai, Commande, Focus };
  struct Demande {
    QString commande;
    bool focus;
    std::function<void()> acceptee;
  };
  void Envoie(TConstanteDlg &page);
  void Suivante();
  void Connecte(Etape e);
  void EchecConnexion();
  void Connectee();
  void Envoie(const QString &texte);
  void Reponse(bool acceptee);
  void Termine();

  ServeurMacro serveur_;
  std::deque<Demande> file_;
  Etape etape_ = Etape::Verifie;
  QLocalSocket *socket_ = nullptr;
  QTimer minuterie_;
  QElapsedTimer depuisDemarrage_;
  QByteArray recu_;
};
