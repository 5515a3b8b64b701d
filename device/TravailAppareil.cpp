#include "TravailAppareil.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>

#include "Horloge.h"
#include "TableCaracteres.h"

TravailAppareil::TravailAppareil(AccesGenerateurs &generateurs)
    : generateurs_(generateurs), reveil_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  fil_ = std::thread([this] { Boucle(); });
}

TravailAppareil::~TravailAppareil() {
  Termine();
  if (reveil_ >= 0) close(reveil_);
}

void TravailAppareil::Envoie(std::function<void()> commande) {
  {
    const std::lock_guard verrou(mutex_);
    if (fin_) return;
    file_.push_back(std::move(commande));
  }
  commandes_.notify_one();
}

void TravailAppareil::Publie(ResultatAppareil r) {
  const std::lock_guard verrou(mutex_);
  resultats_.push_back(std::move(r));
  const uint64_t un = 1;
  // the counter only says "something waits"; it cannot fill up at this rate
  [[maybe_unused]] const ssize_t n = write(reveil_, &un, sizeof un);
}

std::optional<ResultatAppareil> TravailAppareil::Prend() {
  const std::lock_guard verrou(mutex_);
  if (resultats_.empty()) {
    // readiness is cleared only with the queue empty, under the same lock as Publie
    uint64_t compte;
    [[maybe_unused]] const ssize_t n = read(reveil_, &compte, sizeof compte);
    return std::nullopt;
  }
  ResultatAppareil r = std::move(resultats_.front());
  resultats_.pop_front();
  return r;
}

