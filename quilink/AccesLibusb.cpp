// AccesUsb over libusb-1.0: the device node (the udev link) is opened as a file
// and handed to libusb, so that names work like the driver's symbolic links.
#include <fcntl.h>
#include <libusb.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
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

  int EffaceArret(uint8_t point) override { return libusb_clear_halt(h_, point); }

 private:
  libusb_device_handle *h_;
  int fd_;
};

// The shape of the device's active configuration, read from the descriptors libusb
// already holds: nothing is sent to the device.
std::optional<FormeUsb> Forme(libusb_device_handle *h) {
  libusb_config_descriptor *config = nullptr;
  if (libusb_get_active_config_descriptor(libusb_get_device(h), &config) != 0) return std::nullopt;
  FormeUsb forme;
  forme.interfaces = config->bNumInterfaces;
  if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
    const auto &interface = config->interface[0].altsetting[0];
    forme.classe = interface.bInterfaceClass;
    for (int i = 0; i < interface.bNumEndpoints; ++i)
      forme.points.push_back({interface.endpoint[i].bEndpointAddress,
                              interface.endpoint[i].bmAttributes});
  }
  libusb_free_config_descriptor(config);
  return forme;
}

Echec EchecLibusb(const std::string &chemin, const char *etape, int code) {
  return {CauseLibusb(code), chemin + ": " + etape + " " + libusb_error_name(code)};
}

class AccesLibusb final : public AccesUsb {
 public:
  AccesLibusb() {
    if (libusb_init(&contexte_) != 0) contexte_ = nullptr;
  }
  ~AccesLibusb() override {
    if (contexte_) libusb_exit(contexte_);
  }

  std::unique_ptr<LienUsb> Ouvre(const std::string &chemin, Echec &echec) override {
    if (!contexte_) {
      echec = {Cause::Autre, "libusb_init"};
      return nullptr;
    }
    const int fd = ::open(NoeudReel(chemin).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
      const int e = errno;
      echec = {CauseErrno(e), chemin + ": " + std::strerror(e)};
      return nullptr;
    }
    libusb_device_handle *h = nullptr;
    if (const int r = libusb_wrap_sys_device(contexte_, intptr_t(fd), &h); r != 0) {
      ::close(fd);
      // a node that is not a USB device at all
      echec = EchecLibusb(chemin, "libusb_wrap_sys_device", r);
      if (echec.cause == Cause::Autre) echec.cause = Cause::AutreAppareil;
      return nullptr;
    }
    if (!Prepare(h, chemin, echec)) {
      libusb_close(h);
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<LienLibusb>(h, fd);
  }

 private:
  // Checks the shape before anything is sent, then detaches a kernel driver only if
  // one is bound (asking to detach where none is, or where the platform cannot say,
  // fails the claim), then claims interface 0.
  static bool Prepare(libusb_device_handle *h, const std::string &chemin, Echec &echec) {
    const auto forme = Forme(h);
    if (!forme || !FormeDeQuilo(*forme)) {
      echec = {Cause::AutreAppareil, chemin + ": pas la forme d'un oscillo Quilo"};
      return false;
    }
    if (libusb_kernel_driver_active(h, 0) == 1) {
      if (const int r = libusb_detach_kernel_driver(h, 0); r != 0) {
        echec = EchecLibusb(chemin, "libusb_detach_kernel_driver", r);
        return false;
      }
    }
    if (const int r = libusb_claim_interface(h, 0); r != 0) {
      echec = EchecLibusb(chemin, "libusb_claim_interface", r);
      return false;
    }
    return true;
  }

  libusb_context *contexte_ = nullptr;
};

}  // namespace

// The node itself rather than the udev link to it: the kernel's usbfs node is what a
// USB stack (and a test bed's emulation of one) knows the device by.
Cause CauseErrno(int e) {
  return e == ENOENT ? Cause::SansNoeud : e == EACCES || e == EPERM ? Cause::SansDroit : Cause::Autre;
}

std::string NoeudReel(const std::string &chemin) {
  char reel[PATH_MAX];
  return ::realpath(chemin.c_str(), reel) ? std::string(reel) : chemin;
}

std::unique_ptr<AccesUsb> CreeAccesLibusb() { return std::make_unique<AccesLibusb>(); }

}  // namespace quilink
