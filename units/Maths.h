#pragma once
#include <cstdint>

// Angles are always computed in degrees in this program.
inline constexpr bool AngleEnDegres = true;

// x to the power n for any integer n; x^0 = 1, x^-n = 1 / x^n.
double PuissanceReel(double x, int n);
// 10^n, through PuissanceReel.
double Puissance10(int n);
// Decimal logarithm as ln x times log10(e).
double Log10(double x);
// Largest / smallest integer not beyond x; ERangeError outside 32 bits (or for NaN).
int32_t Plancher(double x);
int32_t Plafond(double x);
// Radians to degrees (when AngleEnDegres, which is always).
void EnDegres(double &a);
// Direction of the point (x, y) in degrees, -180..180. The point (0, 0) has none:
// EInvalidOp, which callers catch on purpose.
double Angle(double x, double y);
// i^n by repeated multiplication; n < 1 gives 1; EIntOverflow beyond 32 bits.
int32_t PuissanceEntiere(int32_t i, int32_t n);
