#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "Attend.h"
#include "BoitesScriptees.h"
#include "ServeurMacro.h"

namespace {

// A client as another program would be: it sends as soon as it is connected.
class Client {
 public:
  Client(const QString &adresse, const QByteArray &envoi = {}) {
    QObject::connect(&socket, &QLocalSocket::connected, [this, envoi] {
      if (!envoi.isEmpty()) socket.write(envoi);
    });
    socket.connectToServer(adresse);
  }
  void Envoie(const QByteArray &b) {
    EXPECT_TRUE(Attend([&] { return socket.state() == QLocalSocket::ConnectedState; }));
    socket.write(b);
  }
  bool Repondu() const {
    return socket.canReadLine() || socket.state() == QLocalSocket::UnconnectedState;
  }
  // The next answer line, empty when the server closed without one.
  QByteArray Reponse() {
    EXPECT_TRUE(Attend([&] { return Repondu(); }));
    return socket.readLine().trimmed();
  }
  bool Ferme() {
    return Attend([&] { return socket.state() == QLocalSocket::UnconnectedState; });
  }
  QLocalSocket socket;
};

// A runtime folder of the test's own; the server reads it from the environment
// as it does in the program.
class ServeurMacroTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dossier.isValid());
    avant = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dossier.path()));
    DefinitBoites(&boites);
  }
  void TearDown() override {
    DefinitBoites(nullptr);
    if (avant.isNull()) qunsetenv("XDG_RUNTIME_DIR");
    else qputenv("XDG_RUNTIME_DIR", avant);
  }
  // A listening server that counts what it is asked to do.
  std::unique_ptr<ServeurMacro> Serveur(Focalisation focalisation = Focalisation::Faite) {
    auto s = std::make_unique<ServeurMacro>(QStringLiteral("zelm"));
    s->Focus = [this, focalisation] {
      ++focus;
      return focalisation;
    };
    s->NouvellePage = [this] { ++pages; };
    EXPECT_TRUE(s->Ecoute());
    return s;
  }
  QString Base() const { return dossier.path() + "/zelm-ServeurDDE"; }

  QTemporaryDir dossier;
  QByteArray avant;
  BoitesScriptees boites;
  int focus = 0, pages = 0;
};


}  // namespace

TEST_F(ServeurMacroTest, ChaqueRequetePriseAAckPuisSonEffetOuSaBoite) {
  const auto serveur = Serveur();
  EXPECT_EQ(serveur->Adresse(), Base());
  const QByteArray longue = "FOCUS(" + QByteArray(250, 'x') + ")";  // 257 characters
  struct Cas {
    QByteArray requete;
    int focus, pages;
    QStringList boites;
  } cas[] = {
      {"focus\n\n", 1, 0, {}},
      {"GETDATA()\n\n", 1, 1, {}},
      {"GETDATA(x\n\n", 1, 1, {}},
      {"GetData\r\n\r\n", 1, 1, {}},
      {"\nFOCUS\n\n", 1, 0, {}},
      {"CONFIG|LOAD(/tmp/autre.zlm)\n\n", 0, 0, {}},
      {"config|save(/tmp/autre.zlm)\n\n", 0, 0, {}},
      {"FOCUS\nGETDATA\n\n", 0, 0, {"Un message à la fois SVP"}},
      {"ABC(1)\n\n", 0, 0, {"Fonction inconnue : ABC(1)"}},
      {"<b>é</b>\r\n\r\n", 0, 0, {"Fonction inconnue : <b>é</b>"}},
      {longue + "\n\n", 0, 0, {"Syntaxe Macro DDE : Fonction(Paramètre)"}},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.requete.constData());
    focus = pages = 0;
    boites.vues.clear();
    Client client(serveur->Adresse(), c.requete);
    EXPECT_EQ(client.Reponse(), "ACK");
    QCoreApplication::processEvents();  // the box, if any, opens from the loop
    EXPECT_EQ(focus, c.focus);
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(boites.Textes(), c.boites);
  }
}

TEST_F(ServeurMacroTest, UneFenetreQuiNePeutPrendreLeFocus) {
  struct Cas {
    Focalisation focalisation;
    QByteArray requete;
    int pages;
    QStringList boites;
  } cas[] = {
      {Focalisation::Impossible, "FOCUS\n\n", 0, {"Syntaxe Macro DDE : Fonction(Paramètre)"}},
      {Focalisation::Impossible, "GETDATA\n\n", 1, {"Syntaxe Macro DDE : Fonction(Paramètre)"}},
      {Focalisation::Sautee, "FOCUS\n\n", 0, {}},  // a modal dialog is up: no box
      {Focalisation::Sautee, "GETDATA\n\n", 1, {}},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.requete.constData());
    focus = pages = 0;
    boites.vues.clear();
    const auto serveur = Serveur(c.focalisation);
    Client client(serveur->Adresse(), c.requete);
    EXPECT_EQ(client.Reponse(), "ACK");
    QCoreApplication::processEvents();
    EXPECT_EQ(focus, 1);
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(boites.Textes(), c.boites);
  }
}

