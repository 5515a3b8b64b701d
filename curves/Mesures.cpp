#include "Mesures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Maths.h"

namespace {

// Samples beyond `bas` count as low, beyond `haut` as high; in between a sample keeps the
// side of the one before.
struct Bande {
  double bas, haut;
  bool AuDela(double v, int cote) const { return cote > 0 ? v > haut : v < bas; }
};

// First index in [debut, fin) whose sample is beyond the band on side `cote`; `fin` when
// there is none, `debut` when the range is empty.
int ChercheAuDela(std::span<const double> v, int debut, int fin, int cote, Bande b) {
  int i = debut;
  while (i < fin && !b.AuDela(v[i], cote)) ++i;
  return i;
}

// Side of the first sample outside the band; -1 when every sample is inside.
int PremierCote(std::span<const double> v, Bande b) {
  for (double x : v) {
    if (b.AuDela(x, 1)) return 1;
    if (b.AuDela(x, -1)) return -1;
  }
  return -1;
}

int Borne(int i, int count) { return std::min(i, count - 1); }

// Where the frame crosses level t between sample i - 1 and sample i, in samples.
double Croisement(std::span<const double> v, int i, double t) {
  if (i < 1 || v[i] == v[i - 1]) return i;
  return i - 1 + std::clamp((t - v[i - 1]) / (v[i] - v[i - 1]), 0.0, 1.0);
}

// One full period from the first crossing into a side to the next return to it, with the
// 16- and 14-sample dead zones after each crossing. A flat frame is one period long.
void CherchePeriode(std::span<const double> v, Bande b, MesuresVoie &m) {
  const int count = int(v.size());
  if (m.CreteACrete == 0) {
    m.DebutPeriode = 0, m.FinPeriode = uint16_t(count - 1);
    m.PeriodeFine = count - 1;
    return;
  }
  const int depart = PremierCote(v, b);
  const int debut = ChercheAuDela(v, 0, count / 2, -depart, b);
  const int s = b.AuDela(v[debut], -depart) ? -depart : depart;
  const int demi = ChercheAuDela(v, debut + 17, count - 16, -s, b);
  const int fin = Borne(ChercheAuDela(v, demi + 15, count - 1, s, b), count);
  m.DebutPeriode = uint16_t(debut), m.FinPeriode = uint16_t(fin);
  const double niveau = s > 0 ? b.haut : b.bas;
  const bool croisements = b.AuDela(v[debut], s) && b.AuDela(v[fin], s);
  if (!croisements) {
    m.PeriodeFine = fin - debut;
    return;
  }
  // The later whole periods of the frame, found the same way: a crossing's noise is a
  // fixed part of a period whatever the sampling, so only more periods make it smaller.
  int periodes = 1, derniere = fin;
  for (;;) {
    const int d = ChercheAuDela(v, derniere + 17, count - 16, -s, b);
    const int f = ChercheAuDela(v, d + 15, count - 1, s, b);
    if (f >= count - 1 || !b.AuDela(v[f], s)) break;
    ++periodes, derniere = f;
  }
  m.PeriodeFine = (Croisement(v, derniere, niveau) - Croisement(v, debut, niveau)) / periodes;
}

// The first whole high phase: past the samples that are not yet low, the first high sample,
// then the first low one at least 5 samples later.
void ChercheHaut(std::span<const double> v, Bande b, MesuresVoie &m) {
  const int count = int(v.size());
  const int bas = ChercheAuDela(v, 0, count - 1, -1, b);
  const int debut = ChercheAuDela(v, bas, count - 1, 1, b);
  const int fin = ChercheAuDela(v, debut + 5, count - 1, -1, b);
  m.DebutHaut = uint16_t(debut), m.FinHaut = uint16_t(Borne(fin, count));
}

// First index in [debut, count - 1) where `condition` holds; count - 1 when none does.
template <class Condition>
int Premier(std::span<const double> v, int debut, Condition condition) {
  const int fin = int(v.size()) - 1;
  int i = debut;
  while (i < fin && !condition(v[i])) ++i;
  return std::min(i, fin);
}

// One past the last index in [debut, fin) where `condition` holds; debut when none does.
template <class Condition>
int ApresDernier(std::span<const double> v, int debut, int fin, Condition condition) {
  int i = fin;
  while (i > debut && !condition(v[i - 1])) --i;
  return i;
}

// Rise and fall between 5 % and 95 % of the peak-to-peak range, each on a whole edge: the
// search starts past the samples already beyond its first level. An edge is found by its
// far level, then traced back to its last sample on the near side, so that noise on a slow
// edge, crossing a level back and forth, cannot start it on the wrong edge.
void ChercheFronts(std::span<const double> v, MesuresVoie &m) {
  const double l5 = m.Minimum + 0.05 * m.CreteACrete;
  const double l95 = m.Minimum + 0.95 * m.CreteACrete;
  const auto sous5 = [=](double x) { return x < l5; };
  const auto sur95 = [=](double x) { return x > l95; };
  const int bas = Premier(v, 0, sous5);
  m.FinMontee = uint16_t(Premier(v, bas + 1, [=](double x) { return x >= l95; }));
  m.DebutMontee = uint16_t(ApresDernier(v, bas, m.FinMontee, sous5));
  const int haut = Premier(v, 0, sur95);
  m.FinDescente = uint16_t(Premier(v, haut + 1, [=](double x) { return x <= l5; }));
  m.DebutDescente = uint16_t(ApresDernier(v, haut, m.FinDescente, sur95));
}

// RMS and mean over exactly one period, [DebutPeriode, FinPeriode).
void NiveauxSurLaPeriode(std::span<const double> v, MesuresVoie &m) {
  double somme = 0, carres = 0;
  for (int i = m.DebutPeriode; i < m.FinPeriode; ++i) somme += v[i], carres += v[i] * v[i];
  const int n = m.FinPeriode - m.DebutPeriode;
  m.Efficace = std::sqrt(carres / n);
  m.Moyenne = somme / n;
}

}  // namespace

