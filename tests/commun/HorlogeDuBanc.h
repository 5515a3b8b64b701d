#pragma once
#include "BancVirtuel.h"
#include "Horloge.h"

// The device code's waits advance the bench's virtual time: one clock, no sleep.
class HorlogeDuBanc final : public Horloge {
 public:
  void Attendre(int ms) override { Banc().Horloge().Avance(int64_t(ms) * 1000); }
  int64_t MaintenantUs() const override { return Banc().Horloge().MaintenantUs(); }
};
