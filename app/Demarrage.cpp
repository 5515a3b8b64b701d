#include "Demarrage.h"

#include "CycleAcquisition.h"
#include "Fft.h"
#include "ServicesZelm.h"
#include "TZelmMainForm.h"
#include "gbf_USB_dynamique.h"
#include "gtbf_USB_dynamique.h"
#include "uniteKer.h"

void InitialiseModules(const QString &documents) {
  Fft::Initialise();
  InitialiseDossierTabulo(documents);
  InitialiseUnites();
  PasFrequence = 100.0;
  InitialiseGBF_USB();
  InitialiseGTBF_USB();
}

void FinaliseModules() {
  FinaliseGTBF_USB();
  FinaliseGBF_USB();
}

AccesGenerateurs GenerateursPresents() {
  AccesGenerateurs g;
  if (GBF_USBPresent()) g.OuvreGBF = [] { return GBF_USB() && GBF_USB()->Ouvre(); };
  if (GTBF_USBPresent()) g.OuvreGTBF = [] { return GTBF_USB() && GTBF_USB()->Ouvre(); };
  g.Eteint = [](int type) {
    if (type == 1 && GBF_USB()) GBF_USB()->Stoppe();
    if (type == 2 && GTBF_USB()) GTBF_USB()->Stoppe();
  };
  return g;
}
