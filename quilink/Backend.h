#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace quilink {

inline constexpr int TailleTablePipes = 336;  // 16-byte header, 16 entries of 20 bytes
inline constexpr int TailleDescripteur = 18;
inline constexpr int NombrePipes = 16;

// Byte 2 of pipe entry i: its endpoint address (bit 7 set: device to host).
inline constexpr int PositionAdresse(int pipe) { return 16 + 20 * pipe + 2; }

// Why an open or a request failed, as the model is told (QuilinkCause): the values of
// the QUILINK_CAUSE_ codes of Quilink.h.
enum class Cause : int32_t {
  Aucune = 0,         // it did not fail
  SansNoeud = 1,      // no device node under that name
  SansDroit = 2,      // the node or the device may not be opened by this user
  Occupe = 3,         // another program or driver holds the interface
  AutreAppareil = 4,  // the node is not a device of this shape
  Debranche = 5,      // the device has gone: the connection is dead
  Bloque = 6,         // the endpoint stalled (its halt is cleared)
  Delai = 7,          // nothing within the transfer's time
  Autre = 8,
};
struct Echec {
  Cause cause = Cause::Aucune;
  std::string detail;  // the lower layer's own words: path, libusb's error name
};

// One opened device: the four requests the library makes. A request either
// completes before it returns or fails; `longueur` is the size wanted and becomes
// the size transferred.
class Connexion {
 public:
  virtual ~Connexion() = default;
  virtual bool InfoPipes(uint8_t (&table)[TailleTablePipes]) = 0;
  virtual bool Descripteur(uint8_t (&descripteur)[TailleDescripteur]) = 0;
  virtual bool Lit(uint8_t pipe, uint8_t *tampon, uint32_t &longueur) = 0;
  virtual bool Ecrit(uint8_t pipe, const uint8_t *tampon, uint32_t &longueur) = 0;
  // Why the last request that failed did.
  virtual Echec Cause() const { return {quilink::Cause::Autre, {}}; }
};

// Where devices are opened by name: real USB or the virtual bench.
class Backend {
 public:
  virtual ~Backend() = default;
  // nullptr when no such device answers, and `echec` says why.
  virtual std::unique_ptr<Connexion> Ouvre(const std::string &nom, Echec &echec) = 0;
};

// Fills a pipe table with one bulk entry per endpoint address, in order.
void EcritTablePipes(uint8_t (&table)[TailleTablePipes], const uint8_t *adresses, int nombre);

}  // namespace quilink
