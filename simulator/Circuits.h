#pragma once

#include <memory>

class Source;

// A circuit between the bench's signal and an input, computed as a real filter:
// its state is stepped through time by the bench, never taken from a formula.
class Circuit {
 public:
  virtual ~Circuit() = default;
  // Back to rest (all stored energy gone).
  virtual void Reinitialise() = 0;
  // Advances by dt seconds while the input goes in a straight line from e0 to e1;
  // returns the output at the end of the step.
  virtual double Pas(double e0, double e1, double dt) = 0;
  // Longest step the circuit itself can take accurately (s).
  virtual double PasMaximal() const = 0;
  // After this long (s) the state no longer depends on where it started.
  virtual double DureeEtablissement() const = 0;
  // Output over input for a constant input, for AC coupling.
  virtual double GainContinu() const = 0;
};

// First-order RC low-pass, cut-off fc = 1 / (2π R C).
class PasseBasRC final : public Circuit {
 public:
  explicit PasseBasRC(double frequenceCoupure);
  void Reinitialise() override { sortie_ = 0; }
  double Pas(double e0, double e1, double dt) override;
  double PasMaximal() const override { return tau_ / 20; }
  double DureeEtablissement() const override { return 12 * tau_; }
  double GainContinu() const override { return 1; }

 private:
  double tau_;
  double sortie_ = 0;
  double dtPrecedent_ = 0, attenuation_ = 1;
};

// A circuit's output followed through time for one source: steps the circuit from
// the last time asked to the next one, no coarser than either can take. Times
// must go forward; a jump backwards or longer than the settling time restarts
// the circuit one settling time earlier.
class SuiviCircuit {
 public:
  SuiviCircuit(std::shared_ptr<Circuit> circuit, std::shared_ptr<const Source> source);
  double Sortie(double t);

 private:
  void Repart(double t);
  std::shared_ptr<Circuit> circuit_;
  std::shared_ptr<const Source> source_;
  bool demarre_ = false;
  double t_ = 0, entree_ = 0, sortie_ = 0;
};
