#pragma once
#include <QObject>

class QSocketNotifier;

// Ctrl+C in the terminal, or a polite kill, closes the window as "Quitter" does,
// so that the device is stopped and the settings are kept: the signal only
// writes a byte, and the event loop acts on it.
class SignauxFin : public QObject {
  Q_OBJECT
 public:
  explicit SignauxFin(QObject *parent = nullptr);
  ~SignauxFin() override;

 signals:
  void Fin();

 private:
  QSocketNotifier *notifieur_ = nullptr;
};
