#include "ServicesZelm.h"

#include <QDir>

#include "Boites.h"
#include "ZelmUtil.h"

std::string InitialiseDossierTabulo(const QString &documents) {
  const QString dossier = QDir(documents).filePath(QStringLiteral("Tabulo"));
  QDir().mkpath(dossier);
  return AvecSeparateur(dossier.toStdString());
}

void FixeSeparateurDepuisLocale(const QLocale &locale) {
  const QString point = locale.decimalPoint();
  FixeSeparateurDecimal(point.size() == 1 && point[0].unicode() < 0x80
                            ? char(point[0].unicode())
                            : '.');
}

bool Confirme(const QString &message) { return BoitesCourantes().Confirme(message); }
void AfficheErreur(const QString &message) { BoitesCourantes().Erreur(message); }
