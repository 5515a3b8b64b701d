#pragma once
#include <complex>
#include <deque>
#include <utility>

#include "Circuits.h"

// Second-order band-pass (a series RLC read across R): H(s) = (ω0/Q)·s / (s² + (ω0/Q)·s + ω0²),
// gain 1 at f0. Stepped by the exact solution of its two state equations for an input
// that is linear over the step.
class PasseBande final : public Circuit {
 public:
  PasseBande(double frequenceCentrale, double facteurQualite);
  void Reinitialise() override { x1_ = x2_ = 0; }
  double Pas(double e0, double e1, double dt) override;
  double PasMaximal() const override;
  double DureeEtablissement() const override;
  double GainContinu() const override { return 0; }

 private:
  void Transition(double dt);
  double omega0_, amortissement_;  // ω0 and ω0/Q
  double x1_ = 0, x2_ = 0;         // x1'' + (ω0/Q)·x1' + ω0²·x1 = e; output (ω0/Q)·x1'
  // exp(A·dt) of the last step length: the bench mostly repeats one step
  double dt_ = -1, phi_[2][2] = {};
};

// The input as it was `retard` seconds earlier (0 V before anything came in).
class LigneARetard final : public Circuit {
 public:
  explicit LigneARetard(double retard);
  void Reinitialise() override;
  double Pas(double e0, double e1, double dt) override;
  double PasMaximal() const override { return retard_ / 100; }
  double DureeEtablissement() const override { return retard_ * 1.01; }
  double GainContinu() const override { return 1; }

 private:
  double retard_;
  double t_ = 0;
  std::deque<std::pair<double, double>> passe_;  // (time, input), oldest first
};

// Analytic responses, for the checks of what the bench computes.
std::complex<double> ReponsePasseBasRC(double frequenceCoupure, double f);
std::complex<double> ReponsePasseBande(double frequenceCentrale, double facteurQualite,
                                       double f);
