#include "ApplicationZelm.h"

#include <exception>

#include "Protege.h"

// The last resort: the program's own handlers catch what they let out (Protege)
// before it reaches the toolkit; whatever else comes this far is shown the same way.
bool ApplicationZelm::notify(QObject *cible, QEvent *e) {
  try {
    return QApplication::notify(cible, e);
  } catch (const std::exception &x) {
    MontreException(x);
  } catch (...) {
    BoitesCourantes().Erreur(QStringLiteral("Erreur inconnue"));
  }
  return false;
}
