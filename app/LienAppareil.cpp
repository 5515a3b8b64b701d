#include "LienAppareil.h"

#include <QSocketNotifier>

#include "Protege.h"

LienAppareil::LienAppareil(AccesGenerateurs &generateurs, Recepteur recoit, QObject *parent)
    : QObject(parent),
      travail_(std::make_unique<TravailAppareil>(generateurs)),
      recoit_(std::move(recoit)),
      notifieur_(new QSocketNotifier(travail_->Reveil(), QSocketNotifier::Read, this)) {
  connect(notifieur_, &QSocketNotifier::activated, this, &LienAppareil::Recoit);
}

LienAppareil::~LienAppareil() { Termine(); }

void LienAppareil::Termine() {
  if (termine_) return;
  termine_ = true;
  notifieur_->setEnabled(false);
  travail_->Termine();
}

// One result per activation: while more wait the descriptor stays readable, so
// the event loop comes back for the next one after whatever else is pending
// (input, painting), and a receiver's box may run a loop of its own meanwhile.
void LienAppareil::Recoit() {
  if (termine_) return;
  if (auto r = travail_->Prend(); r && recoit_) Protege([&] { recoit_(std::move(*r)); });
}
