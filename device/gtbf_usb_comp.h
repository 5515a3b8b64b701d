#pragma once
#include "GenerateurUSB.h"

// Driver of the very-low-frequency USB generator (8-bit output, up to 4 V peak),
// counting on a fixed 4 MHz clock.
class TGTBF_USB : public TGenerateurUSB {
 public:
  // `entrees` null: the library is absent.
  explicit TGTBF_USB(const EntreesGenerateur *entrees = nullptr);

  // Points per period and reload for f, clamped to 0.005..2000 Hz.
  void SetFrequence(double f);
  bool Lance();  // false: the generator has gone
};

// 8-bit DAC: codes 0..255 over 8 V, 127 at 0 V, not inverted.
inline constexpr ModeleGenerateur ModeleGTBF{
    {u"QuiloGenMinUSB-0", u"QuiloGenMinUSB-1"}, 0.005, 2000, 255, 127, 8, 1};
// The generator's only clock.
inline constexpr double HorlogeGTBF = 4'000'000;
// Smallest divider: keeps the table rate at or below 100 000 points per second.
inline constexpr int32_t DiviseurMinGTBF = 40;
