#pragma once
#include <atomic>

// The rounds of the test thread's loop, counted so that a device thread can let one whole
// round run in the middle of its own work: the two threads then surely overlap, however
// the machine schedules them, and the sanitizer sees both sides of every access.
class ToursDuTest {
 public:
  // The test thread, at the end of each round.
  void Termine() {
    tours_.fetch_add(1);
    tours_.notify_all();
  }
  // The device thread: returns once a round has begun and ended after this call.
  void AttendUnTourEntier() {
    const int depart = tours_.load();
    for (int vu; (vu = tours_.load()) < depart + 2;) tours_.wait(vu);
  }

 private:
  std::atomic<int> tours_ = 0;
};
