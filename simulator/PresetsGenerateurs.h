#pragma once
#include <string>
#include <utility>
#include <vector>

#include "BancVirtuel.h"

// Parameters of the circuits under test of the presets below.
inline constexpr double CoupureDemo = 1000;          // Hz, RC low-pass of "demo" and "demo-tbf"
inline constexpr double FrequenceRemplacant = 1000;  // Hz, 1 V peak sine while the generator rests
inline constexpr double CentrePasseBande = 2000;     // Hz, f0 of "passe-bande"
inline constexpr double QualitePasseBande = 2;       // Q of "passe-bande"
inline constexpr double FrequenceCarre = 1000;       // Hz, "carre": 0..5 V, 30 % high
inline constexpr double RapportCarre = 0.3;

// The benches with generators and the other circuits under test, by preset name:
// "demo", "demo-tbf", "passe-bande", "carre", "sans-generateur".
std::vector<std::pair<std::string, Preset>> PresetsGenerateurs();
