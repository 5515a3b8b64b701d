#include "Horloge.h"

#include <atomic>
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
// The device thread reads it while a test puts another clock in place: the release
// makes the clock's construction visible to the thread that then waits on it.
std::atomic<Horloge *> courante = &reelle;

}  // namespace

Horloge &HorlogeCourante() { return *courante.load(std::memory_order_acquire); }
void DefinitHorloge(Horloge *h) { courante.store(h ? h : &reelle, std::memory_order_release); }
