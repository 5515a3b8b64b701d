#include "gbf_usb_comp.h"

namespace {
// Default position 50 of the amplitude scroll bar (0..200 for 0..10 V).
constexpr double AmplitudeInitialeGBF = 2.5;
// Below this frequency even the slowest undivided clock needs too many points.
constexpr double FrequenceSansDiviseurMin = HorlogesGBF[2] / PointsPeriodeMax;
}  // namespace

TGBF_USB::TGBF_USB(const EntreesGenerateur *entrees)
    : TGenerateurUSB(ModeleGBF, entrees, AmplitudeInitialeGBF) {}

void TGBF_USB::SetFrequence(double f) {
  f = FrequenceLimitee(f);
  if (f >= FrequenceSansDiviseurMin) {
    for (uint8_t i = 0; i < HorlogesGBF.size(); ++i) {
      const int64_t points = PlusProche(HorlogesGBF[i] / f);
      if (points < PointsPeriodeMax) {
        Horloge = i;
        Recharge = RechargesSansDiviseurGBF[i];
        NbPointsPeriode = static_cast<int32_t>(points);
        return;
      }
    }
  }
  Horloge = 2;
  const int64_t ticks = PlusProche(HorlogesGBF[2] / f);
  const int64_t diviseur = ticks / PointsPeriodeMax + 1;
  NbPointsPeriode = static_cast<int32_t>(ticks / diviseur);
  Recharge = static_cast<int32_t>(65536 - diviseur);
}

bool TGBF_USB::Lance() { return LanceAvecHorloge(Horloge); }
