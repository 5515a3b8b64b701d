#include "Demarrage.h"

#include "Fft.h"
#include "GraphesProvisoires.h"
#include "ServicesZelm.h"
#include "TZelmMainForm.h"
#include "uniteKer.h"

void InitialiseModules(const QString &documents) {
  Fft::Initialise();
  InitialiseDossierTabulo(documents);
  InitialiseUnites();
  provisoire::PasFrequence = 100.0;
}

void FinaliseModules() {}

AccesGenerateurs GenerateursPresents() { return {}; }
