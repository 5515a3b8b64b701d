#pragma once
// Synthetic frames as the oscilloscope gives them: 8-bit codes with a little noise.
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

namespace trames {

constexpr double Pi = std::numbers::pi;

// n samples of f(i), rounded to codes of `pas` volts after seeded noise of +-bruit codes;
// pas = 0 keeps the exact values.
inline std::vector<double> Echantillonne(int n, const std::function<double(int)> &f,
                                         double pas = 0, double bruit = 0, unsigned graine = 1) {
  std::mt19937 alea(graine);
  std::uniform_real_distribution<double> u(-bruit, bruit);
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i)
    v[i] = pas > 0 ? pas * std::round(f(i) / pas + u(alea)) : f(i);
  return v;
}

inline auto Sinus(double amplitude, double periode, double phase = 0, double decalage = 0) {
  return [=](int i) { return decalage + amplitude * std::sin(2 * Pi * i / periode + phase); };
}

// Low for the first (1 - haut) of each period... high for the fraction `haut`, starting at
// sample `debut`, with linear edges of `front` samples (0: a square); the fall takes
// `descente` samples when it is given.
inline auto Trapeze(double bas, double hautNiveau, double periode, double haut, double debut,
                    double front = 0, double descente = -1) {
  return [=](int i) {
    const double chute = descente < 0 ? front : descente;
    double t = std::fmod(i - debut, periode);
    if (t < 0) t += periode;
    const double th = haut * periode;
    double f;  // 0 low .. 1 high
    if (front > 0 && t < front) f = t / front;
    else if (t < th) f = 1;
    else if (chute > 0 && t < th + chute) f = 1 - (t - th) / chute;
    else f = 0;
    return bas + (hautNiveau - bas) * f;
  };
}

}  // namespace trames
