#pragma once
// What one frame of one channel measures: levels, one period, the high phase, the rise and
// the fall; and the phase shift between two channels. Plain arrays of doubles in, values out.
#include <cstdint>
#include <optional>
#include <span>

struct MesuresVoie {
  double CreteACrete = 0;  // Maximum - Minimum
  double Efficace = 0;     // RMS over the measured period
  double Moyenne = 0;      // mean over the measured period
  double Minimum = 0, Maximum = 0;
  // Sample indices, all within 0..count-1 of the frame analysed.
  uint16_t DebutPeriode = 0, FinPeriode = 0;    // one full period: [DebutPeriode, FinPeriode)
  uint16_t DebutHaut = 0, FinHaut = 0;          // the first whole high phase
  uint16_t FinDescente = 0, DebutDescente = 0;  // the fall's 5 % and 95 % crossings
  uint16_t DebutMontee = 0, FinMontee = 0;      // the rise's 5 % and 95 % crossings
  uint16_t NbAnalyses = 0;                      // the count analysed
  // The period in fractions of a sample: from the crossings interpolated between
  // samples, averaged over every whole period of the frame from DebutPeriode on;
  // FinPeriode - DebutPeriode when they cannot be interpolated.
  double PeriodeFine = 0;
};

// The smallest frame that is analysed.
inline constexpr int MinimumAnalyse = 16;

// Measures the frame v (its size is the count, 16..8192). A sample's side of the mid level
// is decided with a band of a quarter of the peak-to-peak range on either side, a sample
// inside the band keeping the side of the one before, so that noise near the mid level
// makes no crossing. Each search first skips the samples already on the side it looks for,
// so that a frame starting inside a phase measures a whole one.
MesuresVoie AnalyseTrame(std::span<const double> v);

// Phase in degrees, in (-180, 180], of y against x found by correlating them over one
// period of the reference channel from a, and over the same period shifted by a quarter
// of b - a (backwards when there is room before it), each channel's mean over that period
// removed. The period is `periodeFine` samples (b - a when 0), its last sample weighted by
// the fraction left when the frame holds it; it also tells the angle that the shift by
// whole samples really turns. x and y hold the samples analysed. None when
// the shifted period leaves the frame, when the period is shorter than 4 samples or when a
// channel has no variation. The result is -phi for y = sin(wt + phi) against x = sin(wt).
std::optional<double> Dephasage(std::span<const double> x, std::span<const double> y,
                                uint16_t a, uint16_t b, double periodeFine = 0);
