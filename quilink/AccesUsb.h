#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"

namespace quilink {

// The little of libusb that the USB backend needs, so that its logic can be
// tested with a fake (these machines have no USB at all).
class LienUsb {
 public:
  virtual ~LienUsb() = default;
  // Endpoint addresses of the claimed interface, in the order it lists them;
  // nothing when the configuration cannot be read.
  virtual std::optional<std::vector<uint8_t>> Points() = 0;
  virtual bool Descripteur(uint8_t (&descripteur)[18]) = 0;
  // A synchronous bulk transfer: 0 when done, a libusb error code otherwise. On
  // return the transfer is over (a timeout cancels it); `transferes` counts the
  // bytes that went through, a timeout's included.
  virtual int Bulk(uint8_t point, uint8_t *tampon, int longueur, int &transferes,
                   unsigned delaiMs) = 0;
  // Clears a stalled endpoint: 0 or a libusb error code.
  virtual int EffaceArret(uint8_t point) = 0;
};

class AccesUsb {
 public:
  virtual ~AccesUsb() = default;
  // Opens the device node, checks that the device has the oscilloscope's shape and
  // claims its interface; nullptr when that fails, and `echec` says why.
  virtual std::unique_ptr<LienUsb> Ouvre(const std::string &chemin, Echec &echec) = 0;
};

// What the device shows of itself before anything touches it.
struct PointUsb {
  uint8_t adresse;   // bit 7: device to host
  uint8_t attributs; // low two bits: the transfer type, 2 for bulk
};
struct FormeUsb {
  int interfaces = 0;
  uint8_t classe = 0;  // of the first interface's first setting
  std::vector<PointUsb> points;
};
// One vendor-specific interface whose endpoints are five bulk ones, two OUT then
// three IN: pipes 0 and 1 take commands, 2, 3 and 4 give data.
bool FormeDeQuilo(const FormeUsb &forme);

// The device node a path leads to, links followed; the path itself when it leads
// nowhere (its open then says why).
std::string NoeudReel(const std::string &chemin);

// The cause of a libusb error code, and of the error number of a failed open of the node.
Cause CauseLibusb(int code);
Cause CauseErrno(int e);

// The real thing, over libusb-1.0.
std::unique_ptr<AccesUsb> CreeAccesLibusb();

}  // namespace quilink
