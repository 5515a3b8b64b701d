#include "ApplicationZelm.h"

#include <exception>

#include "Boites.h"

bool ApplicationZelm::notify(QObject *cible, QEvent *e) {
  try {
    return QApplication::notify(cible, e);
  } catch (const std::exception &x) {
    BoitesCourantes().Erreur(QString::fromUtf8(x.what()));
  } catch (...) {
    BoitesCourantes().Erreur(QStringLiteral("Erreur inconnue"));
  }
  return false;
}
