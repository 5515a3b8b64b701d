#pragma once
#include <cstdint>

// The bench's time: real time in the program, virtual time in tests, where only
// Avance() moves it. The device code's wait seam must run on the same clock.
class HorlogeBanc {
 public:
  int64_t MaintenantUs() const;
  double Maintenant() const { return MaintenantUs() * 1e-6; }  // seconds

  // Virtual time starts where the clock stands and moves only by Avance().
  void PasseEnVirtuel();
  void PasseEnReel();
  bool EstVirtuelle() const { return virtuelle_; }
  void Avance(int64_t us);  // virtual time only; ignored in real time

 private:
  int64_t ReelUs() const;
  bool virtuelle_ = false;
  int64_t virtuelUs_ = 0;
  int64_t origineReelleUs_ = ReelUs();
};
