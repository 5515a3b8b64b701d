// A stand-in generator library for the binding tests, built three ways:
//   default             answers handle 7 for a device name ending in "-1"
//   ESSAI_MUETTE        answers no device
//   ESSAI_SANS_OPEN     lacks _SetPortOpen
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Enregistrements.h"

extern "C" {

#ifndef ESSAI_SANS_OPEN
__attribute__((visibility("default"))) int32_t _SetPortOpen(const char16_t *nom) {
#ifdef ESSAI_MUETTE
  (void)nom;
  return 0;
#else
  const std::u16string_view texte = TexteOle(nom);
  return texte.ends_with(u"-1") && nom[texte.size()] == 0 ? 7 : 0;
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
