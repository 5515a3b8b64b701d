#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "Backend.h"

namespace quilink {

// The library's process-wide state and its operations, behind the C exports.
// One transfer at a time for the whole process: callers serialise.
class Bibliotheque {
 public:
  static constexpr int32_t HandleInvalide = -1;
  static constexpr int LongueurNomMax = 31;
  static constexpr int TailleReponse = 64;

  // The backend of every later open (the library keeps it).
  void DefinitBackend(std::unique_ptr<Backend> backend);

  int32_t Ouvre(const std::string &nom);
  int32_t Ferme(int32_t handle);
  // The raw 64-byte version reply; the buffer is zeroed first, so a short reply
  // leaves zeros. 1 done, 0 failed (reponse untouched).
  int32_t Version(int32_t handle, uint8_t (&reponse)[TailleReponse]);
  int32_t EcritOctets(int32_t handle, int32_t pipe, const uint8_t *octets, int32_t longueur);
  int32_t LitSalve(int32_t handle, void *trame, int32_t mode);
  int32_t LitVoie(int32_t handle, void *trame, int32_t voie);
  int32_t GetPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe);
  int32_t SendPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe);

  // The pipe table of the most recent open.
  const uint8_t *TablePipes() const { return tablePipes_; }
  // The device descriptor of the most recent open.
  const uint8_t *Descripteur() const { return descripteur_; }

  // Why the handle's last request failed (Aucune when it did not); for HandleInvalide,
  // why the last open failed. A handle whose device has gone stays dead: its requests
  // fail at once, until it is closed and the device opened again.
  Echec CauseDe(int32_t handle) const;

 private:
  struct Ouverte {
    std::unique_ptr<Connexion> connexion;
    Echec echec;
  };
  bool Transfert(int32_t handle, uint8_t *tampon, int32_t pipe);
  Backend &BackendCourant();

  std::unique_ptr<Backend> backend_;
  std::map<int32_t, Ouverte> connexions_;
  Echec echecOuverture_;
  int32_t prochainHandle_ = 0x100;
  uint8_t tablePipes_[TailleTablePipes] = {};
  uint8_t descripteur_[TailleDescripteur] = {};
  uint32_t longueur_ = 0;  // the transfer-length word: wanted, then transferred
};

// The library of this process.
Bibliotheque &Quilink();

// The backend used until another is chosen: real USB.
std::unique_ptr<Backend> BackendParDefaut();

}  // namespace quilink
