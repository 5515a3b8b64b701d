#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "HorlogeBanc.h"

class Source;
class Circuit;
class SuiviCircuit;
class OscilloVirtuel;

// Anything the bench holds under a device name ("QuiloUSB-0", a generator's name):
// the device-access layers open a name by finding its device here.
class AppareilVirtuel {
 public:
  virtual ~AppareilVirtuel() = default;
};

// The measuring bench of this process: the clock, the signal, the circuit under
// test and the devices. Channel 1 and the external trigger input see the signal
// directly; channel 2 sees it through the circuit (a plain wire when there is none).
// Safe from any thread: the device thread reaches it through the device-access and
// generator libraries while a test furnishes it and reads its devices.
class BancVirtuel {
 public:
  static constexpr char NomOscillo[] = "QuiloUSB-0";

  BancVirtuel();
  ~BancVirtuel();

  HorlogeBanc &Horloge() { return horloge_; }
  // The one lock of the bench, its devices and its circuit, taken by each of their public
  // entries. Recursive, as they call each other: the oscilloscope samples the bench,
  // whose signal may be a generator. Never held across a wait: the bench never waits,
  // the device code does, between its calls. The clock has its own lock, taken inside.
  std::recursive_mutex &Verrou() const { return verrou_; }

  // nullptr: 0 V.
  void DefinitSource(std::shared_ptr<const Source> source);
  std::shared_ptr<const Source> SourceCourante() const;
  // What the external trigger input sees; nullptr: the signal, as channel 1.
  void DefinitSourceExterne(std::shared_ptr<const Source> source);
  // nullptr: channel 2 is wired to the signal.
  void DefinitCircuit(std::shared_ptr<Circuit> circuit);

  // Devices by name; Branche(nom, nullptr) unplugs the name.
  void Branche(const std::string &nom, std::shared_ptr<AppareilVirtuel> appareil);
  std::shared_ptr<AppareilVirtuel> Appareil(const std::string &nom) const;
  // Puts an oscilloscope under NomOscillo, fed by this bench, and returns it.
  std::shared_ptr<OscilloVirtuel> BrancheOscillo(uint64_t graine = 1);
  std::shared_ptr<OscilloVirtuel> Oscillo() const;

  // Input 1, 2 or 3 (external trigger), volts at bench time t (s); its DC part.
  double Tension(int entree, double t);
  double Moyenne(int entree) const;

  // Nothing on the bench: no device, no signal, no circuit. The clock keeps running.
  void Vide();

 private:
  class Entrees;
  mutable std::recursive_mutex verrou_;
  HorlogeBanc horloge_;
  std::shared_ptr<const Source> source_, externe_;
  std::shared_ptr<Circuit> circuit_;
  std::unique_ptr<SuiviCircuit> suivi_;
  std::map<std::string, std::shared_ptr<AppareilVirtuel>> appareils_;
  std::unique_ptr<Entrees> entrees_;
};

// The bench of this process (one per process: every library that links the
// simulator sees this same bench).
BancVirtuel &Banc();

// Benches are bench files (FichierBanc.h). A preset is one of the files shipped with the
// program, named without its ".ini"; they are in DossierBancs(): "bancs" beside the
// executable, else "../share/zelm/bancs" from it (installed), else the source tree's.
std::string DossierBancs();
bool PresetExiste(const std::string &nom);
// A path when it contains a '/' or ends in ".ini", else a preset name.
bool EstCheminDeBanc(const std::string &nomOuChemin);
// Empties the bench and furnishes it from the preset or the file, as one step for any other
// thread; false, the bench untouched and `erreur` saying why, if it cannot be read.
bool ChoisitBanc(const std::string &nomOuChemin, std::string &erreur);
bool ChoisitPreset(const std::string &nomOuChemin);
