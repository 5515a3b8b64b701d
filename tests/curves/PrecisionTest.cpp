// The accuracy suite: every measurement kind on 8-bit frames of known signals, measured as
// the program does (the channel analysed, then a measurement curve of each kind), against
// the analytic answer and one tolerance per kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "Courbe.h"
#include "Trames.h"

namespace {

using namespace trames;

// The tolerances, one per kind; tests/README.md states them.
struct Tolerances {
  double frequence = 0.002;  // relative
  double efficace = 0.01;    // relative
  double gain = 0.01;        // relative
  double moyenne = 2;        // codes of the calibre
  double creteACrete = 2;    // codes of the calibre
  double rapport = 0.01;     // of the period
  double fronts = 2;         // samples
  double phase = 1;          // degrees
};
constexpr Tolerances Tolere;

constexpr double Te = 1e-5;             // seconds per sample
constexpr double Code5V = 10.0 / 255;   // +-5 V calibre
constexpr double Code40mV = 0.08 / 255; // +-40 mV calibre
constexpr double Degre = Pi / 180;
const double Rien = NAN;                 // a kind the row does not check

// One channel's signal: the exact function, its calibre's code and the noise in codes. The
// converter clips to codes -127..128 around the zero.
struct Signal {
  std::function<double(int)> f;
  double pas = Code5V, bruit = 0.5;
  double Ecrete(double v) const { return std::clamp(v, -127 * pas, 128 * pas); }
  std::vector<double> Trame(int count, unsigned graine) const {
    std::vector<double> v = Echantillonne(count, f, pas, bruit, graine);
    for (double &x : v) x = Ecrete(x);
    return v;
  }
  // Mean and RMS of the clipped exact signal over many periods.
  double Moyenne() const { return Somme([](double x) { return x; }); }
  double Efficace() const { return std::sqrt(Somme([](double x) { return x * x; })); }

