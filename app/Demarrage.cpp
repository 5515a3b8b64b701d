#include "Demarrage.h"

#include "Fft.h"
#include "CycleAcquisition.h"
#include "ServicesZelm.h"
#include "TZelmMainForm.h"
#include "uniteKer.h"

void InitialiseModules(const QString &documents) {
  Fft::Initialise();
  InitialiseDossierTabulo(documents);
  InitialiseUnites();
  PasFrequence = 100.0;
}

void FinaliseModules() {}

AccesGenerateurs GenerateursPresents() { return {}; }
