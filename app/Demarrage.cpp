#include "Demarrage.h"

#include "Fft.h"
#include "ServicesZelm.h"
#include "gbf_USB_dynamique.h"
#include "gtbf_USB_dynamique.h"
#include "uniteKer.h"

std::string InitialiseModules(const QString &documents) {
  Fft::Initialise();
  std::string dossier = InitialiseDossierTabulo(documents);
  InitialiseUnites();
  InitialiseGBF_USB();
  InitialiseGTBF_USB();
  return dossier;
}

void FinaliseModules() {
  FinaliseGTBF_USB();
  FinaliseGBF_USB();
}
