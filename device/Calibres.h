#pragma once
#include <array>
#include <cstdint>

// Labels are 8-bit texts of the program's character set (0xB5 is µ).

// The oscilloscope's input ranges.
struct Calibre {
  double span;          // volts over the 255 codes
  const char *libelle;  // half the span: the range is ± this around the zero code
  uint8_t code;         // command byte; the coupling goes in its two low bits
};
inline constexpr std::array<Calibre, 9> Calibres{{
    {0.08, "40 mV", 36}, {0.16, "80 mV", 20}, {0.4, "200 mV", 4},
    {0.8, "400 mV", 40}, {1.6, "800 mV", 24}, {4, "2 V", 8},
    {8, "4 V", 32},      {16, "8 V", 16},     {40, "20 V", 0}}};

// The time bases. The device samples at clock(A) / ((256 − B) × C), with a clock
// of 12, 4 or 48 MHz for A = 0, 1, 2; the frequency column is what those bytes give.
struct BaseDeTemps {
  const char *duree;      // the time shown across the screen
  double frequence;       // sampling frequency (Hz)
  const char *libelleFrequence;
  uint8_t a, b, c;        // clock bytes of the time-base command
  uint16_t points;        // points shown (5 ms shows only 3 ms of it)
};
inline constexpr std::array<BaseDeTemps, 18> BasesDeTemps{{
    {"10 \xB5s", 48e6, "48 MHz", 2, 255, 1, 480},
    {"20 \xB5s", 48e6, "48 MHz", 2, 255, 1, 960},
    {"50 \xB5s", 48e6, "48 MHz", 2, 255, 1, 2400},
    {"100 \xB5s", 48e6, "48 MHz", 2, 255, 1, 4800},
    {"200 \xB5s", 12e6, "12 MHz", 0, 255, 1, 2400},
    {"500 \xB5s", 12e6, "12 MHz", 0, 255, 1, 6000},
    {"1 ms", 6e6, "6 MHz", 0, 254, 1, 6000},
    {"2 ms", 4e6, "4 MHz", 1, 255, 1, 8000},
    {"5 ms", 2e6, "2 MHz", 1, 254, 1, 6000},
    {"10 ms", 800e3, "800 kHz", 1, 251, 1, 8000},
    {"20 ms", 400e3, "400 kHz", 1, 246, 1, 8000},
    {"50 ms", 160e3, "160 kHz", 1, 231, 1, 8000},
    {"100 ms", 80e3, "80 kHz", 1, 251, 10, 8000},
    {"200 ms", 40e3, "40 kHz", 1, 246, 10, 8000},
    {"500 ms", 16e3, "16 kHz", 1, 251, 50, 8000},
    {"1 s", 8e3, "8 kHz", 1, 246, 50, 8000},
    {"2 s", 4e3, "4 kHz", 1, 236, 50, 8000},
    {"5 s", 1600, "1,6 kHz", 1, 231, 100, 8000},
}};

enum Couplage : uint8_t { CouplageAC = 0, CouplageDC = 1, CouplageGND = 2 };

// The frequency that clock bytes A, B, C give; 0 for an unknown clock.
double FrequenceOctets(uint8_t a, uint8_t b, uint8_t c);

// Command byte of a channel: the calibre's code plus 1 for AC, 2 for GND.
uint8_t CodeCalibre(int calibre, int couplage);

// Channels acquired: the sum of the channels not grounded, 3 (both) becoming 0;
// both grounded is 0 as well.
uint16_t ModeVoies(int couplage1, int couplage2);

// The fast time bases (48 MHz clock) use column 1 of the zero-offset correction.
int ColonneCorrection(int duree);

// The code of 0 V the device is sent: zero plus correction, kept within 0..255.
uint8_t CodeDecalage(int zero, int correction);
