#pragma once
#include <cstdint>

// The five entries of a generator library, as the drivers call them (C convention,
// 32-bit integers). The device name passed to _SetPortOpen is a 16-bit string whose
// byte length, as a 32-bit integer, sits just before its first character.
extern "C" {
using FnSetPortClose = int32_t (*)(int32_t handle);
using FnSetPortOpen = int32_t (*)(const char16_t *nom);
// Writes a zero-ended text of at most 32 bytes; bound but never called by the program.
using FnGetVersion = int32_t (*)(int32_t handle, char *version);
using FnLanceGenerateur = int32_t (*)(int32_t handle, int32_t mode,
                                      const uint8_t *enregistrement);
using FnStopGenerateur = int32_t (*)(int32_t handle);
}

struct EntreesGenerateur {
  FnSetPortClose SetPortClose = nullptr;
  FnSetPortOpen SetPortOpen = nullptr;
  FnGetVersion GetVersion = nullptr;
  FnLanceGenerateur LanceGenerateur = nullptr;
  FnStopGenerateur StopGenerateur = nullptr;

  bool Completes() const {
    return SetPortClose && SetPortOpen && GetVersion && LanceGenerateur && StopGenerateur;
  }
};
