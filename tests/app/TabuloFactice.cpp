// A stand-in for the analysis application: it serves the local channel at its own
// upper-case name + "-ServeurDDE" in the user's runtime folder, as the real one does,
// answers each request ACK (NAK for the commands listed in TABULO_FACTICE_REFUSE,
// comma-separated) and appends each request's lines to the file TABULO_FACTICE_JOURNAL.
// "QUITTE" ends it.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char **argv) {
  QCoreApplication application(argc, argv);
  const QString nom =
      QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toUpper() +
      QStringLiteral("-ServeurDDE");
  const QString adresse =
      QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QLatin1Char('/') + nom;
  const QStringList refusees =
      qEnvironmentVariable("TABULO_FACTICE_REFUSE").split(QLatin1Char(','), Qt::SkipEmptyParts);
  const QString journal = qEnvironmentVariable("TABULO_FACTICE_JOURNAL");
  QLocalServer serveur;
  QLocalServer::removeServer(adresse);
  if (!serveur.listen(adresse)) {
    std::fprintf(stderr, "tabulo_factice : %s\n", serveur.errorString().toLocal8Bit().constData());
    return 1;
  }
  QObject::connect(&serveur, &QLocalServer::newConnection, [&] {
    QLocalSocket *client = serveur.nextPendingConnection();
    auto *recu = new QByteArray;
    QObject::connect(client, &QLocalSocket::disconnected, client, [client, recu] {
      delete recu;
      client->deleteLater();
    });
    QObject::connect(client, &QLocalSocket::readyRead, client, [&, client, recu] {
      *recu += client->readAll();
      qsizetype fin;
      while ((fin = recu->indexOf("\n\n")) >= 0) {
        const QString requete = QString::fromUtf8(recu->left(fin));
        recu->remove(0, fin + 2);
        QFile f(journal);
        if (!journal.isEmpty() && f.open(QIODevice::Append)) f.write(requete.toUtf8() + '\n');
        f.close();
        client->write(refusees.contains(requete) ? "NAK\n" : "ACK\n");
        client->flush();
        if (requete == QLatin1String("QUITTE")) QCoreApplication::quit();
      }
    });
  });
  return QCoreApplication::exec();
}
