#include "BancVirtuel.h"

#include "Circuits.h"
#include "OscilloVirtuel.h"
#include "Sources.h"

// The bench as the oscilloscope's inputs.
class BancVirtuel::Entrees final : public EntreesOscillo {
 public:
  explicit Entrees(BancVirtuel &banc) : banc_(banc) {}
  double Tension(int entree, double t) override { return banc_.Tension(entree, t); }
  double Moyenne(int entree) const override { return banc_.Moyenne(entree); }

 private:
  BancVirtuel &banc_;
};

BancVirtuel::BancVirtuel() : entrees_(std::make_unique<Entrees>(*this)) {}
BancVirtuel::~BancVirtuel() = default;

void BancVirtuel::DefinitSource(std::shared_ptr<const Source> source) {
  std::lock_guard verrou(verrou_);
  source_ = std::move(source);
  DefinitCircuit(circuit_);
}

std::shared_ptr<const Source> BancVirtuel::SourceCourante() const {
  std::lock_guard verrou(verrou_);
  return source_;
}

void BancVirtuel::DefinitSourceExterne(std::shared_ptr<const Source> source) {
  std::lock_guard verrou(verrou_);
  externe_ = std::move(source);
}

void BancVirtuel::DefinitCircuit(std::shared_ptr<Circuit> circuit) {
  std::lock_guard verrou(verrou_);
  circuit_ = std::move(circuit);
  suivi_.reset();
  if (circuit_ && source_) suivi_ = std::make_unique<SuiviCircuit>(circuit_, source_);
}

void BancVirtuel::Branche(const std::string &nom, std::shared_ptr<AppareilVirtuel> appareil) {
  std::lock_guard verrou(verrou_);
  if (appareil)
    appareils_[nom] = std::move(appareil);
  else
    appareils_.erase(nom);
}

std::shared_ptr<AppareilVirtuel> BancVirtuel::Appareil(const std::string &nom) const {
  std::lock_guard verrou(verrou_);
  const auto it = appareils_.find(nom);
  return it == appareils_.end() ? nullptr : it->second;
}

std::shared_ptr<OscilloVirtuel> BancVirtuel::BrancheOscillo(uint64_t graine) {
  std::lock_guard verrou(verrou_);
  auto oscillo = std::make_shared<OscilloVirtuel>(*entrees_, horloge_, verrou_, graine);
  Branche(NomOscillo, oscillo);
  return oscillo;
}

std::shared_ptr<OscilloVirtuel> BancVirtuel::Oscillo() const {
  std::lock_guard verrou(verrou_);
  return std::dynamic_pointer_cast<OscilloVirtuel>(Appareil(NomOscillo));
}

double BancVirtuel::Tension(int entree, double t) {
  std::lock_guard verrou(verrou_);
  if (entree == EntreesOscillo::Externe && externe_) return externe_->Tension(t);
  if (!source_) return 0;
  if (entree == EntreesOscillo::Voie2 && suivi_) return suivi_->Sortie(t);
  return source_->Tension(t);
}

double BancVirtuel::Moyenne(int entree) const {
  std::lock_guard verrou(verrou_);
  if (entree == EntreesOscillo::Externe && externe_) return externe_->Moyenne();
  if (!source_) return 0;
  const double gain = entree == EntreesOscillo::Voie2 && circuit_ ? circuit_->GainContinu() : 1;
  return gain * source_->Moyenne();
}

void BancVirtuel::Vide() {
  std::lock_guard verrou(verrou_);
  appareils_.clear();
  circuit_.reset();
  suivi_.reset();
  source_.reset();
  externe_.reset();
}

BancVirtuel &Banc() {
  static BancVirtuel banc;
  return banc;
}
