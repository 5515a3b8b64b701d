#include "GenerateurVirtuel.h"

#include <algorithm>
#include <cmath>

#include "HorlogeBanc.h"

namespace {

int32_t LitEntier32(const uint8_t *p) {
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = u << 8 | p[i];
  return static_cast<int32_t>(u);
}

// The reload register is 16 bits wide; 0 leaves the clock undivided.
int32_t Diviseur(int32_t recharge) {
  const int32_t registre = recharge & 0xFFFF;
  return registre == 0 ? 1 : 65536 - registre;
}

}  // namespace

GenerateurVirtuel::GenerateurVirtuel(const ModeleGenerateurVirtuel &modele, BancVirtuel &banc)
    : modele_(modele), horloge_(banc.Horloge()), verrou_(banc.Verrou()) {}

double GenerateurVirtuel::Volts(int32_t code) const {
  // The DAC takes no code beyond its range.
  code = std::clamp(code, 0, modele_.codeMax);
  return modele_.signe * (code - modele_.codeZero) * modele_.etendue / modele_.codeMax;
}

bool GenerateurVirtuel::Lance(const uint8_t *enregistrement) {
  std::lock_guard verrou(verrou_);
  if (branchement_ == 0) return false;
  const int32_t points = LitEntier32(enregistrement);
  const uint8_t indexHorloge = enregistrement[4];
  if (points < 1 || points > PointsEnregistrementMax || indexHorloge >= modele_.horloges.size())
    return false;
  periode_.resize(points);
  double somme = 0;
  for (int32_t i = 0; i < points; ++i) {
    periode_[i] = Volts(LitEntier32(enregistrement + 12 + 4 * i));
    somme += periode_[i];
  }
  moyenne_ = somme / points;
  cadence_ = modele_.horloges[indexHorloge] / Diviseur(LitEntier32(enregistrement + 8));
  origine_ = horloge_.Maintenant();
  enMarche_ = true;
  return true;
}

void GenerateurVirtuel::Stoppe() {
  std::lock_guard verrou(verrou_);
  enMarche_ = false;
}

void GenerateurVirtuel::Debranche(bool debranche) {
  std::lock_guard verrou(verrou_);
  if (debranche) {
    enMarche_ = false;
    branchement_ = 0;
  } else if (branchement_ == 0) {
    branchement_ = ++branchements_;
  }
}

uint32_t GenerateurVirtuel::Branchement() const {
  std::lock_guard verrou(verrou_);
  return branchement_;
}

bool GenerateurVirtuel::EnMarche() const {
  std::lock_guard verrou(verrou_);
  return enMarche_;
}

double GenerateurVirtuel::Frequence() const {
  std::lock_guard verrou(verrou_);
  return enMarche_ ? cadence_ / static_cast<double>(periode_.size()) : 0;
}

double GenerateurVirtuel::Tension(double t) const {
  std::lock_guard verrou(verrou_);
  if (!enMarche_) return 0;
  const double n = static_cast<double>(periode_.size());
  // The table repeats before the start too, so a circuit settled from earlier
  // times sees the same steady signal.
  double position = std::fmod(std::floor((t - origine_) * cadence_), n);
  if (position < 0) position += n;
  return periode_[static_cast<std::size_t>(position)];
}

double GenerateurVirtuel::Moyenne() const {
  std::lock_guard verrou(verrou_);
  return enMarche_ ? moyenne_ : 0;
}

// A hundred straight pieces per period, never finer than one point of the table.
double GenerateurVirtuel::PasMaximal() const {
  std::lock_guard verrou(verrou_);
  if (!enMarche_) return 1.0;
  return std::max(1 / cadence_, 0.01 / Frequence());
}

SignalGenerateur::SignalGenerateur(std::shared_ptr<const GenerateurVirtuel> generateur,
                                   std::shared_ptr<const Source> remplacant)
    : generateur_(std::move(generateur)), remplacant_(std::move(remplacant)) {}

const Source *SignalGenerateur::Actif() const {
  if (generateur_->EnMarche() || !remplacant_) return generateur_.get();
  return remplacant_.get();
}

double SignalGenerateur::Tension(double t) const { return Actif()->Tension(t); }
double SignalGenerateur::Moyenne() const { return Actif()->Moyenne(); }
double SignalGenerateur::PasMaximal() const { return Actif()->PasMaximal(); }

std::shared_ptr<GenerateurVirtuel> BrancheGenerateur(BancVirtuel &banc,
                                                     const ModeleGenerateurVirtuel &modele,
                                                     std::shared_ptr<const Source> remplacant) {
  std::lock_guard verrou(banc.Verrou());  // plugged in and made the signal in one step
  auto generateur = std::make_shared<GenerateurVirtuel>(modele, banc);
  banc.Branche(modele.noms[0], generateur);
  banc.DefinitSource(std::make_shared<SignalGenerateur>(generateur, std::move(remplacant)));
  return generateur;
}
