#include "Bibliotheque.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "Enregistrements.h"

namespace quilink {

namespace {

constexpr uint32_t TailleLecture = 64;

enum : uint8_t { PipeDepart = 0, PipeCommandes = 1, PipeVide = 2, PipeDonnees1 = 3, PipeDonnees2 = 4 };
constexpr uint8_t RequeteVersion = 6;

void EcritCompte(void *trame, int voie, int32_t compte) {
  std::memcpy(static_cast<uint8_t *>(trame) + PositionCompte(voie), &compte, sizeof compte);
}

uint8_t *Zone(void *trame, int voie) { return static_cast<uint8_t *>(trame) + PositionZone(voie); }

}  // namespace

void EcritTablePipes(uint8_t (&table)[TailleTablePipes], const uint8_t *adresses, int nombre) {
  std::memset(table, 0, sizeof table);
  table[0] = TailleTablePipes & 0xFF;
  table[1] = TailleTablePipes >> 8;
  table[12] = uint8_t(nombre);  // number of pipes
  for (int i = 0; i < std::min(nombre, NombrePipes); ++i) {
    uint8_t *entree = table + 16 + 20 * i;
    entree[0] = 64;  // maximum packet size
    entree[2] = adresses[i];
    entree[4] = 2;  // bulk
  }
}

Bibliotheque &Quilink() {
  static Bibliotheque bibliotheque;
  return bibliotheque;
}

// The open connections belong to the old backend (a libusb handle dies with its
// context): they are closed before it goes.
void Bibliotheque::DefinitBackend(std::unique_ptr<Backend> backend) {
  connexions_.clear();
  backend_ = std::move(backend);
}

Backend &Bibliotheque::BackendCourant() {
  if (!backend_) backend_ = BackendParDefaut();
  return *backend_;
}

// A failed pipe-information request would leave every pipe looking like OUT,
// turning reads into writes: such an open fails. The descriptor is not used.
int32_t Bibliotheque::Ouvre(const std::string &nom) {
  echecOuverture_ = {Cause::SansNoeud, nom};
  if (nom.size() > LongueurNomMax) return HandleInvalide;
  Echec echec{Cause::SansNoeud, nom};
  auto connexion = BackendCourant().Ouvre(nom, echec);
  if (!connexion) {
    echecOuverture_ = echec;
    return HandleInvalide;
  }
  uint8_t table[TailleTablePipes] = {};
  if (!connexion->InfoPipes(table)) {
    echecOuverture_ = {Cause::AutreAppareil, nom + ": configuration illisible"};
    return HandleInvalide;
  }
  echecOuverture_ = {};
  std::memcpy(tablePipes_, table, sizeof table);
  connexion->Descripteur(descripteur_);
  const int32_t handle = prochainHandle_;
  // handles stay positive: wrap before the addition could overflow
  prochainHandle_ = prochainHandle_ > INT32_MAX - 4 ? 0x100 : prochainHandle_ + 4;
  connexions_[handle] = {std::move(connexion), {}};
  return handle;
}

Echec Bibliotheque::CauseDe(int32_t handle) const {
  if (handle == HandleInvalide) return echecOuverture_;
  const auto it = connexions_.find(handle);
  if (it == connexions_.end()) return {Cause::Autre, "handle inconnu"};
  return it->second.echec;
}

int32_t Bibliotheque::Ferme(int32_t handle) {
  connexions_.erase(handle);
  return 1;
}

// One bulk request on `pipe` with the transfer-length word as the size; the
// direction comes from the pipe table.
bool Bibliotheque::Transfert(int32_t handle, uint8_t *tampon, int32_t pipe) {
  const auto it = connexions_.find(handle);
  if (it == connexions_.end()) return false;
  Ouverte &o = it->second;
  if (o.echec.cause == Cause::Debranche) return false;
  if (pipe < 0 || pipe >= NombrePipes) {
    o.echec = {Cause::Autre, "pipe " + std::to_string(pipe)};
    return false;
  }
  const uint8_t numero = uint8_t(pipe);
  const bool fait = tablePipes_[PositionAdresse(pipe)] & 0x80
                        ? o.connexion->Lit(numero, tampon, longueur_)
                        : o.connexion->Ecrit(numero, tampon, longueur_);
  o.echec = fait ? Echec{} : o.connexion->Cause();
  return fait;
}

int32_t Bibliotheque::Version(int32_t handle, uint8_t (&reponse)[TailleReponse]) {
  uint8_t tampon[TailleReponse] = {RequeteVersion};
  longueur_ = TailleReponse;
  if (!Transfert(handle, tampon, PipeCommandes)) return 0;
  std::memset(tampon, 0, sizeof tampon);
  longueur_ = TailleReponse;
  if (!Transfert(handle, tampon, PipeDonnees1)) return 0;
  std::memcpy(reponse, tampon, sizeof tampon);
  return 1;
}

int32_t Bibliotheque::EcritOctets(int32_t handle, int32_t pipe, const uint8_t *octets,
                                  int32_t longueur) {
  if (longueur < 0) return 0;
  longueur_ = uint32_t(longueur);
  return Transfert(handle, const_cast<uint8_t *>(octets), pipe) ? 1 : 0;
}

// Pipe 2, then pipes 3 and 4, 64 bytes each; the joined bytes of 3 and 4 go to
// the frame record by channel mode. In mode 0 the joined stream is split in
// pairs, channel 1 first, so an odd count on pipe 3 cannot swap the channels.
int32_t Bibliotheque::LitSalve(int32_t handle, void *trame, int32_t mode) {
  if (mode < 0 || mode > 2) return 0;
  uint8_t flux[2 * TailleLecture];
  longueur_ = TailleLecture;
  if (!Transfert(handle, flux, PipeVide)) return 0;
  longueur_ = TailleLecture;
  if (!Transfert(handle, flux, PipeDonnees1)) return 0;
  const uint32_t a = std::min(longueur_, TailleLecture);
  uint8_t b_tampon[TailleLecture];
  longueur_ = TailleLecture;
  if (!Transfert(handle, b_tampon, PipeDonnees2)) return 0;
  const uint32_t b = std::min(longueur_, TailleLecture);
  std::memcpy(flux + a, b_tampon, b);
  const int32_t total = int32_t(a + b);
  if (total == 0) return 0;
  if (mode == 0) {
    const int32_t paires = total / 2;
    for (int32_t i = 0; i < paires; ++i) {
      Zone(trame, 1)[i] = flux[2 * i];
      Zone(trame, 2)[i] = flux[2 * i + 1];
    }
    EcritCompte(trame, 1, paires);
    EcritCompte(trame, 2, paires);
  } else {
    std::memcpy(Zone(trame, mode), flux, size_t(total));
    EcritCompte(trame, 1, mode == 1 ? total : 0);
    EcritCompte(trame, 2, mode == 2 ? total : 0);
  }
  return total;
}

int32_t Bibliotheque::LitVoie(int32_t handle, void *trame, int32_t voie) {
  if (voie != 1 && voie != 2) return 0;
  uint8_t tampon[TailleLecture];
  longueur_ = TailleLecture;
  if (!Transfert(handle, tampon, voie == 1 ? PipeDonnees1 : PipeDonnees2)) return 0;
  const int32_t n = int32_t(std::min(longueur_, TailleLecture));
  std::memcpy(Zone(trame, voie), tampon, size_t(n));
  EcritCompte(trame, 1, voie == 1 ? n : 0);
  EcritCompte(trame, 2, voie == 2 ? n : 0);
  return n;
}

int32_t Bibliotheque::GetPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe) {
  if (longueur < 0) return 0;
  longueur_ = uint32_t(longueur);
  if (!Transfert(handle, static_cast<uint8_t *>(tampon), pipe)) return 0;
  return int32_t(longueur_);
}

int32_t Bibliotheque::SendPipe(int32_t handle, void *tampon, int32_t longueur, int32_t pipe) {
  if (longueur < 0) return 0;
  longueur_ = uint32_t(longueur);
  return Transfert(handle, static_cast<uint8_t *>(tampon), pipe) ? 1 : 0;
}

}  // namespace quilink
