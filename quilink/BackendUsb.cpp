#include "BackendUsb.h"

#include <libusb.h>

#include "Bibliotheque.h"

namespace quilink {

namespace {

constexpr uint8_t ClasseVendeur = 0xFF;
constexpr uint8_t TypeBulk = 2;

class ConnexionUsb final : public Connexion {
 public:
  explicit ConnexionUsb(std::unique_ptr<LienUsb> lien) : lien_(std::move(lien)) {}

  bool InfoPipes(uint8_t (&table)[TailleTablePipes]) override {
    auto points = lien_->Points();
    if (!points) return false;
    points_ = std::move(*points);
    EcritTablePipes(table, points_.data(), int(points_.size()));
    return true;
  }
  bool Descripteur(uint8_t (&d)[TailleDescripteur]) override { return lien_->Descripteur(d); }
  bool Lit(uint8_t pipe, uint8_t *tampon, uint32_t &longueur) override {
    return Transfert(pipe, true, tampon, longueur);
  }
  bool Ecrit(uint8_t pipe, const uint8_t *tampon, uint32_t &longueur) override {
    return Transfert(pipe, false, const_cast<uint8_t *>(tampon), longueur);
  }
  Echec Cause() const override { return echec_; }

 private:
  bool Echoue(quilink::Cause cause, int code) {
    echec_ = {cause, libusb_error_name(code)};
    return false;
  }

  // A read keeps what came before its timeout; a write is whole or failed. A stall
  // fails that one transfer and clears the halt for the next. (Once the device has gone
  // the library sends nothing more on the connection.)
  bool Transfert(uint8_t pipe, bool entrant, uint8_t *tampon, uint32_t &longueur) {
    if (pipe >= points_.size() || bool(points_[pipe] & 0x80) != entrant || longueur > 0x7FFFFFFF)
      return Echoue(Cause::Autre, LIBUSB_ERROR_INVALID_PARAM);
    const uint8_t point = points_[pipe];
    int transferes = 0;
    const int r = lien_->Bulk(point, tampon, int(longueur), transferes, DelaiTransfertMs);
    const bool recu = r == 0 || (r == LIBUSB_ERROR_TIMEOUT && entrant && transferes > 0);
    if (recu && (entrant || transferes == int(longueur))) {
      longueur = uint32_t(transferes);
      return true;
    }
    if (r == 0) return Echoue(Cause::Autre, LIBUSB_ERROR_IO);  // a write cut short
    if (r == LIBUSB_ERROR_PIPE) lien_->EffaceArret(point);
    return Echoue(CauseLibusb(r), r);
  }

  std::unique_ptr<LienUsb> lien_;
  std::vector<uint8_t> points_;
  Echec echec_;
};

class BackendUsb final : public Backend {
 public:
  explicit BackendUsb(std::unique_ptr<AccesUsb> acces) : acces_(std::move(acces)) {}
  std::unique_ptr<Connexion> Ouvre(const std::string &nom, Echec &echec) override {
    const auto chemin = CheminPeripherique(nom);
    if (!chemin || !acces_) {
      echec = {Cause::SansNoeud, nom};
      return nullptr;
    }
    auto lien = acces_->Ouvre(*chemin, echec);
    if (!lien) return nullptr;
    return std::make_unique<ConnexionUsb>(std::move(lien));
  }

 private:
  std::unique_ptr<AccesUsb> acces_;
};

}  // namespace

bool FormeDeQuilo(const FormeUsb &f) {
  if (f.interfaces != 1 || f.classe != ClasseVendeur || f.points.size() != 5) return false;
  for (size_t i = 0; i < f.points.size(); ++i) {
    const bool entrant = f.points[i].adresse & 0x80;
    if ((f.points[i].attributs & 3) != TypeBulk || entrant != (i >= 2)) return false;
  }
  return true;
}

Cause CauseLibusb(int code) {
  switch (code) {
    case LIBUSB_SUCCESS: return Cause::Aucune;
    case LIBUSB_ERROR_ACCESS: return Cause::SansDroit;
    case LIBUSB_ERROR_BUSY: return Cause::Occupe;
    case LIBUSB_ERROR_NO_DEVICE: return Cause::Debranche;
    case LIBUSB_ERROR_PIPE: return Cause::Bloque;
    case LIBUSB_ERROR_TIMEOUT: return Cause::Delai;
    default: return Cause::Autre;
  }
}

std::optional<std::string> CheminPeripherique(const std::string &nom) {
  if (nom.empty() || nom == "." || nom == ".." || nom.find('/') != std::string::npos)
    return std::nullopt;
  return "/dev/" + nom;
}

std::unique_ptr<Backend> CreeBackendUsb(std::unique_ptr<AccesUsb> acces) {
  return std::make_unique<BackendUsb>(std::move(acces));
}

std::unique_ptr<Backend> BackendParDefaut() { return CreeBackendUsb(CreeAccesLibusb()); }

}  // namespace quilink
