#pragma once
// The loops of Fft::Spectrum, compiled from Noyau.cpp once for any x86-64 (or other)
// processor and, on x86-64, once for processors with AVX2 and FMA and once for those with
// AVX-512 too, picked at run time.
#include <array>
#include <cstdint>
#include <span>

namespace Fft {

inline constexpr int TailleComplexe = 4096;  // the real frame is transformed as 4096 complex points

// Working space of the transform. The radix-8 stages read eight streams of each of re and
// im an eighth of the transform apart; unpadded, all sixteen would share one set of the
// first-level cache and evict each other. A gap of one cache line after every eighth puts
// each stream in a set of its own, and each array starts eight sets after the one before.
struct Travail {
  static constexpr int Segment = TailleComplexe / 8, Marge = 8;
  static constexpr int Longueur = TailleComplexe + 8 * Marge;
  // where index n of a padded array lies
  static constexpr int Place(int n) { return n + n / Segment * Marge; }
  alignas(64) std::array<double, Longueur> ar, ai, br, bi;
};

// Made once; every kernel only reads them.
struct TablesFft {
  static constexpr int M = TailleComplexe;
  // 4096 = 8^4: four radix-8 passes over the data
  static constexpr int P0 = M / 8, P1 = 64, P2 = 8;  // twiddle rows of the first three stages
  // the Hamming window at the even and at the odd samples, padded like the working space
  // since the first stage reads it in eight streams too
  std::array<double, Travail::Longueur> hammingPair, hammingImpair;
  std::array<double, 2 * M> hamming;  // and at every sample, for the energies
  // W^k = e^(-2 pi i k / 8192), k = 0..M-1: splits the half-size transform into the bins
  alignas(64) std::array<double, M> wr, wi;
  // first stage: w^(j p), w = e^(-2 pi i / M), at [(j - 1) Pas + p], j = 1..7, p < P0,
  // rows padded like the working space
  static constexpr int Pas = Travail::Segment + Travail::Marge;
  std::array<double, 7 * Pas> w0r, w0i;
  // second and third stages, one after the other: row p holds w^(j p), j = 1..7, with
  // w = e^(-2 pi i / n), n = 8 x rows, in the order the butterflies read them
  std::array<double, 7 * (P1 + P2)> w8r, w8i;
  TablesFft();
};

struct Noyau {
  const char *nom;
  // Bins 0..M-1 of the real frame x (N samples) through the window `fenetre` into re + i im,
  // scaled by the Hamming energy correction times `amplitude` / N (bin 0) or 2 `amplitude`
  // / N (the others); their slots M..N are working space, and so is w. Returns the
  // correction (1 without energy or without Hamming).
  double (*Spectre)(const TablesFft &, const double *x, uint8_t fenetre, double amplitude,
                    Travail &w, double *re, double *im);
  void (*Amplitudes)(const double *re, const double *im, double *out);  // bins 0..M-1
};

namespace base {
extern const Noyau noyau;
}
#if defined(__x86_64__)
namespace avx2 {
extern const Noyau noyau;
}
namespace avx512 {  // AVX-512 Foundation, with AVX2 and FMA
extern const Noyau noyau;
}
#endif

// The kernels this processor can run, the fastest first.
std::span<const Noyau *const> Noyaux();

// The kernel Spectrum uses: the first of Noyaux(). Tests and benchmarks may point it at
// another of them.
const Noyau *&NoyauActif();

}  // namespace Fft
