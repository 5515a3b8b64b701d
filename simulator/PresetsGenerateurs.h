#pragma once

// What the tests know of the circuits of the shipped bench files (bancs/*.ini); a test
// checks that the files say the same.
inline constexpr double CoupureDemo = 1000;          // Hz, RC low-pass of "demo" and "demo-tbf"
inline constexpr double FrequenceRemplacant = 1000;  // Hz, 1 V peak sine while the generator rests
inline constexpr double CentrePasseBande = 2000;     // Hz, f0 of "passe-bande"
inline constexpr double QualitePasseBande = 2;       // Q of "passe-bande"
inline constexpr double FrequenceCarre = 1000;       // Hz, "carre": 0..5 V, 30 % high
inline constexpr double RapportCarre = 0.3;
