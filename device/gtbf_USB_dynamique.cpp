#include "gtbf_USB_dynamique.h"

namespace {

GenerateurCharge<TGTBF_USB> &Generateur() {
  static GenerateurCharge<TGTBF_USB> generateur(FichierGTBF_USB);
  return generateur;
}

}  // namespace

void InitialiseGTBF_USB(const std::string &dossier) { Generateur().Initialise(dossier); }
void FinaliseGTBF_USB() { Generateur().Finalise(); }
bool GTBF_USBPresent() { return Generateur().Presente(); }
TGTBF_USB *GTBF_USB() { return Generateur().Driver(); }
