#include "SortieLignes.h"

QString SortieLignes::Ouvre(const QString &chemin) {
  chemin_ = chemin;
  if (chemin.isEmpty()) return {};
  fichier_ = std::make_unique<QSaveFile>(chemin);
  return fichier_->open(QIODevice::WriteOnly) ? QString() : Erreur();
}

void SortieLignes::Ecrit(const QString &ligne) {
  const QByteArray octets = ligne.toUtf8() + '\n';
  ++lignes_;
  if (fichier_) {
    fichier_->write(octets);
  } else {
    std::fwrite(octets.constData(), 1, size_t(octets.size()), stdout);
    std::fflush(stdout);
  }
}

QString SortieLignes::Termine() {
  if (!fichier_) return {};
  if (Points() <= 0) {
    fichier_->cancelWriting();  // a file already there stays as it was
    return {};
  }
  return fichier_->commit() ? QString() : Erreur();
}

QString SortieLignes::Erreur() const {
  return QStringLiteral("impossible d'écrire « %1 » : %2").arg(chemin_, fichier_->errorString());
}
