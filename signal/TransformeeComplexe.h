#pragma once
// The half-size complex transform behind Fft::Spectrum.
namespace Fft {

inline constexpr int TailleComplexe = 4096;

// Prepares the twiddle tables; later calls do nothing.
void InitialiseComplexe();

// In place: Z[k] = sum over n of z[n] e^(-2 pi i k n / 4096), z in split form (real parts
// in zr, imaginary parts in zi, 4096 each); tr and ti (4096 each) are working space.
// The four arrays must not overlap.
void TransformeeComplexe(double *zr, double *zi, double *tr, double *ti);

}  // namespace Fft
