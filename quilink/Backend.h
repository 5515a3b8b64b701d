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
};

// Where devices are opened by name: real USB or the virtual bench.
class Backend {
 public:
  virtual ~Backend() = default;
  // nullptr when no such device answers.
  virtual std::unique_ptr<Connexion> Ouvre(const std::string &nom) = 0;
};

// Fills a pipe table with one bulk entry per endpoint address, in order.
void EcritTablePipes(uint8_t (&table)[TailleTablePipes], const uint8_t *adresses, int nombre);

}  // namespace quilink
