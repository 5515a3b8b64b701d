// The C exports: plain names with 8-bit strings, underscored names with 16-bit
// ones; on this platform both forms share one calling convention.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "BackendVirtuel.h"
#include "Bibliotheque.h"
#include "Enregistrements.h"
#include "Quilink.h"

using quilink::Quilink;

namespace {

// Names longer than the library's 31 characters are refused before any request.
std::string NomCourt(const char *nom) {
  const std::string_view texte = TexteOle(nom).substr(0, 64);
  return std::string(texte.substr(0, texte.find('\0')));
}

std::string NomLarge(const char16_t *nom) {
  std::string resultat;
  for (const char16_t c : TexteOle(nom).substr(0, 64)) {
    if (!(c & 0xFF)) break;
    resultat += char(c & 0xFF);
  }
  return resultat;
}

// The reply as 16-bit characters up to the first zero one, in a new string block.
char16_t *ChaineVersion(const uint8_t (&reponse)[64]) {
  int32_t n = 0;
  while (n < 32 && (reponse[2 * n] | reponse[2 * n + 1])) ++n;
  auto *bloc = static_cast<uint8_t *>(std::malloc(4 + 2 * size_t(n) + 2));
  if (!bloc) return nullptr;
  const int32_t octets = 2 * n;
  std::memcpy(bloc, &octets, 4);
  std::memcpy(bloc + 4, reponse, size_t(octets));
  bloc[4 + octets] = bloc[5 + octets] = 0;
  return reinterpret_cast<char16_t *>(bloc + 4);
}

int32_t Commande(int32_t handle, int32_t pipe, std::initializer_list<uint8_t> octets) {
  return Quilink().EcritOctets(handle, pipe, octets.begin(), int32_t(octets.size()));
}

int32_t EnvoieRecord(int32_t handle, const void *commande) {
  int32_t n;
  std::memcpy(&n, commande, sizeof n);
  return Quilink().EcritOctets(handle, 1, static_cast<const uint8_t *>(commande) + 4, n);
}

}  // namespace

int32_t SetPortOpen(const char *nom) { return Quilink().Ouvre(NomCourt(nom)); }
int32_t _SetPortOpen(const char16_t *nom) { return Quilink().Ouvre(NomLarge(nom)); }
int32_t SetPortClose(int32_t h) { return Quilink().Ferme(h); }
int32_t _SetPortClose(int32_t h) { return Quilink().Ferme(h); }

int32_t GetVersionOScillo(int32_t h, char16_t **version) {
  uint8_t reponse[64];
  if (!version || !Quilink().Version(h, reponse)) return 0;
  char16_t *nouvelle = ChaineVersion(reponse);
  if (!nouvelle) return 0;
  if (*version) std::free(reinterpret_cast<uint8_t *>(*version) - 4);
  *version = nouvelle;
  return 1;
}

int32_t _GetVersion(int32_t h, uint8_t *version) {
  uint8_t reponse[64];
  if (!Quilink().Version(h, reponse)) return 0;
  std::memcpy(version, reponse, 12);
  version[12] = 0;
  return 1;
}

int32_t LanceAcqui(int32_t h, int32_t depart) { return Commande(h, 0, {uint8_t(depart)}); }
int32_t _LanceAcqui(int32_t h, int32_t depart) { return LanceAcqui(h, depart); }
int32_t StopAcqui(int32_t h) { return Commande(h, 1, {0}); }
int32_t _StopAcqui(int32_t h) { return StopAcqui(h); }
int32_t ConnectAlim(int32_t h) { return Commande(h, 1, {5, 1}); }
int32_t _ConnectAlim(int32_t h) { return ConnectAlim(h); }
int32_t CoupeAlim(int32_t h) { return Commande(h, 1, {5, 0}); }
int32_t _CoupeAlim(int32_t h) { return CoupeAlim(h); }
int32_t SendUSBData(int32_t h, const void *commande) { return EnvoieRecord(h, commande); }
int32_t _SendUSBData(int32_t h, const void *commande) { return EnvoieRecord(h, commande); }

int32_t GetUSBData(int32_t h, void *trame, int32_t mode) { return Quilink().LitSalve(h, trame, mode); }
int32_t _GetUSBData(int32_t h, void *trame, int32_t mode) { return GetUSBData(h, trame, mode); }
int32_t GetUSBCanal(int32_t h, void *trame, int32_t voie) { return Quilink().LitVoie(h, trame, voie); }
int32_t _GetUSBCanal(int32_t h, void *trame, int32_t voie) { return GetUSBCanal(h, trame, voie); }

int32_t GetPipe(int32_t h, void *tampon, int32_t longueur, int32_t pipe) {
  return Quilink().GetPipe(h, tampon, longueur, pipe);
}
int32_t _GetPipe(int32_t h, void *tampon, int32_t longueur, int32_t pipe) {
  return GetPipe(h, tampon, longueur, pipe);
}
int32_t SendPipe(int32_t h, void *tampon, int32_t longueur, int32_t pipe) {
  return Quilink().SendPipe(h, tampon, longueur, pipe);
}
int32_t _SendPipe(int32_t h, void *tampon, int32_t longueur, int32_t pipe) {
  return SendPipe(h, tampon, longueur, pipe);
}

static_assert(int(quilink::Cause::SansNoeud) == QUILINK_CAUSE_SANS_NOEUD &&
              int(quilink::Cause::Debranche) == QUILINK_CAUSE_DEBRANCHE &&
              int(quilink::Cause::Autre) == QUILINK_CAUSE_AUTRE);

int32_t QuilinkCause(int32_t h, char *detail, int32_t taille) {
  const quilink::Echec echec = Quilink().CauseDe(h);
  if (detail && taille > 0) {
    const size_t n = std::min(echec.detail.size(), size_t(taille) - 1);
    std::memcpy(detail, echec.detail.data(), n);
    detail[n] = 0;
  }
  return int32_t(echec.cause);
}

namespace {
std::mutex verrouErreurBanc;
std::string erreurBanc;
}  // namespace

int32_t QuilinkSimulation(const char *preset) {
  std::string erreur = "aucun banc";
  const bool ok = preset && quilink::ActiveBancVirtuel(preset, erreur);
  std::lock_guard verrou(verrouErreurBanc);
  erreurBanc = ok ? std::string() : erreur;
  return ok ? 1 : 0;
}

int32_t QuilinkSimulationErreur(char *texte, int32_t taille) {
  std::lock_guard verrou(verrouErreurBanc);
  if (texte && taille > 0) {
    const std::size_t n = std::min(erreurBanc.size(), std::size_t(taille - 1));
    std::memcpy(texte, erreurBanc.data(), n);
    texte[n] = 0;
  }
  return int32_t(erreurBanc.size());
}