 private:
  template <class F> double Somme(F g) const {
    constexpr int n = 200000;
    double s = 0;
    for (int i = 0; i < n; ++i) s += g(Ecrete(f(i)));
    return s / n;
  }
};

// Samples from 5 % to 95 % of the range lo..hi on a rising sine of amplitude a.
double MonteeSinus(double a, double periode, double lo, double hi) {
  const double l5 = lo + 0.05 * (hi - lo), l95 = lo + 0.95 * (hi - lo);
  return periode * (std::asin(l95 / a) - std::asin(l5 / a)) / (2 * Pi);
}

// A square of period 200 (100 high), one sample back at the other level `apresMontee`
// samples after each rise and `apresDescente` after each fall; sample 0 low when
// `debutBas`.
std::function<double(int)> CarreParasite(int apresMontee, int apresDescente, bool debutBas) {
  return [=](int i) {
    const int t = ((i + (debutBas ? 150 : 50)) % 200 + 200) % 200;  // 0: a rise
    bool haut = t < 100;
    if (t == apresMontee || t == 100 + apresDescente) haut = !haut;
    return haut ? 3.0 : -2.0;
  };
}

struct Ligne {
  const char *nom;
  int count;
  Signal voie1;
  std::optional<Signal> voie2;  // for phase and gain; none: channel 1 twice
  double periode;               // samples
  double rapport;               // of the period
  double montee, descente;      // samples
  double phase;                 // degrees, channel 2 against channel 1
};
// The phase is a sine's: the quarter-period correlation reads a square's autocorrelation
// as an angle. The duty cycle is counted in whole samples between the band's crossings:
// at 40 samples per period, or with a rise and a fall of different lengths, it is more
// than 1 % of the period off, and those rows leave it out.

std::vector<Ligne> Lignes() {
  const auto sin = [](double a, double p, double phi = 0, double d = 0, double pas = Code5V,
                      double bruit = 0.5) { return Signal{Sinus(a, p, phi, d), pas, bruit}; };
  const auto trap = [](double b, double h, double p, double r, double debut, double m,
                       double d = -1) { return Signal{Trapeze(b, h, p, r, debut, m, d)}; };
  const double m100 = MonteeSinus(4, 100, -4, 4);
  return {
      // sines
      {"sinus de 100 échantillons", 8192, sin(4, 100, 0.3), sin(2, 100, 0.3 - 45 * Degre),
       100, 0.5, m100, m100, -45},
      {"sinus de 83,3 échantillons", 8192, sin(3, 83.3, 1.0), sin(1.5, 83.3, 1 + 120 * Degre),
       83.3, 0.5, MonteeSinus(3, 83.3, -3, 3), MonteeSinus(3, 83.3, -3, 3), 120},
      {"sinus de 40,7 échantillons", 8192, sin(4.5, 40.7, 2), sin(4.5, 40.7, 2 - 170 * Degre),
       40.7, Rien, MonteeSinus(4.5, 40.7, -4.5, 4.5), MonteeSinus(4.5, 40.7, -4.5, 4.5), -170},
      // slow: the edges cross a code in several samples, the noise moves them more than 2
      {"sinus lent, 4 périodes", 8192, sin(4, 2000, -1), sin(1, 2000, -1 + 10 * Degre), 2000,
       0.5, Rien, Rien, 10},
      {"sinus sur 1000 échantillons", 1000, sin(2, 100, 0.4), sin(2, 100, 0.4 + 90 * Degre),
       100, Rien, MonteeSinus(2, 100, -2, 2), MonteeSinus(2, 100, -2, 2), 90},
      // squares and trapezoids
      {"carré à 30 %", 8192, trap(-2, 3, 199.3, 0.3, 37, 0), std::nullopt, 199.3, 0.3, 0, 0,
       Rien},
      {"trapèze à 50 %, fronts de 10", 4000, trap(-4, 4, 400, 0.5, -150, 10), std::nullopt,
       400, 0.5, 9, 9, Rien},
      {"montée de 20, descente de 6", 8192, trap(-3, 3, 300, 0.4, 10, 20, 6), std::nullopt, 300,
       Rien, 18, 5.4, Rien},
      {"montée de 4, descente de 30", 8192, trap(-3, 3, 500, 0.6, 260, 4, 30), std::nullopt,
       500, Rien, 3.6, 27, Rien},
      // a one-sample glitch just inside the dead zones after each crossing of the period
      {"carré, parasite à 16 après la montée, 14 après la descente",
       8192, Signal{CarreParasite(16, 14, true)}, std::nullopt, 200, Rien, 0, 0, Rien},
      {"carré, parasite à 14 après la montée, 16 après la descente",
       8192, Signal{CarreParasite(14, 16, false)}, std::nullopt, 200, Rien, 0, 0, Rien},
      // DC offsets
      {"continu", 8192, Signal{[](int) { return 2.0; }}, Signal{[](int) { return -1.0; }},
       Rien, Rien, Rien, Rien, Rien},
      {"sinus sur 2 V", 8192, sin(2.5, 100, 0.1, 2), sin(0.5, 100, 0.1 - 30 * Degre, -1), 100,
       0.5, MonteeSinus(2.5, 100, -2.5, 2.5), MonteeSinus(2.5, 100, -2.5, 2.5), -30},
      {"carré sous -1 V", 8192, trap(-4.5, -1, 250, 0.6, 0, 3), std::nullopt, 250, 0.6, 2.7,
       2.7, Rien},
      // small signals near one code
      {"carré d'un code", 8192,
       Signal{Trapeze(0, Code40mV, 300, 0.5, 20), Code40mV, 0.4}, std::nullopt, 300, 0.5, 0, 0,
       Rien},
      {"carré de deux codes", 8192,
       Signal{Trapeze(-Code40mV, Code40mV, 150, 0.3, 70), Code40mV, 0.4}, std::nullopt, 150,
       0.3, 0, 0, Rien},
      {"sinus de 12 codes entre deux codes", 8192,
       sin(12 * Code40mV, 500, 1, Code40mV / 2, Code40mV),
       sin(12 * Code40mV, 500, 1 + 60 * Degre, Code40mV / 2, Code40mV), 500, 0.5, Rien, Rien,
       60},
      // clipped by the converter
      {"sinus écrêté", 8192, sin(8, 200, 0.5), sin(2, 200, 0.5 + 60 * Degre), 200, 0.5,
       MonteeSinus(8, 200, -127 * Code5V, 128 * Code5V),
       MonteeSinus(8, 200, -127 * Code5V, 128 * Code5V), 60},
      {"carré écrêté", 8192, trap(-7, 7, 300, 0.5, 20, 8), std::nullopt, 300, 0.5,
       0.9 * 8 * 255 * Code5V / 14, 0.9 * 8 * 255 * Code5V / 14, Rien},
  };
}

class Precision : public testing::TestWithParam<unsigned> {
 protected:
  TCourbeOsc voie1{"V1", 1, "V"}, voie2{"V2", 2, "V"};
  TCourbeMesure mesure{"m", 0, ""};

