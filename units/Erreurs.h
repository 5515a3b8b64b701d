#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

// The program's general errors. Arithmetic that must stay inside a field's range
// raises them, and the code that has a defined result for the failure catches them
// (a unit text that does not read, a measured value, an axis graduation). One that
// nothing catches is shown in the program's error box when it leaves a window
// handler, or reported by the device thread when it leaves a device call, and the
// program goes on.

// A result does not fit the range of the field that receives it.
struct ERangeError : std::out_of_range {
  ERangeError() : std::out_of_range("Erreur d'intervalle") {}
  using std::out_of_range::out_of_range;
};

// 32-bit integer arithmetic overflowed.
struct EIntOverflow : std::overflow_error {
  EIntOverflow() : std::overflow_error("Débordement d'entier") {}
  using std::overflow_error::overflow_error;
};

// An operation without a defined result (for instance the angle of the point (0, 0)).
struct EInvalidOp : std::domain_error {
  EInvalidOp() : std::domain_error("Opération en virgule flottante incorrecte") {}
  using std::domain_error::domain_error;
};

// Raises ERangeError unless min <= v <= max; returns v so that a check reads as a value.
int64_t VerifieIntervalle(int64_t v, int64_t min, int64_t max);
// The same for a real value; NaN is never inside.
double VerifieIntervalleReel(double v, double min, double max);

// Narrowing with a range check (ERangeError).
int8_t EnOctetSigne(int64_t v);
int16_t EnEntier16(int64_t v);
int32_t EnEntier32(int64_t v);

// 32-bit arithmetic with an overflow check (EIntOverflow).
int32_t SommeVerifiee(int32_t a, int32_t b);
int32_t DifferenceVerifiee(int32_t a, int32_t b);
int32_t ProduitVerifie(int32_t a, int32_t b);
int32_t OpposeVerifie(int32_t a);
