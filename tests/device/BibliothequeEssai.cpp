// A stand-in generator library for the binding tests, built three ways:
//   default             answers handle 7 for a device name ending in "-1"
//   ESSAI_MUETTE        answers no device
//   ESSAI_SANS_OPEN     lacks _SetPortOpen
#include <cstdint>
#include <cstring>

#include "Enregistrements.h"

extern "C" {

#ifndef ESSAI_SANS_OPEN
__attribute__((visibility("default"))) int32_t _SetPortOpen(const char16_t *nom) {
#ifdef ESSAI_MUETTE
  (void)nom;
  return 0;
#else
  const int32_t n = LongueurOle(nom) / 2;
  return n >= 2 && nom[n - 2] == u'-' && nom[n - 1] == u'1' && nom[n] == 0 ? 7 : 0;
#endif
}
#endif

__attribute__((visibility("default"))) int32_t _SetPortClose(int32_t) { return 1; }
__attribute__((visibility("default"))) int32_t _GetVersion(int32_t, char *v) {
  std::strcpy(v, "essai");
  return 5;
}
__attribute__((visibility("default"))) int32_t _LanceGenerateur(int32_t, int32_t,
                                                                const uint8_t *) {
  return 1;
}
__attribute__((visibility("default"))) int32_t _StopGenerateur(int32_t) { return 1; }
}
