#include <map>
#include <mutex>
#include <string>

#include "BancVirtuel.h"
#include "PresetsGenerateurs.h"

namespace {

// No oscilloscope: every open fails, as with the device unplugged.
void SansOscillo(BancVirtuel &) {}

std::map<std::string, Preset> &Presets() {
  static std::map<std::string, Preset> presets = [] {
    std::map<std::string, Preset> p{{"sans-oscillo", SansOscillo}};
    // the benches with and without generators, "demo" among them
    for (auto &[nom, preset] : PresetsGenerateurs()) p[nom] = std::move(preset);
    return p;
  }();
  return presets;
}

}  // namespace

bool PresetExiste(const std::string &nom) { return Presets().count(nom) > 0; }

bool ChoisitPreset(const std::string &nom) {
  const auto it = Presets().find(nom);
  if (it == Presets().end()) return false;
  std::lock_guard verrou(Banc().Verrou());  // no half-furnished bench is ever seen
  Banc().Vide();
  it->second(Banc());
  return true;
}

