// AccesUsb over libusb-1.0: the device node (the udev link) is opened as a file
// and handed to libusb, so that names work like the driver's symbolic links.
#include <fcntl.h>
#include <libusb.h>
#include <unistd.h>

#include <cstring>

#include "AccesUsb.h"

namespace quilink {

namespace {

class LienLibusb final : public LienUsb {
 public:
  LienLibusb(libusb_device_handle *h, int fd) : h_(h), fd_(fd) {}
  ~LienLibusb() override {
    libusb_release_interface(h_, 0);
    libusb_close(h_);
    ::close(fd_);
  }

  std::optional<std::vector<uint8_t>> Points() override {
    libusb_config_descriptor *config = nullptr;
    if (libusb_get_active_config_descriptor(libusb_get_device(h_), &config) != 0) return std::nullopt;
    std::vector<uint8_t> points;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
      const auto &interface = config->interface[0].altsetting[0];
      for (int i = 0; i < interface.bNumEndpoints; ++i)
        points.push_back(interface.endpoint[i].bEndpointAddress);
    }
    libusb_free_config_descriptor(config);
    return points;
  }

  bool Descripteur(uint8_t (&d)[18]) override {
    libusb_device_descriptor descripteur;
    if (libusb_get_device_descriptor(libusb_get_device(h_), &descripteur) != 0) return false;
    static_assert(sizeof descripteur == 18);
    std::memcpy(d, &descripteur, sizeof d);
    return true;
  }

  int Bulk(uint8_t point, uint8_t *tampon, int longueur, int &transferes, unsigned delaiMs) override {
    return libusb_bulk_transfer(h_, point, tampon, longueur, &transferes, delaiMs);
  }

 private:
  libusb_device_handle *h_;
  int fd_;
};

class AccesLibusb final : public AccesUsb {
 public:
  AccesLibusb() {
    if (libusb_init(&contexte_) != 0) contexte_ = nullptr;
  }
  ~AccesLibusb() override {
    if (contexte_) libusb_exit(contexte_);
  }

  std::unique_ptr<LienUsb> Ouvre(const std::string &chemin) override {
    if (!contexte_) return nullptr;
    const int fd = ::open(chemin.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    libusb_device_handle *h = nullptr;
    if (libusb_wrap_sys_device(contexte_, intptr_t(fd), &h) != 0) {
      ::close(fd);
      return nullptr;
    }
    libusb_set_auto_detach_kernel_driver(h, 1);
    if (libusb_claim_interface(h, 0) != 0) {
      libusb_close(h);
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<LienLibusb>(h, fd);
  }

 private:
  libusb_context *contexte_ = nullptr;
};

}  // namespace

std::unique_ptr<AccesUsb> CreeAccesLibusb() { return std::make_unique<AccesLibusb>(); }

}  // namespace quilink
