#pragma once
#include <cstdint>

// Which generator answers; the values are those the program stores and compares.
enum class GenreGenerateur : uint8_t { Aucun = 0, GBF = 1, GTBF = 2 };

// The generators as the device thread drives them: what detection, closing and
// the sweep need. Every call may wait (the drivers' 100 ms waits), so none runs on
// the user-interface thread. A generator whose library is absent never opens.
class AccesGenerateurs {
 public:
  virtual ~AccesGenerateurs() = default;
  virtual bool Ouvre(GenreGenerateur g) = 0;  // true when that generator answers
  virtual void Stoppe(GenreGenerateur g) = 0;
  virtual void SetFrequence(GenreGenerateur g, double f) = 0;  // clamped to its range
  virtual void SetAmplitude(GenreGenerateur g, double crete) = 0;  // peak volts
  virtual void CalculeTable(GenreGenerateur g) = 0;
  // False when generator g did not start: it has gone (or is not there).
  virtual bool Lance(GenreGenerateur g) = 0;
};

// No generator at all.
class SansGenerateur final : public AccesGenerateurs {
 public:
  bool Ouvre(GenreGenerateur) override { return false; }
  void Stoppe(GenreGenerateur) override {}
  void SetFrequence(GenreGenerateur, double) override {}
  void SetAmplitude(GenreGenerateur, double) override {}
  void CalculeTable(GenreGenerateur) override {}
  bool Lance(GenreGenerateur) override { return false; }
};

// The program's two drivers, bound to the generator libraries found at start-up.
class GenerateursCharges final : public AccesGenerateurs {
 public:
  bool Ouvre(GenreGenerateur g) override;
  void Stoppe(GenreGenerateur g) override;
  void SetFrequence(GenreGenerateur g, double f) override;
  void SetAmplitude(GenreGenerateur g, double crete) override;
  void CalculeTable(GenreGenerateur g) override;
  bool Lance(GenreGenerateur g) override;
};

// The frequencies generator g plays, hertz.
struct PlageFrequences {
  double min, max;
};
PlageFrequences PlageGenerateur(GenreGenerateur g);
// f within the frequencies generator g plays (the drivers clamp the same way).
double FrequenceLimitee(GenreGenerateur g, double f);

// The first generator that answers, the low-frequency one first.
GenreGenerateur DetecteGenerateur(AccesGenerateurs &g);