TEST_F(ServeurMacroTest, UneExceptionDuGestionnaireDevientUneBoiteEtLeServeurContinue) {
  const auto serveur = Serveur();
  serveur->NouvellePage = [] { throw std::runtime_error("Page refusée"); };
  Client client(serveur->Adresse(), "GETDATA\n\n");
  EXPECT_EQ(client.Reponse(), "ACK");
  EXPECT_TRUE(Attend([&] { return !boites.vues.empty(); }));
  EXPECT_EQ(boites.Textes(), QStringList{"Page refusée"});
  EXPECT_EQ(focus, 0);  // the focus came after the page
  client.Envoie("FOCUS\n\n");
  EXPECT_EQ(client.Reponse(), "ACK");
  EXPECT_EQ(focus, 1);
}

namespace {

// Error boxes that stay open: each runs `pendant` inside its own event loop,
// as a real modal box would.
class BoitesOuvertes final : public Boites {
 public:
  std::function<void()> pendant;
  QStringList erreurs;
  void Message(const QString &) override {}
  void Erreur(const QString &texte) override {
    erreurs << texte;
    if (pendant) pendant();
  }
  bool Confirme(const QString &) override { return true; }
  bool ConfirmeOkAnnuler(const QString &) override { return true; }
  bool Execute(QDialog &) override { return true; }
};

}  // namespace

TEST_F(ServeurMacroTest, PendantQuUneBoiteEstOuverteLesRequetesOntNak) {
  BoitesOuvertes ouvertes;
  DefinitBoites(&ouvertes);
  const auto serveur = Serveur();
  Client premier(serveur->Adresse());
  Client autre(serveur->Adresse());
  QList<QByteArray> pendant;
  ouvertes.pendant = [&] {
    if (!pendant.isEmpty()) return;  // a second box would be the fault itself: keep it shallow
    pendant << premier.Reponse();  // out before the box
    autre.Envoie("FOCUS\n\n");
    pendant << autre.Reponse();
    premier.Envoie("ABC(2)\n\n");  // the same client as the box's request
    pendant << premier.Reponse();
    autre.Envoie("\n\nFOCUS\n");  // a request on its way is read as usual
    QCoreApplication::processEvents();
    pendant << (autre.Repondu() ? "?" : "-");
  };
  premier.Envoie("ABC(1)\n\n");
  ASSERT_TRUE(Attend([&] { return !ouvertes.erreurs.empty(); }));
  EXPECT_EQ(pendant, (QList<QByteArray>{"ACK", "NAK", "NAK", "-"}));
  EXPECT_EQ(ouvertes.erreurs, QStringList{"Fonction inconnue : ABC(1)"});  // one box, not two
  EXPECT_EQ(focus, 0);
  // the box closed: the same clients are answered again
  autre.Envoie("\n");
  EXPECT_EQ(autre.Reponse(), "ACK");
  EXPECT_EQ(focus, 1);
  ouvertes.pendant = nullptr;
  premier.Envoie("ABC(3)\n\n");
  EXPECT_EQ(premier.Reponse(), "ACK");
  EXPECT_TRUE(Attend([&] { return ouvertes.erreurs.size() == 2; }));
  EXPECT_EQ(ouvertes.erreurs.last(), "Fonction inconnue : ABC(3)");
}