MesuresVoie AnalyseTrame(std::span<const double> v) {
  MesuresVoie m;
  m.NbAnalyses = uint16_t(v.size());
  const auto [mini, maxi] = std::minmax_element(v.begin(), v.end());
  m.Minimum = *mini, m.Maximum = *maxi;
  m.CreteACrete = m.Maximum - m.Minimum;
  const double milieu = (m.Maximum + m.Minimum) / 2;
  const Bande b{milieu - m.CreteACrete / 4, milieu + m.CreteACrete / 4};
  CherchePeriode(v, b, m);
  ChercheHaut(v, b, m);
  ChercheFronts(v, m);
  NiveauxSurLaPeriode(v, m);
  return m;
}

std::optional<double> Dephasage(std::span<const double> x, std::span<const double> y,
                                uint16_t a, uint16_t b, double periodeFine) {
  const int count = int(std::min(x.size(), y.size()));
  const int n = int(b) - int(a);
  if (n < 4 || b > count) return std::nullopt;
  int q = n / 4;
  if (a >= q) q = -q;  // room before the period: shift backwards
  if (b + q > count) return std::nullopt;
  // Over exactly one period from a: whole samples, then the last one weighted by the
  // fraction left, when the frame has it; a sum over a period that is a sample too long
  // or too short leaves a part of the other component in each sum.
  const double periode = periodeFine > 0 ? periodeFine : n;
  int entiers = int(periode);
  double reste = periode - entiers;
  if (a + entiers + (reste > 0) + std::max(q, 0) > count) entiers = n, reste = 0;
  const auto poids = [&](int k) { return k < a + entiers ? 1.0 : reste; };
  const int fin = a + entiers + (reste > 0);
  double mx = 0, my = 0;
  for (int k = a; k < fin; ++k) mx += poids(k) * x[k], my += poids(k) * y[k];
  mx /= entiers + reste, my /= entiers + reste;
  double p = 0, qq = 0;
  for (int k = a; k < fin; ++k) {
    p += poids(k) * (x[k] - mx) * (y[k] - my);
    qq += poids(k) * (x[k] - mx) * (y[k + q] - my);
  }
  // y shifted by q samples is y turned by theta = 2 pi q / period, so qq = P cos theta +
  // S sin theta with S the quadrature sum. For a shift of exactly a quarter (theta = +-90
  // degrees) S = +-qq; otherwise this takes out the error of a quarter rounded to whole
  // samples (2 degrees at 50 samples per period) and of a period that is not a whole
  // number of samples (1 degree at 42.5).
  const double theta = 2 * std::numbers::pi * q / (periodeFine > 0 ? periodeFine : n);
  const double s = (qq - p * std::cos(theta)) / std::sin(theta);
  if (p == 0 && s == 0) return std::nullopt;  // no direction: no phase
  const double degres = Angle(p, s);
  return degres == -180 ? 180 : degres;
}
