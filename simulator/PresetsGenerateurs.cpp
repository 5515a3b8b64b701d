#include "PresetsGenerateurs.h"

#include <memory>

#include "Circuits.h"
#include "CircuitsMesure.h"
#include "GenerateurVirtuel.h"
#include "Sources.h"

namespace {

std::shared_ptr<const Source> SinusDemo() {
  return std::make_shared<Sinus>(1.0, FrequenceRemplacant);
}

// Channel 1: the low-frequency generator (the demo sine while it rests); channel 2: the
// same through an RC low-pass cut at 1 kHz.
void Demo(BancVirtuel &banc) {
  banc.BrancheOscillo();
  BrancheGenerateur(banc, GenerateurBF, SinusDemo());
  banc.DefinitCircuit(std::make_shared<PasseBasRC>(CoupureDemo));
}

// The same bench with the very-low-frequency generator instead.
void DemoTBF(BancVirtuel &banc) {
  banc.BrancheOscillo();
  BrancheGenerateur(banc, GenerateurTBF, SinusDemo());
  banc.DefinitCircuit(std::make_shared<PasseBasRC>(CoupureDemo));
}

// The low-frequency generator (0 V while it rests) into a band-pass, f0 2 kHz, Q 2.
void PasseBandeBanc(BancVirtuel &banc) {
  banc.BrancheOscillo();
  BrancheGenerateur(banc, GenerateurBF);
  banc.DefinitCircuit(std::make_shared<PasseBande>(CentrePasseBande, QualitePasseBande));
}

// No generator: a 0..5 V square wave high for 30 % of its period on channel 1, the same a
// quarter period later on channel 2.
void CarreBanc(BancVirtuel &banc) {
  banc.BrancheOscillo();
  banc.DefinitSource(std::make_shared<Carre>(0.0, 5.0, FrequenceCarre, RapportCarre));
  banc.DefinitCircuit(std::make_shared<LigneARetard>(0.25 / FrequenceCarre));
}

// The demo's signals without any generator.
void SansGenerateur(BancVirtuel &banc) {
  banc.BrancheOscillo();
  banc.DefinitSource(SinusDemo());
  banc.DefinitCircuit(std::make_shared<PasseBasRC>(CoupureDemo));
}

}  // namespace

std::vector<std::pair<std::string, Preset>> PresetsGenerateurs() {
  return {{"demo", Demo},
          {"demo-tbf", DemoTBF},
          {"passe-bande", PasseBandeBanc},
          {"carre", CarreBanc},
          {"sans-generateur", SansGenerateur}};
}
