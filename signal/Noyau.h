#pragma once
// The loops of Fft::Spectrum, compiled twice from Noyau.cpp: once for any x86-64 (or other)
// processor and, on x86-64, once for processors with AVX2 and FMA, picked at run time.
#include <array>
#include <cstdint>

namespace Fft {

inline constexpr int TailleComplexe = 4096;  // the real frame is transformed as 4096 complex points

// Made once; every kernel only reads them.
struct TablesFft {
  static constexpr int M = TailleComplexe;
  static constexpr int NbEtages = 6;          // 4096 = 4^6, radix 4
  static constexpr int TailleEtages = 1365;   // 1024 + 256 + 64 + 16 + 4 + 1
  // the Hamming window at the even and at the odd samples
  std::array<double, M> hammingPair, hammingImpair;
  // W^k = e^(-2 pi i k / 8192), k = 0..M/2: splits the half-size transform into the bins
  std::array<double, M / 2 + 1> wr, wi;
  // stage e: w^p, w^2p, w^3p with w = e^(-2 pi i / n), n = M / 4^e, p < n / 4
  std::array<double, TailleEtages> w1r, w1i, w2r, w2i, w3r, w3i;
  std::array<int, NbEtages> debut;
  TablesFft();
};

struct Noyau {
  const char *nom;
  // z[n] = x[2n] + i x[2n+1] for the samples below count, windowed with Hamming or not;
  // returns the Hamming energy correction (1 without energy or without Hamming)
  double (*PrepareEntree)(const TablesFft &, const double *x, int count, bool hamming,
                          double *zr, double *zi);
  // in place on z; t is working space
  void (*TransformeeComplexe)(const TablesFft &, double *zr, double *zi, double *tr,
                              double *ti);
  // bins 0..M-1 of the real frame, bin 0 times gain0, the others times gain
  void (*SepareRaies)(const TablesFft &, const double *zr, const double *zi, double gain0,
                      double gain, double *xr, double *xi);
  void (*ToitPlat)(const double *src, double *dst);  // bins 0..M-1
  void (*Amplitudes)(const double *re, const double *im, double *out);
};

namespace base {
extern const Noyau noyau;
}
#if defined(__x86_64__)
namespace avx2 {
extern const Noyau noyau;
}
#endif

// The kernel Spectrum uses: the fastest this processor runs. Tests may point it at another.
const Noyau *&NoyauActif();

}  // namespace Fft
