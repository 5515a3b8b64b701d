#pragma once
#include <cstdint>

// Every fixed device wait goes through here: real sleeping in the program,
// virtual time in tests, so that no test ever sleeps for real.
class Horloge {
 public:
  virtual ~Horloge() = default;
  virtual void Attendre(int ms) = 0;
  virtual int64_t MaintenantUs() const = 0;
};

// The clock that device code waits on; the real clock unless a test put another.
Horloge &HorlogeCourante();
// Puts `h` in place (nullptr: back to the real clock). The caller keeps ownership, and
// keeps `h` alive until no thread can still be waiting on it. Both are safe from any thread.
void DefinitHorloge(Horloge *h);

inline void Attendre(int ms) { HorlogeCourante().Attendre(ms); }
