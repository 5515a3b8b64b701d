#pragma once
// The choices of the automatic configuration, as plain functions over one
// frame's samples and the calibre table.
#include <array>
#include <cstdint>
#include <span>

// What one channel's frame shows the automatic configuration.
struct VoieAuto {
  double Max = 0, Min = 0, Moy = 0;  // volts; Moy is the mid level
  int32_t Nb = 0;                    // level changes counted across Moy ± (Max − Min)/4
  double CreteACrete() const { return Max - Min; }
};

// Levels and level changes of the samples; a signal whose peak-to-peak is at
// most maxi / 32 (maxi: the curve's upper limit) counts as flat, no changes.
VoieAuto AnalyseVoieAuto(std::span<const double> v, double maxi);

// A channel is shown when its peak-to-peak exceeds the span of calibre 2.
inline constexpr double CreteACreteVisible = 0.4;

// The smallest calibre whose range around the zero code 127 holds min..max
// (−127 and +128 codes of span/255 volts); the largest when none does.
int CalibreAuto(double min, double max);

// The trigger level code of a mid level on a calibre: 256 × moy / span + 127,
// rounded half to even, kept within the levels the device takes (8..248).
uint8_t SeuilAuto(double moy, int calibre);

// The channel to trigger on (0: free-running): the shown channel with the most
// level changes, and among equal counts the larger amplitude. A channel that
// counted no change is never chosen.
int VoieSynchroAuto(const std::array<VoieAuto, 3> &voies, const std::array<bool, 3> &actives);

// The time base for a sweep point at f hertz: the fastest sampling whose 8192
// samples still hold ten periods, since the frequency is averaged over all of them
// (at least 40 samples a period then follow up to 1.2 MHz, two periods or more
// from 0.4 Hz); the slowest when none holds ten.
int DureePourFrequence(double f);

// The calibre for a channel's next frame, from this frame's extremes on calibre
// `actuel`: the smallest that holds them, and one above `actuel` at least when the
// frame touched the end codes (its true extremes are beyond what it shows).
int CalibrePourSignal(double min, double max, int actuel, bool coupe);