  static void Remplit(TCourbeOsc &c, const std::vector<double> &v) {
    std::copy(v.begin(), v.end(), c.Valeurs.begin());
    c.AnalyseCourbe(uint16_t(v.size()));
  }
  double Mesure(uint8_t grandeur, uint8_t voie = 1, uint8_t reference = 1) {
    mesure.SetGrandeur(grandeur);
    mesure.ChoisitVoies(voie, reference);
    mesure.CalculMesure(voie1, voie2, Te);
    return mesure.Valeur;
  }
};

TEST_P(Precision, ChaqueGrandeurDansSaTolerance) {
  const unsigned graine = GetParam();
  for (const Ligne &l : Lignes()) {
    SCOPED_TRACE(testing::Message() << l.nom << ", seed " << graine);
    const Signal s2 = l.voie2 ? *l.voie2 : l.voie1;
    Remplit(voie1, l.voie1.Trame(l.count, 2 * graine));
    Remplit(voie2, s2.Trame(l.count, 2 * graine + 1));
    const double code = l.voie1.pas;
    if (!std::isnan(l.periode)) {
      EXPECT_NEAR(Mesure(GrandeurFrequence), 1 / (l.periode * Te),
                  Tolere.frequence / (l.periode * Te)) << "frequency " << l.nom;
    }
    const double efficace = l.voie1.Efficace();
    EXPECT_NEAR(Mesure(GrandeurEfficace), efficace, Tolere.efficace * efficace) << "RMS " << l.nom;
    EXPECT_NEAR(Mesure(GrandeurMoyenne), l.voie1.Moyenne(), Tolere.moyenne * code) << "mean " << l.nom;
    std::vector<double> exact(size_t(l.count));
    for (int i = 0; i < l.count; ++i) exact[size_t(i)] = l.voie1.Ecrete(l.voie1.f(i));
    const auto [mini, maxi] = std::minmax_element(exact.begin(), exact.end());
    EXPECT_NEAR(Mesure(GrandeurCreteACrete), *maxi - *mini, Tolere.creteACrete * code)
        << "peak-to-peak " << l.nom;
    if (!std::isnan(l.rapport)) {
      EXPECT_NEAR(Mesure(GrandeurRapportCyclique), l.rapport, Tolere.rapport) << "duty cycle " << l.nom;
    }
    if (!std::isnan(l.montee)) {
      EXPECT_NEAR(Mesure(GrandeurMontee), l.montee * Te, Tolere.fronts * Te) << "rise " << l.nom;
    }
    if (!std::isnan(l.descente)) {
      EXPECT_NEAR(Mesure(GrandeurDescente), l.descente * Te, Tolere.fronts * Te) << "fall " << l.nom;
    }
    if (!std::isnan(l.phase)) {
      const double phase = Mesure(GrandeurPhase, 2, 1);
      EXPECT_LT(std::abs(std::remainder(phase - l.phase, 360.0)), Tolere.phase)
          << "phase " << phase << " " << l.nom;
    }
    const double gain = s2.Efficace() / efficace;
    EXPECT_NEAR(Mesure(GrandeurGain, 2, 1), gain, Tolere.gain * gain) << "gain " << l.nom;
  }
}

INSTANTIATE_TEST_SUITE_P(Graines, Precision, testing::Range(1u, 6u));

}  // namespace
