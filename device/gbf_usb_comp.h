#pragma once
#include <array>

#include "GenerateurUSB.h"

// Driver of the low-frequency USB generator (14-bit inverted output, up to 10 V peak),
// with three clocks and a divider.
class TGBF_USB : public TGenerateurUSB {
 public:
  uint8_t Horloge = 0;  // clock index into HorlogesGBF

  // `entrees` null: the library is absent.
  explicit TGBF_USB(const EntreesGenerateur *entrees = nullptr);

  // Clock, points per period and reload for f, clamped to 0.02..480 000 Hz.
  void SetFrequence(double f);
  bool Lance();  // false: the generator has gone
};

// 14-bit DAC: codes 0..16383 over 20 V, 8192 at 0 V, the output stage inverts.
inline constexpr ModeleGenerateur ModeleGBF{
    {u"QuiloGenUSB-0", u"QuiloGenUSB-1"}, 0.02, 480'000, 16383, 8192, 20, -1};
// The generator's clocks by index, Hz; only the last one goes through the divider.
inline constexpr std::array<double, 3> HorlogesGBF{48'000'000, 12'000'000, 4'000'000};
// Reload values: 0 for the undivided 48 MHz clock, 65535 for the undivided slower ones.
inline constexpr std::array<int32_t, 3> RechargesSansDiviseurGBF{0, 65535, 65535};
