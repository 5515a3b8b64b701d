#pragma once
// The main window on the virtual bench, on virtual time, with scripted boxes.
// The device thread runs on the bench's virtual time: a test waits for what it
// reports (event loop, no sleep) and never advances the clock itself.
#include <QApplication>
#include <QTimer>
#include <future>
#include <functional>
#include <memory>

#include "AccesGenerateurs.h"
#include "Attend.h"
#include "BoitesScriptees.h"
#include "Circuits.h"
#include "Controles.h"
#include "LienAppareil.h"
#include "SurLeBanc.h"
#include "Sources.h"
#include "TZelmMainForm.h"

// A circuit whose output is 0 V: "nothing on channel 2".
class Masse final : public Circuit {
 public:
  void Reinitialise() override {}
  double Pas(double, double, double) override { return 0; }
  double PasMaximal() const override { return 1; }
  double DureeEtablissement() const override { return 0; }
  double GainContinu() const override { return 0; }
};

// Activations come only from the test: a window manager's would arm at random moments.
class SansActivation final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject *, QEvent *e) override { return e->type() == QEvent::WindowActivate; }
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
  void Ouvre(AccesGenerateurs *g = nullptr) {
    f.reset();
    f = std::make_unique<TZelmMainForm>(g ? *g : sansGenerateur, dossier);
    f->installEventFilter(new SansActivation(f.get()));
    f->Termine = [this] { ++termine; };
    f->show();
    ASSERT_TRUE(Attend([this] { return f->ConnexionConnue(); }));
  }
  // A control of the window by its name.
  template <class T>
  T *C(const char *nom) {
    T *c = f->findChild<T *>(QString::fromLatin1(nom));
    EXPECT_NE(c, nullptr) << nom;
    return c;
  }
  // Until the window has processed `n` more frames (a held frame processed again counts).
  bool Trames(int n = 1) {
    const int but = f->Cycle().NbTraitements() + n;
    return Attend([&] { return f->Cycle().NbTraitements() >= but; });
  }
  // Lets the window process what the device thread has reported so far, and what
  // it reports until the thread is idle or waiting (runs queued commands first).
  void Calme() {
    std::promise<void> p;
    f->Appareil().Travail().Execute([&](TOscillo *) { p.set_value(); });
    p.get_future().wait();
    QCoreApplication::processEvents();
  }
  void Signal(std::shared_ptr<const Source> s, std::shared_ptr<Circuit> c = nullptr) {
    Banc().DefinitSource(std::move(s));
    Banc().DefinitCircuit(std::move(c));
  }

  SansGenerateur sansGenerateur;
  BoitesScriptees boites;
  std::unique_ptr<TZelmMainForm> f;
  int termine = 0;
  std::string dossier;  // the data folder of the next window opened; empty: no settings file
};
