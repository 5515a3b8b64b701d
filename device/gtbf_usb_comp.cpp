#include "gtbf_usb_comp.h"

namespace {
// Default position 50 of the amplitude scroll bar (0..200 for 0..4 V), so a sweep started
// before the amplitude was ever set still drives a signal.
constexpr double AmplitudeInitialeGTBF = 1.0;
}  // namespace

TGTBF_USB::TGTBF_USB(const EntreesGenerateur *entrees)
    : TGenerateurUSB(ModeleGTBF, entrees, AmplitudeInitialeGTBF) {}

void TGTBF_USB::SetFrequence(double f) {
  f = FrequenceLimitee(f);
  const int64_t ticks = PlusProche(HorlogeGTBF / f);
  int64_t diviseur = ticks / PointsPeriodeMax + 1;
  if (diviseur < DiviseurMinGTBF) diviseur = DiviseurMinGTBF;
  NbPointsPeriode = static_cast<int32_t>(PlusProche(static_cast<double>(ticks) / diviseur));
  Recharge = static_cast<int32_t>(65536 - diviseur);
}

bool TGTBF_USB::Lance() { return LanceAvecHorloge(0); }
