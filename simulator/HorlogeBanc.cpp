#include "HorlogeBanc.h"

#include <chrono>

int64_t HorlogeBanc::ReelUs() const {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t HorlogeBanc::MaintenantUs() const {
  return virtuelle_ ? virtuelUs_ : ReelUs() - origineReelleUs_;
}

void HorlogeBanc::PasseEnVirtuel() {
  if (virtuelle_) return;
  virtuelUs_ = MaintenantUs();
  virtuelle_ = true;
}

void HorlogeBanc::PasseEnReel() {
  if (!virtuelle_) return;
  origineReelleUs_ = ReelUs() - virtuelUs_;
  virtuelle_ = false;
}

void HorlogeBanc::Avance(int64_t us) {
  if (virtuelle_ && us > 0) virtuelUs_ += us;
}
