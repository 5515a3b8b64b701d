#include "Horloge.h"

#include <chrono>
#include <thread>

namespace {

class HorlogeReelle final : public Horloge {
 public:
  void Attendre(int ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  int64_t MaintenantUs() const override {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

HorlogeReelle reelle;
Horloge *courante = &reelle;

}  // namespace

Horloge &HorlogeCourante() { return *courante; }
void DefinitHorloge(Horloge *h) { courante = h ? h : &reelle; }
