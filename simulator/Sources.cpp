#include "Sources.h"

#include <cmath>
#include <numbers>

Sinus::Sinus(double amplitude, double frequence, double decalage)
    : amplitude_(amplitude), frequence_(frequence), decalage_(decalage) {}

double Sinus::Tension(double t) const {
  return decalage_ + amplitude_ * std::sin(2 * std::numbers::pi * frequence_ * t);
}

// 100 straight pieces per period keep the chord error near 0.05 % of the amplitude.
double Sinus::PasMaximal() const { return frequence_ > 0 ? 0.01 / frequence_ : 1.0; }

Triangle::Triangle(double amplitude, double frequence, double decalage)
    : amplitude_(amplitude), frequence_(frequence), decalage_(decalage) {}

double Triangle::Tension(double t) const {
  if (frequence_ <= 0) return decalage_;
  const double x = t * frequence_ - std::floor(t * frequence_);
  const double forme = x < 0.25 ? 4 * x : x < 0.75 ? 2 - 4 * x : 4 * x - 4;
  return decalage_ + amplitude_ * forme;
}

// Straight between its corners: the step only needs to find the corners.
double Triangle::PasMaximal() const { return frequence_ > 0 ? 0.001 / frequence_ : 1.0; }

Carre::Carre(double bas, double haut, double frequence, double rapport)
    : bas_(bas), haut_(haut), frequence_(frequence), rapport_(rapport) {}

double Carre::Tension(double t) const {
  if (frequence_ <= 0) return haut_;
  const double phase = t * frequence_ - std::floor(t * frequence_);
  return phase < rapport_ ? haut_ : bas_;
}

double Carre::Moyenne() const { return bas_ + (haut_ - bas_) * rapport_; }

// Edges are resolved to 1/1000 of a period.
double Carre::PasMaximal() const { return frequence_ > 0 ? 0.001 / frequence_ : 1.0; }
