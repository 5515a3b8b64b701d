#include "BackendUsb.h"

#include "Bibliotheque.h"

namespace quilink {

namespace {

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

 private:
  bool Transfert(uint8_t pipe, bool entrant, uint8_t *tampon, uint32_t &longueur) {
    if (pipe >= points_.size() || bool(points_[pipe] & 0x80) != entrant) return false;
    if (longueur > 0x7FFFFFFF) return false;
    int transferes = 0;
    if (lien_->Bulk(points_[pipe], tampon, int(longueur), transferes, DelaiTransfertMs) != 0)
      return false;
    longueur = uint32_t(transferes);
    return true;
  }

  std::unique_ptr<LienUsb> lien_;
  std::vector<uint8_t> points_;
};

class BackendUsb final : public Backend {
 public:
  explicit BackendUsb(std::unique_ptr<AccesUsb> acces) : acces_(std::move(acces)) {}
  std::unique_ptr<Connexion> Ouvre(const std::string &nom) override {
    const auto chemin = CheminPeripherique(nom);
    if (!chemin || !acces_) return nullptr;
    auto lien = acces_->Ouvre(*chemin);
    if (!lien) return nullptr;
    return std::make_unique<ConnexionUsb>(std::move(lien));
  }

 private:
  std::unique_ptr<AccesUsb> acces_;
};

}  // namespace

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
