#pragma once
#include <QObject>
#include <functional>
#include <memory>

#include "TravailAppareil.h"

class QSocketNotifier;

// The device thread as the window sees it: commands go straight to the
// worker's queue, and each result it reports is handed to `recoit` on this
// (the user-interface) thread, from the event loop, never while a command is sent.
class LienAppareil : public QObject {
  Q_OBJECT
 public:
  using Recepteur = std::function<void(ResultatAppareil &&)>;
  LienAppareil(AccesGenerateurs &generateurs, Recepteur recoit, QObject *parent = nullptr);
  ~LienAppareil() override;

  TravailAppareil &Travail() { return *travail_; }
  // Ends the device thread (see TravailAppareil::Termine); results still queued are dropped.
  void Termine();
  // Hands over the next result waiting, if any.
  void Recoit();

 private:
  std::unique_ptr<TravailAppareil> travail_;
  Recepteur recoit_;
  QSocketNotifier *notifieur_;
  bool termine_ = false;
};
