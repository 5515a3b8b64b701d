#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
  // return the transfer is over (a timeout cancels it).
  virtual int Bulk(uint8_t point, uint8_t *tampon, int longueur, int &transferes,
                   unsigned delaiMs) = 0;
};

class AccesUsb {
 public:
  virtual ~AccesUsb() = default;
  // Opens the device node and claims its interface 0; nullptr when that fails.
  virtual std::unique_ptr<LienUsb> Ouvre(const std::string &chemin) = 0;
};

// The real thing, over libusb-1.0.
std::unique_ptr<AccesUsb> CreeAccesLibusb();

}  // namespace quilink
