// One of this platform's generator libraries, built once per kind of generator
// (MODELE_GENERATEUR names the kind). Behind its five entries it drives the virtual
// generators of the process's bench; a name with no such generator there does not open.
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "BancVirtuel.h"
#include "Enregistrements.h"
#include "GenerateurVirtuel.h"
#include "PrototypesGenerateur.h"

#define ENTREE extern "C" __attribute__((visibility("default")))

namespace {

constexpr const ModeleGenerateurVirtuel &Modele = MODELE_GENERATEUR;
constexpr char Version[] = "QuiloGenSim 1.0";
// Longest device name taken, in characters.
constexpr std::size_t NomMax = 31;

// Open handles of this library, each with the plug-in it was opened in: a generator
// taken off the bench, or unplugged since, leaves a dead handle.
struct Ouvert {
  std::weak_ptr<GenerateurVirtuel> generateur;
  uint32_t branchement;
};
std::map<int32_t, Ouvert> &Ouverts() {
  static std::map<int32_t, Ouvert> ouverts;
  return ouverts;
}

std::shared_ptr<GenerateurVirtuel> Generateur(int32_t handle) {
  const auto it = Ouverts().find(handle);
  if (it == Ouverts().end()) return nullptr;
  auto generateur = it->second.generateur.lock();
  if (!generateur || generateur->Branchement() != it->second.branchement) return nullptr;
  return generateur;
}

// The 16-bit name whose byte length precedes it; empty when it is not a plain name.
std::string NomAppareil(const char16_t *nom) {
  if (LongueurOle(nom) % 2 != 0) return {};
  const std::u16string_view texte = TexteOle(nom);
  if (texte.size() > NomMax) return {};
  std::string s;
  for (const char16_t c : texte) {
    if (c == 0 || c > 0x7E) return {};
    s += static_cast<char>(c);
  }
  return s;
}

bool NomDuModele(const std::string &nom) {
  return nom == Modele.noms[0] || nom == Modele.noms[1];
}

}  // namespace

ENTREE int32_t _SetPortOpen(const char16_t *nom) {
  const std::string appareil = NomAppareil(nom);
  if (!NomDuModele(appareil)) return 0;
  auto generateur = std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil(appareil));
  // the other kind of generator under one of this kind's names does not answer either
  if (!generateur || std::strcmp(generateur->Modele().noms[0], Modele.noms[0]) != 0) return 0;
  const uint32_t branchement = generateur->Branchement();
  if (branchement == 0) return 0;
  static int32_t dernier = 0;
  dernier = dernier == INT32_MAX ? 1 : dernier + 1;  // never 0, never past the 32 bits
  const int32_t handle = dernier;
  Ouverts()[handle] = {generateur, branchement};
  return handle;
}

ENTREE int32_t _SetPortClose(int32_t handle) { return Ouverts().erase(handle) ? 1 : 0; }

// Writes the version text, zero-ended, into at least 32 bytes.
ENTREE int32_t _GetVersion(int32_t handle, char *version) {
  if (!version || !Generateur(handle)) return 0;
  std::memcpy(version, Version, sizeof Version);
  return static_cast<int32_t>(sizeof Version - 1);
}

ENTREE int32_t _LanceGenerateur(int32_t handle, int32_t mode, const uint8_t *enregistrement) {
  const auto generateur = Generateur(handle);
  if (!generateur || mode != ModeContinu || !enregistrement) return 0;
  return generateur->Lance(enregistrement) ? 1 : 0;
}

ENTREE int32_t _StopGenerateur(int32_t handle) {
  const auto generateur = Generateur(handle);
  if (!generateur) return 0;
  generateur->Stoppe();
  return 1;
}

// The entries are the very ones the drivers' bindings load: a signature that drifts from
// the shared prototypes does not compile.
static_assert(std::is_same_v<decltype(&_SetPortOpen), FnSetPortOpen>);
static_assert(std::is_same_v<decltype(&_SetPortClose), FnSetPortClose>);
static_assert(std::is_same_v<decltype(&_GetVersion), FnGetVersion>);
static_assert(std::is_same_v<decltype(&_LanceGenerateur), FnLanceGenerateur>);
static_assert(std::is_same_v<decltype(&_StopGenerateur), FnStopGenerateur>);
