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

// First-order RC high-pass, cut-off fc = 1 / (2π R C): the input less the voltage
// across the capacitor, which is the low-pass of the same R and C.
class PasseHautRC final : public Circuit {
 public:
  explicit PasseHautRC(double frequenceCoupure) : condensateur_(frequenceCoupure) {}
  void Reinitialise() override { condensateur_.Reinitialise(); }
  double Pas(double e0, double e1, double dt) override {
    return e1 - condensateur_.Pas(e0, e1, dt);
  }
  double PasMaximal() const override { return condensateur_.PasMaximal(); }
  double DureeEtablissement() const override { return condensateur_.DureeEtablissement(); }
  double GainContinu() const override { return 0; }

 private:
  PasseBasRC condensateur_;
};

// A resistive divider: the input times `gain` (0 < gain <= 1), at once.
class Attenuateur final : public Circuit {
 public:
  explicit Attenuateur(double gain) : gain_(gain) {}
  void Reinitialise() override {}
  double Pas(double, double e1, double) override { return gain_ * e1; }
  // one step of any length settles it
  double PasMaximal() const override { return 1e-6; }
  double DureeEtablissement() const override { return 1e-6; }
  double GainContinu() const override { return gain_; }

 private:
  double gain_;
};

// Analytic responses, for the checks of what the bench computes.
std::complex<double> ReponsePasseBasRC(double frequenceCoupure, double f);
std::complex<double> ReponsePasseHautRC(double frequenceCoupure, double f);
std::complex<double> ReponsePasseBande(double frequenceCentrale, double facteurQualite,
                                       double f);
