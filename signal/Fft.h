#pragma once
// Spectrum of one channel's frame: 8192 real samples in, 4096 bin amplitudes out.
#include <array>
#include <cstdint>
#include <span>

namespace Fft {

inline constexpr int N = 8192;             // transform size
inline constexpr int NbCases = N + 1;      // slots of every sample and bin array
inline constexpr int NbRaies = N / 2;      // bins 0..4095 carry the spectrum

enum Fenetre : uint8_t { Rectangle = 0, Hamming = 1, ToitPlat = 2 };
inline constexpr std::array<const char *, 3> NomsFenetres{"Rectangle", "Hamming", "Toit plat"};

// Flat-top coefficients, applied to the neighbouring bins with alternating signs.
inline constexpr std::array<double, 4> CoefficientsToitPlat{0.934516, 0.597986, 0.179644,
                                                            0.015458};

using Echantillons = std::span<const double, NbCases>;
using Raies = std::span<double, NbCases>;
using RaiesConst = std::span<const double, NbCases>;

// What the last Spectrum computed besides the bins.
struct Facteurs {
  double CorrectionFenetre = 1.0;  // Hamming energy correction, 1 for the other windows
  double FacteurAmplitude = 1.0;   // 8192 / count
};
Facteurs DerniersFacteurs();

// Prepares the tables; later calls do nothing. Spectrum prepares them itself if needed.
void Initialise();

// Complex spectrum through the window `fenetre` of samples[0..count-1] as a frame of 8192
// with zeros from count on (whatever those slots hold), scaled so that a sine of peak amplitude A on a bin reads A and bin 0
// reads the mean over count samples. Bins 0..4095 of re and im are the result; their slots
// 4096..8192 are working space. count = 0 copies samples into re and clears im. samples
// is only read. Throws std::out_of_range for a count outside 0..8192. One call at a time:
// the last factors and the transform's working space are kept once for the program.
void Spectrum(int32_t count, Echantillons samples, Raies re, Raies im, uint8_t fenetre);

// out[k] = |re[k] + i im[k]| for k = 0..4095; the other slots are left as they are.
void Amplitudes(Raies out, RaiesConst re, RaiesConst im);

}  // namespace Fft
