#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class BancVirtuel;

// A bench as a bench file describes it (format in README.md): the signal on the circuit's
// input and channel 1, the circuit whose output is channel 2, the external trigger input,
// the devices, the noise.
struct DescriptionSource {
  enum Forme { Aucune, Sinus, Carre, Triangle, Continu } forme = Aucune;  // Aucune: 0 V
  double amplitude = 1;    // V, peak
  double frequence = 1000; // Hz
  double decalage = 0;     // V
  double rapport = 50;     // %, high part of the square's period
};

struct DescriptionCircuit {
  enum Type { Aucun, PasseBasRC, PasseHautRC, PasseBande, LigneARetard, Attenuateur } type = Aucun;
  double coupure = 0;  // Hz, RC
  double centre = 0;   // Hz, band-pass f0
  double qualite = 0;  // band-pass Q
  double retard = 0;   // s
  double gain = 0;     // attenuator, 0..1
};

struct DescriptionBanc {
  bool oscilloscope = true;
  double bruit = 1;       // codes, triangular
  uint64_t graine = 1;
  // "BF" or "TBF" when a generator drives the input; `signal` is then what it plays at rest
  std::string generateur;
  DescriptionSource signal;
  std::vector<std::string> generateurs;  // every generator plugged in, in file order
  bool externeEstLeSignal = true;
  DescriptionSource externe;
  DescriptionCircuit circuit;
};

// Where a bench text is wrong: its line (1 first) and what was expected there.
struct FauteBanc {
  int ligne = 0;
  std::string attendu;
};

// Reads a bench file's text; nothing when it has a mistake, told in `faute`.
std::optional<DescriptionBanc> LitDescriptionBanc(std::string_view texte, FauteBanc &faute);

// The same for a file; on a mistake, `erreur` names the file, the line and what was
// expected there.
std::optional<DescriptionBanc> LitFichierBanc(const std::string &chemin, std::string &erreur);

// Empties the bench and furnishes it as described.
void MonteBanc(BancVirtuel &banc, const DescriptionBanc &description);
