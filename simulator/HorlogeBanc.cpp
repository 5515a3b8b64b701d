#include "HorlogeBanc.h"

#include <chrono>

int64_t HorlogeBanc::ReelUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t HorlogeBanc::MaintenantUsVerrouille() const {
  return virtuelle_ ? virtuelUs_ : ReelUs() - origineReelleUs_;
}

int64_t HorlogeBanc::MaintenantUs() const {
  std::lock_guard verrou(verrou_);
  return MaintenantUsVerrouille();
}

bool HorlogeBanc::EstVirtuelle() const {
  std::lock_guard verrou(verrou_);
  return virtuelle_;
}

void HorlogeBanc::PasseEnVirtuel() {
  std::lock_guard verrou(verrou_);
  if (virtuelle_) return;
  virtuelUs_ = MaintenantUsVerrouille();
  virtuelle_ = true;
}

void HorlogeBanc::PasseEnReel() {
  std::lock_guard verrou(verrou_);
  if (!virtuelle_) return;
  origineReelleUs_ = ReelUs() - virtuelUs_;
  virtuelle_ = false;
}

void HorlogeBanc::Avance(int64_t us) {
  std::lock_guard verrou(verrou_);
  if (virtuelle_ && us > 0) virtuelUs_ += us;
}
