#include "BackendVirtuel.h"

#include <cstring>

#include "BancVirtuel.h"
#include "Bibliotheque.h"
#include "OscilloVirtuel.h"

namespace quilink {

namespace {

class ConnexionVirtuelle final : public Connexion {
 public:
  explicit ConnexionVirtuelle(std::shared_ptr<OscilloVirtuel> oscillo) : oscillo_(std::move(oscillo)) {}

  bool InfoPipes(uint8_t (&table)[TailleTablePipes]) override {
    if (!oscillo_->EstBranche()) return false;
    const auto &points = OscilloVirtuel::Points;
    EcritTablePipes(table, points.data(), int(points.size()));
    return true;
  }
  bool Descripteur(uint8_t (&d)[TailleDescripteur]) override {
    if (!oscillo_->EstBranche()) return false;
    // USB 2.0, vendor-specific class, 64-byte control packets, the build's ids, one
    // configuration
    const uint8_t descripteur[TailleDescripteur] = {
        18, 1, 0x00, 0x02, 0xFF, 0, 0, 64,
        ZELM_USB_VENDOR & 0xFF, ZELM_USB_VENDOR >> 8, ZELM_USB_PRODUCT & 0xFF, ZELM_USB_PRODUCT >> 8,
        0x00, 0x01, 1, 2, 0, 1};
    std::memcpy(d, descripteur, sizeof d);
    return true;
  }
  bool Lit(uint8_t pipe, uint8_t *tampon, uint32_t &longueur) override {
    return oscillo_->Lit(pipe, tampon, longueur);
  }
  bool Ecrit(uint8_t pipe, const uint8_t *tampon, uint32_t &longueur) override {
    return oscillo_->Ecrit(pipe, tampon, longueur);
  }
  Echec Cause() const override {
    if (!oscillo_->EstBranche()) return {Cause::Debranche, "banc virtuel"};
    return {Cause::Autre, "banc virtuel"};
  }

 private:
  std::shared_ptr<OscilloVirtuel> oscillo_;
};

class BackendVirtuel final : public Backend {
 public:
  std::unique_ptr<Connexion> Ouvre(const std::string &nom, Echec &echec) override {
    auto appareil = Banc().Appareil(nom);
    auto oscillo = std::dynamic_pointer_cast<OscilloVirtuel>(appareil);
    if (!oscillo || !oscillo->EstBranche()) {
      echec = {appareil && !oscillo ? Cause::AutreAppareil : Cause::SansNoeud, "banc virtuel"};
      return nullptr;
    }
    return std::make_unique<ConnexionVirtuelle>(std::move(oscillo));
  }
};

}  // namespace

std::unique_ptr<Backend> CreeBackendVirtuel() { return std::make_unique<BackendVirtuel>(); }

bool ActiveBancVirtuel(const char *preset, std::string &erreur) {
  if (!ChoisitBanc(preset, erreur)) return false;
  Quilink().DefinitBackend(CreeBackendVirtuel());
  return true;
}

}  // namespace quilink