TEST_F(ServeurMacroTest, UneRequeteTropGrandeANakEtLaConnexionFermee) {
  const auto serveur = Serveur();
  serveur->delaiClientMs = 3600 * 1000;  // closed at once, not for being slow
  struct Cas {
    QByteArray requete;
    QByteArray reponse;
    bool ferme;
  } cas[] = {
      {"FOCUS(" + QByteArray(4096 - 9, 'x') + ")\n\n", "ACK", false},  // 4096 bytes in all
      {"FOCUS(" + QByteArray(4096 - 8, 'x') + ")\n\n", "NAK", true},
      {"FOCUS(" + QByteArray(4096 - 8, 'x') + ")\r\n\r\n", "NAK", true},
      {QByteArray(5000, 'x'), "NAK", true},  // no line at all
      {QByteArray(200000, '\n') + "FOCUS\n", "", false},  // empty lines are not a request
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.requete.size());
    Client client(serveur->Adresse(), c.requete);
    if (c.reponse.isEmpty()) {
      client.Envoie("\n");
      EXPECT_EQ(client.Reponse(), "ACK");
      continue;
    }
    EXPECT_EQ(client.Reponse(), c.reponse);
    if (c.ferme) {
      EXPECT_TRUE(client.Ferme());
    } else {
      EXPECT_EQ(client.socket.state(), QLocalSocket::ConnectedState);
    }
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(focus, 1);  // only the last one's
  EXPECT_EQ(boites.Textes(), QStringList{"Syntaxe Macro DDE : Fonction(Paramètre)"});
}

TEST_F(ServeurMacroTest, UnClientTropLentEstCongedie) {
  const auto serveur = Serveur();
  serveur->delaiClientMs = 50;
  Client lent(serveur->Adresse(), "FOCUS\n");  // never ends its request
  Client muet(serveur->Adresse());
  Client vif(serveur->Adresse(), "FOC");
  QCoreApplication::processEvents();
  vif.Envoie("US\n\n");
  EXPECT_EQ(vif.Reponse(), "ACK");
  EXPECT_EQ(lent.Reponse(), "NAK");
  EXPECT_TRUE(lent.Ferme());
  EXPECT_TRUE(muet.Ferme());
  EXPECT_FALSE(muet.socket.canReadLine());  // nothing to refuse: just dropped
  EXPECT_EQ(focus, 1);
}

// Timers of the event loop, with wide margins: a request gives its client a
// new delay, so a client that keeps talking is not cut off.
TEST_F(ServeurMacroTest, ChaqueRequeteDonneUnNouveauDelai) {
  const auto serveur = Serveur();
  serveur->delaiClientMs = 1500;
  Client client(serveur->Adresse());
  QList<QByteArray> reponses;
  QTimer::singleShot(900, [&] { client.socket.write("FOCUS\n\n"); });
  QTimer::singleShot(1800, [&] { client.socket.write("FOCUS\n\n"); });
  EXPECT_TRUE(Attend([&] {
    while (client.socket.canReadLine()) reponses << client.socket.readLine().trimmed();
    return reponses.size() == 2 || client.socket.state() == QLocalSocket::UnconnectedState;
  }));
  EXPECT_EQ(reponses, (QList<QByteArray>{"ACK", "ACK"}));
  EXPECT_EQ(focus, 2);
}

