#include "SaisieGrecque.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "TableCaracteres.h"

unsigned char SaisieGrecque::Octet(int lettre, bool majuscule, bool selection) {
  if (lettre < 0 || lettre > 25) return 0;
  if (majuscule) return GrecMajuscules[lettre];
  if (lettre == 'V' - 'A') return 0;
  if ((lettre == 'C' - 'A' || lettre == 'X' - 'A') && selection) return 0;
  return GrecMinuscules[lettre];
}

bool SaisieGrecque::eventFilter(QObject *cible, QEvent *e) {
  if (e->type() != QEvent::KeyPress) return false;
  auto *touche = static_cast<QKeyEvent *>(e);
  const auto mods = touche->modifiers();
  if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier)))
    return false;
  const int k = touche->key();
  if (k < Qt::Key_A || k > Qt::Key_Z) return false;
  auto *edit = qobject_cast<QLineEdit *>(cible);
  if (!edit || edit->isReadOnly()) return false;
  // Caps Lock is bit 1 of the native modifier state on X11 and Wayland alike
  const bool verrouMaj = touche->nativeModifiers() & 0x2;
  const unsigned char octet = Octet(k - Qt::Key_A, (mods & Qt::ShiftModifier) || verrouMaj,
                                    edit->hasSelectedText());
  if (octet == 0) return false;  // the edit's own paste, copy or cut
  edit->insert(QString(QChar(static_cast<char16_t>(CodeUnicode(octet)))));
  return true;
}

void DefinitHint(QWidget *w, const QString &hint) {
  const qsizetype barre = hint.indexOf(QLatin1Char('|'));
  w->setToolTip(barre < 0 ? hint : hint.left(barre));
  w->setStatusTip(barre < 0 ? hint : hint.mid(barre + 1));
}

QString LegendePourHint(const QString &longHint) {
  return longHint.isEmpty() ? QStringLiteral("Diagramme de Zelm avec Oscillo Quilo USB")
                            : longHint;
}
