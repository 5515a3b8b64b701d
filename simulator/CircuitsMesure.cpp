#include "CircuitsMesure.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double DeuxPi = 2 * std::numbers::pi;
}

PasseBande::PasseBande(double frequenceCentrale, double facteurQualite)
    : omega0_(DeuxPi * frequenceCentrale), amortissement_(omega0_ / facteurQualite) {}

// Two hundred steps per period of f0 keep the Runge-Kutta error far below a code.
double PasseBande::PasMaximal() const { return DeuxPi / omega0_ / 200; }

// The envelope decays as exp(−t·ω0/2Q): twelve of its time constants.
double PasseBande::DureeEtablissement() const { return 12 * 2 / amortissement_; }

double PasseBande::Pas(double e0, double e1, double dt) {
  if (dt > 0) {
    const int n = static_cast<int>(std::ceil(dt / PasMaximal()));
    for (int i = 0; i < n; ++i)
      PasRK4(e0 + (e1 - e0) * i / n, e0 + (e1 - e0) * (i + 1) / n, dt / n);
  }
  return amortissement_ * x2_;
}

void PasseBande::PasRK4(double e0, double e1, double h) {
  const double w2 = omega0_ * omega0_;
  auto derivee = [&](double x1, double x2, double e) {
    return std::pair{x2, e - w2 * x1 - amortissement_ * x2};
  };
  const double em = (e0 + e1) / 2;
  const auto [a1, b1] = derivee(x1_, x2_, e0);
  const auto [a2, b2] = derivee(x1_ + h / 2 * a1, x2_ + h / 2 * b1, em);
  const auto [a3, b3] = derivee(x1_ + h / 2 * a2, x2_ + h / 2 * b2, em);
  const auto [a4, b4] = derivee(x1_ + h * a3, x2_ + h * b3, e1);
  x1_ += h / 6 * (a1 + 2 * a2 + 2 * a3 + a4);
  x2_ += h / 6 * (b1 + 2 * b2 + 2 * b3 + b4);
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

std::complex<double> ReponsePasseBande(double frequenceCentrale, double facteurQualite,
                                       double f) {
  // H(jω) = 1 / (1 + jQ(ω/ω0 − ω0/ω))
  const double x = f / frequenceCentrale;
  return 1.0 / std::complex<double>(1, facteurQualite * (x - 1 / x));
}