bool TravailAppareil::AttendResultat(int ms) {
  {
    const std::lock_guard verrou(mutex_);
    if (!resultats_.empty()) return true;
  }
  pollfd p{reveil_, POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}

void TravailAppareil::Termine() {
  {
    const std::lock_guard verrou(mutex_);
    fin_ = true;
  }
  annule_ = true;
  commandes_.notify_all();
  if (fil_.joinable() && fil_.get_id() != std::this_thread::get_id()) fil_.join();
}

void TravailAppareil::Boucle() {
  for (;;) {
    std::function<void()> commande;
    {
      std::unique_lock verrou(mutex_);
      if (!armee_ || Annule())
        commandes_.wait(verrou, [this] { return !file_.empty() || fin_; });
      if (!file_.empty()) {
        commande = std::move(file_.front());
        file_.pop_front();
      } else if (fin_) {
        break;
      }
    }
    try {
      if (commande) commande();
      else if (armee_ && !Annule()) Regarde();
      SurveilleDebranchement();
    } catch (const std::exception &e) {
      armee_ = false;
      Publie(ErreurAppareil{e.what()});
    }
  }
  // freed here: the model stops the device and closes its handle on this thread
  oscillo_.reset();
}

void TravailAppareil::Regarde() {
  TOscillo &o = *oscillo_;
  int avant;
  do {
    avant = o.NbEchantillons();
    o.LitDonnees();
  } while (o.NbEchantillons() > avant && o.NbEchantillons() < TOscillo::NbEchantillonsMax);
  if (o.NbEchantillons() >= TOscillo::NbEchantillonsMax) {
    o.Stoppe();
    armee_ = false;
    Trame t;
    t.numero = numero_;
    t.reglages = o.ReglagesTrame();
    t.nbEchantillons = o.NbEchantillons();
    t.nbPoints = o.NbPoints();
    for (auto *v : {&t.temps, &t.tension1, &t.tension2}) v->resize(TOscillo::TailleTableaux);
    o.CalculeSignaux(t.temps.data(), t.tension1.data(), t.tension2.data());
    Publie(std::move(t));
    return;
  }
  if (!o.EstConnecte()) {
    armee_ = false;  // nothing will come: the window stays armed, this thread rests
    return;
  }
  Attendre(IntervalleMs);
}

void TravailAppareil::PublieEtat(EtatConnexion e) {
  if (!e.diagnostic.empty()) std::fprintf(stderr, "zelm: %s\n", VersUtf8(e.diagnostic).c_str());
  Publie(std::move(e));
}

void TravailAppareil::PublieConnexion() {
  TOscillo &o = *oscillo_;
  std::string version = o.EstConnecte() ? o.Version() : std::string();
  // the version query itself may find the device gone
  if (!o.EstConnecte()) PublieEtat({false, {}, o.PrendDebranchement(), o.Diagnostic()});
  else PublieEtat({true, std::move(version), false, {}});
}

// Whatever device call found the device gone, the window hears it once; an arming
// under way ends there.
void TravailAppareil::SurveilleDebranchement() {
  if (!oscillo_ || !oscillo_->PrendDebranchement()) return;
  armee_ = false;
  PublieEtat({false, {}, true, oscillo_->Diagnostic()});
}

void TravailAppareil::Ouvre() {
  Envoie([this] {
    if (!oscillo_) {
      oscillo_ = std::make_unique<TOscillo>();
      oscillo_->Interrompu = [this] { return Annule(); };
    }
    PublieConnexion();
  });
}

void TravailAppareil::Connecte() {
  Envoie([this] {
    if (!oscillo_) return;
    oscillo_->Connecte(true);
    PublieConnexion();
  });
}

void TravailAppareil::ArmeMaintenant(uint32_t numero, const ReglagesAcquis &reglages) {
  if (!oscillo_ || Annule()) return;
  TOscillo &o = *oscillo_;
  o.SetAlim(true);
  o.Regle(reglages);
  o.Lance();
  numero_ = numero;
  armee_ = o.EstConnecte();
}

void TravailAppareil::Arme(uint32_t numero, const ReglagesAcquis &reglages) {
  Envoie([this, numero, reglages] { ArmeMaintenant(numero, reglages); });
}

void TravailAppareil::Arrete() {
  arretEnVue_ = true;
  Envoie([this] {
    arretEnVue_ = false;
    armee_ = false;
    if (oscillo_) oscillo_->Stoppe();
  });
}

void TravailAppareil::Balaye(GenreGenerateur g, double f, int delaiMs, uint32_t numero,
                             const ReglagesAcquis &reglages) {
  Envoie([this, g, f, delaiMs, numero, reglages] {
    if (Annule()) return;
    armee_ = false;  // a frame under way would mix two frequencies
    generateurs_.Stoppe(g);
    generateurs_.SetFrequence(g, f);
    generateurs_.CalculeTable(g);
    if (!generateurs_.Lance(g) && g != GenreGenerateur::Aucun) Publie(GenerateurPerdu{g});
    for (int ecoule = 0; ecoule < delaiMs; ecoule += IntervalleMs) {
      if (Annule() || arretEnVue_) return;
      Attendre(std::min(IntervalleMs, delaiMs - ecoule));
    }
    ArmeMaintenant(numero, reglages);
  });
}

void TravailAppareil::CoupeAlim() {
  Envoie([this] {
    if (oscillo_) oscillo_->SetAlim(false);
  });
}

void TravailAppareil::CorrigeDecalage(const ReglagesAcquis &reglages) {
  Envoie([this, reglages] {
    if (!oscillo_ || Annule()) return;
    armee_ = false;
    oscillo_->Regle(reglages);
    const bool reussi = oscillo_->CorrigeDecalage();
    Publie(DecalageCorrige{reussi, oscillo_->Correction()});
  });
}

void TravailAppareil::SetCorrection(const TOscillo::TableCorrection &t) {
  Envoie([this, t] {
    if (oscillo_) oscillo_->SetCorrection(t);
  });
}

void TravailAppareil::DetecteGenerateur() {
  Envoie([this] {
    if (Annule()) return;
    Publie(GenerateurTrouve{::DetecteGenerateur(generateurs_)});
  });
}

void TravailAppareil::StoppeGenerateur(GenreGenerateur g) {
  Envoie([this, g] { generateurs_.Stoppe(g); });
}

void TravailAppareil::ReglerGenerateur(GenreGenerateur g, double f) {
  Envoie([this, g, f] {
    if (Annule()) return;
    generateurs_.Stoppe(g);
    generateurs_.SetFrequence(g, f);
    generateurs_.CalculeTable(g);
    generateurs_.Lance(g);
  });
}

void TravailAppareil::SetAmplitude(GenreGenerateur g, double crete) {
  Envoie([this, g, crete] { generateurs_.SetAmplitude(g, crete); });
}

void TravailAppareil::Execute(std::function<void(TOscillo *)> f) {
  Envoie([this, f = std::move(f)] { f(oscillo_.get()); });
}
