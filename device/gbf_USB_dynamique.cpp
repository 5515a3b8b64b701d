#include "gbf_USB_dynamique.h"

namespace {

GenerateurCharge<TGBF_USB> &Generateur() {
  static GenerateurCharge<TGBF_USB> generateur(FichierGBF_USB);
  return generateur;
}

}  // namespace

void InitialiseGBF_USB(const std::string &dossier) { Generateur().Initialise(dossier); }
void FinaliseGBF_USB() { Generateur().Finalise(); }
bool GBF_USBPresent() { return Generateur().Presente(); }
TGBF_USB *GBF_USB() { return Generateur().Driver(); }
