#pragma once
// The device-access library's C exports. Every operation exists twice: the plain
// name takes 8-bit strings, the name with a leading underscore 16-bit ones; both
// take and return 32-bit values. A handle is nonzero; -1 is a failed open.
//
// Strings are laid out as OLE automation strings (ChaineOle), and GetUSBData and
// GetUSBCanal fill a frame record (RecordTrame): both are in Enregistrements.h.
// A string that the library hands back (GetVersionOScillo) is one malloc'ed block
// starting at the length word, ended by a zero character; the string it replaces,
// when not null, must be such a block and is freed.
// Command record: int32 length n, then n bytes.
#include <cstdint>

#include "Enregistrements.h"

#define QUILINK_EXPORT extern "C" __attribute__((visibility("default")))

QUILINK_EXPORT int32_t SetPortOpen(const char *nom);
QUILINK_EXPORT int32_t _SetPortOpen(const char16_t *nom);
QUILINK_EXPORT int32_t SetPortClose(int32_t handle);
QUILINK_EXPORT int32_t _SetPortClose(int32_t handle);
QUILINK_EXPORT int32_t GetVersionOScillo(int32_t handle, char16_t **version);
QUILINK_EXPORT int32_t _GetVersion(int32_t handle, uint8_t *version);  // 13 bytes
QUILINK_EXPORT int32_t LanceAcqui(int32_t handle, int32_t depart);
QUILINK_EXPORT int32_t _LanceAcqui(int32_t handle, int32_t depart);
QUILINK_EXPORT int32_t StopAcqui(int32_t handle);
QUILINK_EXPORT int32_t _StopAcqui(int32_t handle);
QUILINK_EXPORT int32_t ConnectAlim(int32_t handle);
QUILINK_EXPORT int32_t _ConnectAlim(int32_t handle);
QUILINK_EXPORT int32_t CoupeAlim(int32_t handle);
QUILINK_EXPORT int32_t _CoupeAlim(int32_t handle);
QUILINK_EXPORT int32_t SendUSBData(int32_t handle, const void *commande);
QUILINK_EXPORT int32_t _SendUSBData(int32_t handle, const void *commande);
QUILINK_EXPORT int32_t GetUSBData(int32_t handle, void *trame, int32_t mode);
QUILINK_EXPORT int32_t _GetUSBData(int32_t handle, void *trame, int32_t mode);
QUILINK_EXPORT int32_t GetUSBCanal(int32_t handle, void *trame, int32_t voie);
QUILINK_EXPORT int32_t _GetUSBCanal(int32_t handle, void *trame, int32_t voie);
QUILINK_EXPORT int32_t GetPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe);
QUILINK_EXPORT int32_t _GetPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe);
QUILINK_EXPORT int32_t SendPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe);
QUILINK_EXPORT int32_t _SendPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe);

// Why the handle's last request failed, or for QUILINK_INVALID_HANDLE why the last open
// did: a QUILINK_CAUSE_ code. When `detail` is not null it receives up to `taille` - 1
// bytes of the lower layer's own words (the path, libusb's error name), then a zero.
// After QUILINK_CAUSE_DEBRANCHE the handle is dead: close it and open the device again.
QUILINK_EXPORT int32_t QuilinkCause(int32_t handle, char *detail, int32_t taille);
#define QUILINK_CAUSE_AUCUNE 0          // it did not fail
#define QUILINK_CAUSE_SANS_NOEUD 1      // no device node of that name (the udev rule)
#define QUILINK_CAUSE_SANS_DROIT 2      // not allowed to open it (group, seat)
#define QUILINK_CAUSE_OCCUPE 3          // another program or driver holds it
#define QUILINK_CAUSE_AUTRE_APPAREIL 4  // not a device of the oscilloscope's shape
#define QUILINK_CAUSE_DEBRANCHE 5       // the device has gone
#define QUILINK_CAUSE_BLOQUE 6          // the endpoint stalled; the next request may pass
#define QUILINK_CAUSE_DELAI 7           // nothing came in time
#define QUILINK_CAUSE_AUTRE 8

// Makes the virtual bench the backend of every later open, on the named preset:
// 1 if the preset exists, 0 (nothing changed) otherwise.
QUILINK_EXPORT int32_t QuilinkSimulation(const char *preset);
// Why the last QuilinkSimulation failed (empty after a success), as UTF-8 text cut to
// `taille` - 1 bytes and ended by 0; returns its whole length.
QUILINK_EXPORT int32_t QuilinkSimulationErreur(char *texte, int32_t taille);

#define QUILINK_INVALID_HANDLE (-1)
