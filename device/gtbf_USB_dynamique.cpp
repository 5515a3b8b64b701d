#include "gtbf_USB_dynamique.h"

#include <memory>

namespace {

BibliothequeGenerateur &Bibliotheque() {
  static BibliothequeGenerateur bibliotheque(FichierGTBF_USB);
  return bibliotheque;
}

std::unique_ptr<TGTBF_USB> &Pilote() {
  static std::unique_ptr<TGTBF_USB> pilote;
  return pilote;
}

}  // namespace

void InitialiseGTBF_USB(const std::string &dossier) {
  FinaliseGTBF_USB();
  Bibliotheque().Charge(dossier);
  Pilote() = std::make_unique<TGTBF_USB>(Bibliotheque().Entrees());
}

void FinaliseGTBF_USB() {
  if (Pilote() && Bibliotheque().Presente()) Pilote()->Ferme();
  Pilote().reset();
  Bibliotheque().Libere();
}

bool GTBF_USBPresent() { return Bibliotheque().Presente(); }

TGTBF_USB *GTBF_USB() { return Pilote().get(); }
