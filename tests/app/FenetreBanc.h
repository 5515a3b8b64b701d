#pragma once
// The main window on the virtual bench, on virtual time, with scripted boxes.
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

#include "SurLeBanc.h"
#include "Boites.h"
#include "Circuits.h"
#include "Sources.h"
#include "TZelmMainForm.h"
#include "CycleAcquisition.h"

// A circuit whose output is 0 V: "nothing on channel 2".
class Masse final : public Circuit {
 public:
  void Reinitialise() override {}
  double Pas(double, double, double) override { return 0; }
  double PasMaximal() const override { return 1; }
  double DureeEtablissement() const override { return 0; }
  double GainContinu() const override { return 0; }
};

class FenetreBanc : public SurLeBanc {
 protected:
  explicit FenetreBanc(const char *preset = "demo") : SurLeBanc(preset) {}
  void SetUp() override {
    SurLeBanc::SetUp();
    // from a whole second of bench time: the signal's phase at each frame is the same
    // from run to run
    Banc().Horloge().Avance(1'000'000 - Banc().Horloge().MaintenantUs() % 1'000'000);
    DefinitBoites(&boites);
    Ouvre();
  }
  void TearDown() override {
    f.reset();
    DefinitBoites(nullptr);
    SurLeBanc::TearDown();
  }
  void Ouvre(AccesGenerateurs g = {}) {
    f.reset();
    f = std::make_unique<TZelmMainForm>(std::move(g));
    f->ActivationAutomatique = false;
    f->Termine = [this] { ++termine; };
    f->show();
    // ticks are called by hand on bench time; the real timer only says "on"
    ASSERT_EQ(f->Timer->interval(), 100);
    f->Timer->setInterval(24 * 3600 * 1000);
  }
  // One timer tick, a little over 100 ms of bench time after the previous one: a
  // real timer is not locked to the signal's phase.
  void Tick() {
    Banc().Horloge().Avance(100'137);
    if (f->Timer->isActive()) f->Cycle->TimerTimer();
  }
  bool TickJusqua(const std::function<bool()> &fait, int max = 200) {
    for (int i = 0; i < max && !fait(); ++i) Tick();
    return fait();
  }
  void Signal(std::shared_ptr<const Source> s, std::shared_ptr<Circuit> c = nullptr) {
    Banc().DefinitSource(std::move(s));
    Banc().DefinitCircuit(std::move(c));
  }

  BoitesScriptees boites;
  std::unique_ptr<TZelmMainForm> f;
  int termine = 0;
};
