#include "gbf_USB_dynamique.h"

#include <memory>

namespace {

BibliothequeGenerateur &Bibliotheque() {
  static BibliothequeGenerateur bibliotheque(FichierGBF_USB);
  return bibliotheque;
}

std::unique_ptr<TGBF_USB> &Pilote() {
  static std::unique_ptr<TGBF_USB> pilote;
  return pilote;
}

}  // namespace

void InitialiseGBF_USB(const std::string &dossier) {
  FinaliseGBF_USB();
  Bibliotheque().Charge(dossier);
  Pilote() = std::make_unique<TGBF_USB>(Bibliotheque().Entrees());
}

void FinaliseGBF_USB() {
  if (Pilote() && Bibliotheque().Presente()) Pilote()->Ferme();
  Pilote().reset();
  Bibliotheque().Libere();
}

bool GBF_USBPresent() { return Bibliotheque().Presente(); }

TGBF_USB *GBF_USB() { return Pilote().get(); }
