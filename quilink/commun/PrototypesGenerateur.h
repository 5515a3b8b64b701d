#pragma once
// The five entries of a generator library (C convention, 32-bit integers): the generator
// libraries are compiled against these types and the drivers' bindings load them, so
// both sides of the boundary read one set. The device name given to _SetPortOpen is a
// ChaineOle of 16-bit characters (Enregistrements.h).
#include <cstdint>

extern "C" {
using FnSetPortClose = int32_t (*)(int32_t handle);
using FnSetPortOpen = int32_t (*)(const char16_t *nom);
// Writes a zero-ended text of at most 32 bytes; bound but never called by the program.
using FnGetVersion = int32_t (*)(int32_t handle, char *version);
using FnLanceGenerateur = int32_t (*)(int32_t handle, int32_t mode,
                                      const uint8_t *enregistrement);
using FnStopGenerateur = int32_t (*)(int32_t handle);
}