TEST_F(ServeurMacroTest, MilleRequetesFautivesPuisUneBonne) {
  const auto serveur = Serveur();
  const QByteArray fautives[] = {"ABC(1)\n\n", "FOCUS\nFOCUS\n\n",
                                 "FOCUS(" + QByteArray(300, 'y') + ")\n\n", "\x01\xff(\n\n",
                                 ")(\r\n\r\n"};
  // four clients send 200 malformed requests each at once, 200 more one oversized each
  std::vector<std::unique_ptr<Client>> bavards, gros;
  for (int i = 0; i < 4; ++i) {
    QByteArray envoi;
    for (int k = 0; k < 200; ++k) envoi += fautives[(i + k) % 5];
    bavards.push_back(std::make_unique<Client>(serveur->Adresse(), envoi));
  }
  for (int i = 0; i < 200; ++i)
    gros.push_back(std::make_unique<Client>(serveur->Adresse(), QByteArray(4097 + i, 'z')));
  for (auto &g : gros) {
    EXPECT_EQ(g->Reponse(), "NAK");
    EXPECT_TRUE(g->Ferme());
  }
  // one answer each; NAK for those that came while a box was pending
  qsizetype acks = 0;
  for (auto &b : bavards) {
    EXPECT_TRUE(Attend([&] { return b->socket.bytesAvailable() >= 200 * 4; }));
    const QList<QByteArray> reponses = b->socket.readAll().split('\n');
    EXPECT_EQ(reponses.count("ACK") + reponses.count("NAK"), 200);
    EXPECT_GE(reponses.count("ACK"), 1);
    acks += reponses.count("ACK");
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(qsizetype(boites.vues.size()), acks);  // every request taken has its box
  for (const auto &v : boites.vues)
    EXPECT_TRUE(v.texte.startsWith("Fonction inconnue : ") || v.texte == "Un message à la fois SVP" ||
                v.texte == "Syntaxe Macro DDE : Fonction(Paramètre)")
        << v.texte.toStdString();
  Client bon(serveur->Adresse(), "GETDATA\n\n");
  EXPECT_EQ(bon.Reponse(), "ACK");
  EXPECT_EQ(focus, 1);
  EXPECT_EQ(pages, 1);
}

TEST_F(ServeurMacroTest, UneSecondeCopiePrendLAdresseSuivanteEtLaissePremiereJoignable) {
  const auto premier = Serveur();
  testing::internal::CaptureStderr();
  ServeurMacro second(QStringLiteral("zelm")), troisieme(QStringLiteral("zelm"));
  int focusSecond = 0;
  second.Focus = [&] {
    ++focusSecond;
    return Focalisation::Faite;
  };
  ASSERT_TRUE(second.Ecoute());
  ASSERT_TRUE(troisieme.Ecoute());
  const std::string erreurs = testing::internal::GetCapturedStderr();
  EXPECT_EQ(premier->Adresse(), Base());
  EXPECT_EQ(second.Adresse(), Base() + "-2");
  EXPECT_EQ(troisieme.Adresse(), Base() + "-3");
  EXPECT_NE(erreurs.find("écoute à « " + (Base() + "-2").toStdString() + " »"), std::string::npos)
      << erreurs;
  EXPECT_NE(erreurs.find("-3 »"), std::string::npos) << erreurs;

  Client versPremier(Base(), "FOCUS\n\n");
  EXPECT_EQ(versPremier.Reponse(), "ACK");
  Client versSecond(Base() + "-2", "FOCUS\n\n");
  EXPECT_EQ(versSecond.Reponse(), "ACK");
  EXPECT_EQ(focus, 1);
  EXPECT_EQ(focusSecond, 1);
}

namespace {

// A socket file that nobody listens at any more, as a copy that was killed leaves.
void SocketAbandonne(const QString &chemin) {
  const QByteArray nom = QFile::encodeName(chemin);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::copy(nom.begin(), nom.end(), a.sun_path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
  ::close(fd);
}

}  // namespace

TEST_F(ServeurMacroTest, UnSocketAbandonneEstRepris) {
  SocketAbandonne(Base());
  SocketAbandonne(Base() + "-2");
  const auto serveur = Serveur();
  EXPECT_EQ(serveur->Adresse(), Base());
  Client client(Base(), "FOCUS\n\n");
  EXPECT_EQ(client.Reponse(), "ACK");
  EXPECT_EQ(focus, 1);
}

TEST_F(ServeurMacroTest, UnFichierQuiNEstPasUnSocketEstLaisse) {
  QFile fichier(Base());
  ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
  fichier.write("à garder");
  fichier.close();
  testing::internal::CaptureStderr();
  const auto serveur = Serveur();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(serveur->Adresse(), Base() + "-2");
  ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
  EXPECT_EQ(fichier.readAll(), "à garder");
}

TEST_F(ServeurMacroTest, SeulLUtilisateurAccedeAuSocket) {
  const auto serveur = Serveur();
  struct stat socket {}, dossierSt {};
  ASSERT_EQ(::stat(QFile::encodeName(serveur->Adresse()).constData(), &socket), 0);
  ASSERT_EQ(::stat(QFile::encodeName(dossier.path()).constData(), &dossierSt), 0);
  EXPECT_TRUE(S_ISSOCK(socket.st_mode));
  EXPECT_EQ(socket.st_mode & 077, 0u) << std::oct << socket.st_mode;
  EXPECT_EQ(dossierSt.st_mode & 077, 0u) << std::oct << dossierSt.st_mode;
  EXPECT_EQ(socket.st_uid, ::geteuid());
}

TEST_F(ServeurMacroTest, LaCommandeDuReadmeRecoitAck) {
  QFile readme(QStringLiteral(ZELM_RACINE "/README.md"));
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
  const QString texte = QString::fromUtf8(readme.readAll());
  const qsizetype section = texte.indexOf("## Sending a macro from a shell");
  ASSERT_GE(section, 0);
  QString commande;
  for (const QString &ligne : texte.mid(section).split('\n'))
    if (ligne.contains("socat ")) {
      commande = ligne;
      break;
    }
  ASSERT_FALSE(commande.isEmpty());
  const auto serveur = Serveur();
  QProcess sh;
  sh.start(QStringLiteral("sh"), {QStringLiteral("-c"), commande});
  ASSERT_TRUE(Attend([&] { return sh.state() == QProcess::NotRunning; }));
  EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();
  EXPECT_EQ(sh.readAllStandardOutput(), "ACK\n");
  EXPECT_EQ(focus, 1);
}
