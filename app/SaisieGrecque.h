#pragma once
#include <QObject>

// Ctrl+letter types a Greek letter of the symbol font into the focused edit
// (Ctrl+Shift+letter the capital); Ctrl+V pastes, and Ctrl+C / Ctrl+X copy or
// cut when the edit has a selection. Installed on the application.
class SaisieGrecque : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  // The byte that Ctrl+letter types (lettre 0..25 for A..Z), or 0 when the key
  // is left to the edit (paste; copy or cut of a selection).
  static unsigned char Octet(int lettre, bool majuscule, bool selection);

 protected:
  bool eventFilter(QObject *cible, QEvent *e) override;
};

// A hint "court|long": the part before the bar is the tooltip, the part after
// it the long hint that the window caption shows. Without a bar both are the same.
class QWidget;
void DefinitHint(QWidget *w, const QString &hint);
// The caption for a long hint: the hint, or the program's caption when it is empty.
QString LegendePourHint(const QString &longHint);
