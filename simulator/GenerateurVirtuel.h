#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "BancVirtuel.h"
#include "Sources.h"

// The hardware of one kind of USB function generator.
struct ModeleGenerateurVirtuel {
  const char *noms[2];              // device names a generator of this kind answers to
  std::array<double, 3> horloges;   // Hz by the record's clock index
  int32_t codeMax;                  // highest DAC code
  int32_t codeZero;                 // code of 0 V
  double etendue;                   // volts over the codes 0..codeMax
  int32_t signe;                    // -1: the output stage inverts
};

// Very low frequency: one 4 MHz clock whatever the index, 8-bit DAC over 8 V.
inline constexpr ModeleGenerateurVirtuel GenerateurTBF{
    {"QuiloGenMinUSB-0", "QuiloGenMinUSB-1"}, {4e6, 4e6, 4e6}, 255, 127, 8, 1};
// Low frequency: 48, 12 or 4 MHz, 14-bit DAC over 20 V behind an inverting stage.
inline constexpr ModeleGenerateurVirtuel GenerateurBF{
    {"QuiloGenUSB-0", "QuiloGenUSB-1"}, {48e6, 12e6, 4e6}, 16383, 8192, 20, -1};

// The record a generator plays: points (4), clock index (1), zero (3), reload (4),
// then 16000 codes of 4 bytes, little-endian.
inline constexpr int32_t PointsEnregistrementMax = 16000;
inline constexpr std::size_t TailleEnregistrement = 12 + 4 * PointsEnregistrementMax;
// The only way of playing the record that the generators know: over and over.
inline constexpr int32_t ModeContinu = 1;

// A virtual generator: plays the first NbPoints codes of its record at clock ÷ divider,
// divider = 65536 − reload (a reload of 0: no division), each code held until the next.
// Stopped, its output is 0 V. It runs on the clock of its bench and each entry holds the
// bench's lock, so a generator library steps it while a test reads its output.
class GenerateurVirtuel final : public AppareilVirtuel, public Source {
 public:
  GenerateurVirtuel(const ModeleGenerateurVirtuel &modele, BancVirtuel &banc);

  // Plays the record from now on; false, and nothing changes, for a record it cannot play
  // (points outside 1..16000, clock index above 2).
  bool Lance(const uint8_t *enregistrement);
  void Stoppe();
  bool EnMarche() const;
  // A fault: unplugged, it stops and takes no record; plugged in again, it is a device
  // that has enumerated anew, so a handle opened before stays dead.
  void Debranche(bool debranche);
  // 0 while unplugged, else the number of the plug-in (1 from its creation on): what a
  // library's handle was opened in.
  uint32_t Branchement() const;
  // Frequency of the period being played (0 when stopped).
  double Frequence() const;
  const ModeleGenerateurVirtuel &Modele() const { return modele_; }
  // Volts of a DAC code: the inverse of the drivers' code formula.
  double Volts(int32_t code) const;

  double Tension(double t) const override;
  double Moyenne() const override;
  double PasMaximal() const override;

 private:
  const ModeleGenerateurVirtuel &modele_;
  const HorlogeBanc &horloge_;
  std::recursive_mutex &verrou_;
  bool enMarche_ = false;
  uint32_t branchement_ = 1, branchements_ = 1;
  std::vector<double> periode_;  // volts of each point
  double cadence_ = 0;           // points per second
  double origine_ = 0;           // bench time of the start (s)
  double moyenne_ = 0;
};

// The bench's signal when a generator drives it: the generator's output while it runs,
// otherwise `remplacant` (none: 0 V). The bench reads it under its lock, so the generator
// cannot stop between the choice and the reading.
class SignalGenerateur final : public Source {
 public:
  SignalGenerateur(std::shared_ptr<const GenerateurVirtuel> generateur,
                   std::shared_ptr<const Source> remplacant = nullptr);
  double Tension(double t) const override;
  double Moyenne() const override;
  double PasMaximal() const override;

 private:
  const Source *Actif() const;
  std::shared_ptr<const GenerateurVirtuel> generateur_;
  std::shared_ptr<const Source> remplacant_;
};

// Puts a generator of this kind on the bench under its first name, makes it the bench's
// signal (with `remplacant` while it is stopped) and returns it.
std::shared_ptr<GenerateurVirtuel> BrancheGenerateur(
    BancVirtuel &banc, const ModeleGenerateurVirtuel &modele,
    std::shared_ptr<const Source> remplacant = nullptr);
