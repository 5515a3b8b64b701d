#include <map>

#include "BancVirtuel.h"
#include "Circuits.h"
#include "OscilloVirtuel.h"
#include "PresetsGenerateurs.h"
#include "Sources.h"

namespace {

// A 1 kHz sine of 1 V peak on channel 1 and the external trigger input, the
// same through an RC low-pass cut at 1 kHz on channel 2.
void Demo(BancVirtuel &banc) {
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000.0));
  banc.DefinitCircuit(std::make_shared<PasseBasRC>(1000.0));
  banc.BrancheOscillo();
}

// No oscilloscope: every open fails, as with the device unplugged.
void SansOscillo(BancVirtuel &) {}

std::map<std::string, Preset> &Presets() {
  static std::map<std::string, Preset> presets = [] {
    std::map<std::string, Preset> p{
        {"demo", Demo},
        {"sans-oscillo", SansOscillo},
    };
    // the benches with generators; their "demo" drives the same signals from a generator
    for (auto &[nom, preset] : PresetsGenerateurs()) p[nom] = std::move(preset);
    return p;
  }();
  return presets;
}

}  // namespace

void EnregistrePreset(const std::string &nom, Preset preset) { Presets()[nom] = std::move(preset); }

bool PresetExiste(const std::string &nom) { return Presets().count(nom) > 0; }

bool ChoisitPreset(const std::string &nom) {
  const auto it = Presets().find(nom);
  if (it == Presets().end()) return false;
  Banc().Vide();
  it->second(Banc());
  return true;
}

std::vector<std::string> NomsPresets() {
  std::vector<std::string> noms;
  for (const auto &[nom, preset] : Presets()) noms.push_back(nom);
  return noms;
}
