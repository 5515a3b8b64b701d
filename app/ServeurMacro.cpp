#include "ServeurMacro.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <string>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "Boites.h"
#include "Protege.h"

// One client's partial request and its time limit; lives as long as its socket.
class ConnexionMacro final : public QObject {
 public:
  explicit ConnexionMacro(QLocalSocket *s) : QObject(s), socket(s) {}
  QLocalSocket *socket;
  QTimer minuterie;
  std::string tampon;
  bool fermee = false;

  void Repond(const char *reponse) {
    socket->write(reponse);
    socket->flush();  // out before any box that the request brings
  }
};

namespace {

void Signale(const QString &texte) { std::fprintf(stderr, "%s\n", qUtf8Printable(texte)); }

// Ours alone: owned by us, nothing for group or others (they could remove or
// replace the socket in it).
bool DossierPrive(const QString &dossier) {
  struct stat st {};
  return ::stat(QFile::encodeName(dossier).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

enum class EtatAdresse { Libre, Perimee, Prise };

// Whether a socket file is there and someone listens at it. The connection is
// non-blocking, so the answer is immediate: a listener's backlog takes it at once.
EtatAdresse Sonde(const QString &chemin) {
  const QByteArray nom = QFile::encodeName(chemin);
  struct stat st {};
  if (::lstat(nom.constData(), &st) != 0) return EtatAdresse::Libre;
  if (!S_ISSOCK(st.st_mode)) return EtatAdresse::Prise;  // not ours to remove
  sockaddr_un adresse{};
  adresse.sun_family = AF_UNIX;
  if (std::size_t(nom.size()) >= sizeof adresse.sun_path) return EtatAdresse::Prise;
  std::copy(nom.begin(), nom.end(), adresse.sun_path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return EtatAdresse::Prise;
  const bool repond = ::connect(fd, reinterpret_cast<sockaddr *>(&adresse), sizeof adresse) == 0 ||
                      errno == EAGAIN || errno == EINPROGRESS;
  ::close(fd);
  return repond ? EtatAdresse::Prise : EtatAdresse::Perimee;
}

}  // namespace

QString ServeurMacro::ServiceParDefaut() {
  const QString nom = QCoreApplication::instance()
                          ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                          : QString();
  const QString service = nom.section(QLatin1Char('.'), 0, 0);
  return service.isEmpty() ? QStringLiteral("zelm") : service;
}

ServeurMacro::ServeurMacro(const QString &service, const QString &sujet, QObject *parent)
    : QObject(parent), base_(service + QLatin1Char('-') + sujet), serveur_(new QLocalServer(this)) {
  // No socket options: with them the socket is made aside and renamed into
  // place, over another copy's live one, where a plain bind refuses a taken
  // name. Ecoute() narrows the socket's mode; the private folder covers the
  // moment between.
  connect(serveur_, &QLocalServer::newConnection, this, [this] { Protege([this] { Accepte(); }); });
}

ServeurMacro::~ServeurMacro() { serveur_->close(); }

QString ServeurMacro::Adresse() const { return serveur_->fullServerName(); }

bool ServeurMacro::Ecoute() {
  if (serveur_->isListening()) return true;
  const QString dossier = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dossier.isEmpty() || !DossierPrive(dossier)) {
    Signale(QStringLiteral("Serveur de macros non démarré : le dossier « %1 » n'est pas réservé "
                           "à l'utilisateur")
                .arg(dossier));
    return false;
  }
  const QString premier = dossier + QLatin1Char('/') + base_;
  for (int n = 1; n < 100; ++n) {
    const QString chemin = n == 1 ? premier : premier + QLatin1Char('-') + QString::number(n);
    switch (Sonde(chemin)) {
      case EtatAdresse::Prise:
        continue;  // another copy's live socket, or not a socket at all: never removed
      case EtatAdresse::Perimee:
        QLocalServer::removeServer(chemin);  // left by a copy that ended: nobody answers
        break;
      case EtatAdresse::Libre:
        break;
    }
    if (!serveur_->listen(chemin)) {
      if (serveur_->serverError() == QAbstractSocket::AddressInUseError) continue;  // just taken
      Signale(QStringLiteral("Serveur de macros non démarré à « %1 » : %2")
                  .arg(chemin, serveur_->errorString()));
      return false;
    }
    if (::chmod(QFile::encodeName(chemin).constData(), S_IRUSR | S_IWUSR) != 0) {
      Signale(QStringLiteral("Serveur de macros non démarré : « %1 » ne peut être réservé à "
                             "l'utilisateur")
                  .arg(chemin));
      serveur_->close();
      return false;
    }
    if (n > 1)
      Signale(QStringLiteral("Serveur de macros : une autre copie du programme répond à « %1 » ; "
                             "celle-ci écoute à « %2 »")
                  .arg(premier, chemin));
    return true;
  }
  Signale(QStringLiteral("Serveur de macros non démarré : toutes les adresses « %1-… » sont prises")
              .arg(premier));
  return false;
}

void ServeurMacro::Accepte() {
  while (QLocalSocket *socket = serveur_->nextPendingConnection()) {
    // Qt reads no further than this before the request has been looked at
    socket->setReadBufferSize(TailleMaxRequete);
    auto *c = new ConnexionMacro(socket);
    connect(socket, &QLocalSocket::readyRead, c, [this, c] { Protege([&] { Lit(*c); }); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    c->minuterie.setSingleShot(true);
    connect(&c->minuterie, &QTimer::timeout, c, [this, c] {
      Protege([&] {
        if (!c->tampon.empty()) c->Repond("NAK\n");
        Ferme(*c);
      });
    });
    c->minuterie.start(delaiClientMs);
    if (socket->bytesAvailable() > 0) Lit(*c);
    if (socket->state() == QLocalSocket::UnconnectedState) socket->deleteLater();
  }
}

void ServeurMacro::Lit(ConnexionMacro &c) {
  if (c.fermee) return;
  const QByteArray lu = c.socket->readAll();
  c.tampon.append(lu.constData(), std::size_t(lu.size()));
  std::vector<std::string> lignes;
  while (true) {
    switch (ExtraitRequete(c.tampon, lignes, std::size_t(TailleMaxRequete))) {
      case EtatRequete::Incomplete:
        return;
      case EtatRequete::TropGrande:
        c.Repond("NAK\n");
        Ferme(c);
        return;
      case EtatRequete::Complete:
        break;
    }
    if (boiteEnCours_) {  // never two boxes, never one inside another
      c.Repond("NAK\n");
      continue;
    }
    c.Repond("ACK\n");
    c.minuterie.start(delaiClientMs);  // the next request has its own time
    Execute(lignes);
  }
}

void ServeurMacro::Ferme(ConnexionMacro &c) {
  c.fermee = true;
  c.tampon.clear();
  c.minuterie.stop();
  c.socket->disconnectFromServer();  // what is written still goes out first
  if (c.socket->state() == QLocalSocket::UnconnectedState) c.socket->deleteLater();
}

void ServeurMacro::Execute(const std::vector<std::string> &lignes) {
  const Macro m = LitMacro(lignes);
  try {
    switch (m.fonction) {
      case FonctionMacro::ConfigLoad:
      case FonctionMacro::ConfigSave:
        return;  // a path sent by another process is never acted on
      case FonctionMacro::GetData:
        if (NouvellePage) NouvellePage();
        Focalise();
        return;
      case FonctionMacro::Focus:
        Focalise();
        return;
      case FonctionMacro::Aucune:
        MontreBoite(QString::fromUtf8(m.erreur.data(), qsizetype(m.erreur.size())));
        return;
    }
  } catch (const std::exception &e) {
    MontreBoite(QString::fromUtf8(e.what()));
  }
}

void ServeurMacro::Focalise() {
  if (Focus && Focus() == Focalisation::Impossible)
    MontreBoite(QString::fromUtf8(TexteSyntaxeMacro.data(), qsizetype(TexteSyntaxeMacro.size())));
}

// The box opens from the event loop, not from inside the socket's signal: the
// sockets are read while it is open, and what comes then is refused.
void ServeurMacro::MontreBoite(const QString &texte) {
  boiteEnCours_ = true;
  QTimer::singleShot(0, this, [this, texte] {
    const QPointer<ServeurMacro> vivant(this);
    Protege([&] { BoitesCourantes().Erreur(texte); });
    if (vivant) boiteEnCours_ = false;
  });
}
