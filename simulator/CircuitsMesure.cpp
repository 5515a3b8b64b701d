#include "CircuitsMesure.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double DeuxPi = 2 * std::numbers::pi;
}

PasseBande::PasseBande(double frequenceCentrale, double facteurQualite)
    : omega0_(DeuxPi * frequenceCentrale), amortissement_(omega0_ / facteurQualite) {}

// Exact whatever the step for a linear input: the step only bounds how far the input
// may be taken as a straight line.
double PasseBande::PasMaximal() const { return DeuxPi / omega0_ / 20; }

// Twelve time constants of the slowest free mode: exp(−t·ω0/2Q) when the circuit rings,
// the slower of its two real modes when it is overdamped (Q < 1/2).
double PasseBande::DureeEtablissement() const {
  const double a = amortissement_ / 2, d = a * a - omega0_ * omega0_;
  return 12 / (d > 0 ? a - std::sqrt(d) : a);
}

// exp(A·dt) for A = [[0, 1], [−ω0², −ω0/Q]]:
// exp(−a·dt/2)·(C·I + S·(A + a/2·I)), with C, S after the damping (a = ω0/Q).
void PasseBande::Transition(double dt) {
  if (dt == dt_) return;
  const double a = amortissement_, w2 = omega0_ * omega0_;
  const double d = w2 - a * a / 4;
  double c, sn;
  if (d > 0) {
    const double wd = std::sqrt(d);
    c = std::cos(wd * dt);
    sn = std::sin(wd * dt) / wd;
  } else if (d < 0) {
    const double wd = std::sqrt(-d);
    c = std::cosh(wd * dt);
    sn = std::sinh(wd * dt) / wd;
  } else {
    c = 1;
    sn = dt;
  }
  const double e = std::exp(-a * dt / 2);
  phi_[0][0] = e * (c + sn * a / 2);
  phi_[0][1] = e * sn;
  phi_[1][0] = -e * sn * w2;
  phi_[1][1] = e * (c - sn * a / 2);
  dt_ = dt;
}

// With u = e0 + s·t the state follows p + q·t plus a free part that decays by exp(A·t):
// q = (s/ω0², 0), p = ((e0 − a·s/ω0²)/ω0², s/ω0²).
double PasseBande::Pas(double e0, double e1, double dt) {
  if (dt > 0) {
    Transition(dt);
    const double w2 = omega0_ * omega0_, s = (e1 - e0) / dt;
    const double p1 = (e0 - amortissement_ * s / w2) / w2, p2 = s / w2;
    const double l1 = x1_ - p1, l2 = x2_ - p2;
    x1_ = p1 + s / w2 * dt + phi_[0][0] * l1 + phi_[0][1] * l2;
    x2_ = p2 + phi_[1][0] * l1 + phi_[1][1] * l2;
  }
  return amortissement_ * x2_;
}

LigneARetard::LigneARetard(double retard) : retard_(retard) {}

void LigneARetard::Reinitialise() {
  t_ = 0;
  passe_.clear();
}

double LigneARetard::Pas(double e0, double e1, double dt) {
  if (passe_.empty()) passe_.emplace_back(t_, e0);
  t_ += std::max(dt, 0.0);
  passe_.emplace_back(t_, e1);
  const double cible = t_ - retard_;
  while (passe_.size() > 2 && passe_[1].first <= cible) passe_.pop_front();
  const auto [ta, ea] = passe_[0];
  if (cible < ta) return 0;
  const auto [tb, eb] = passe_[1];
  return tb > ta ? ea + (eb - ea) * std::min(1.0, (cible - ta) / (tb - ta)) : eb;
}

std::complex<double> ReponsePasseBasRC(double frequenceCoupure, double f) {
  return 1.0 / std::complex<double>(1, f / frequenceCoupure);
}

std::complex<double> ReponsePasseHautRC(double frequenceCoupure, double f) {
  return 1.0 / std::complex<double>(1, -frequenceCoupure / f);
}

std::complex<double> ReponsePasseBande(double frequenceCentrale, double facteurQualite,
                                       double f) {
  // H(jω) = 1 / (1 + jQ(ω/ω0 − ω0/ω))
  const double x = f / frequenceCentrale;
  return 1.0 / std::complex<double>(1, facteurQualite * (x - 1 / x));
}
