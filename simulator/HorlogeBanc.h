#pragma once
#include <cstdint>
#include <mutex>

// The bench's time: real time in the program, virtual time in tests, where only
// Avance() moves it. The device code's wait seam must run on the same clock.
// Safe from any thread: the device thread advances it while a test reads, advances
// or switches it.
class HorlogeBanc {
 public:
  int64_t MaintenantUs() const;
  double Maintenant() const { return MaintenantUs() * 1e-6; }  // seconds

  // Virtual time starts where the clock stands and moves only by Avance().
  void PasseEnVirtuel();
  void PasseEnReel();
  bool EstVirtuelle() const;
  void Avance(int64_t us);  // virtual time only; ignored in real time

 private:
  int64_t MaintenantUsVerrouille() const;
  static int64_t ReelUs();
  // Held only inside these calls, which call nothing else of the bench: any lock may be
  // held around them, and none is ever held across a device wait.
  mutable std::mutex verrou_;
  bool virtuelle_ = false;
  int64_t virtuelUs_ = 0;
  int64_t origineReelleUs_ = ReelUs();
};
