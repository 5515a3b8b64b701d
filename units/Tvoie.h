#pragma once
#include <array>
#include <cstdint>

#include "TexteCourt.h"
#include "uniteKer.h"

// Every series holds indices 0..8192, however many of them its owner uses.
inline constexpr int NbValeursVoie = 8193;

// One series of values with its physical unit: an oscilloscope channel, the
// time axis that goes with it, or a measured quantity of the response diagram.
// The curves derive from it; everything else reads its fields directly.
class Tvoie : public Tunite {
 public:
  Texte255 Libelle;
  double Mini = -5;
  double Maxi = 5;
  std::array<double, NbValeursVoie> Valeurs{};
  bool Active = false;
  uint32_t Couleur = 0;  // 0x00BBGGRR
  uint8_t Motif = 0;     // point-marker style

  // `indexCouleur` 0..4 picks the colour; anything else is a range error.
  explicit Tvoie(int indexCouleur);
};

// The colour of a series by its creation index (0..4): black, blue, red, green, black.
uint32_t CouleurVoie(int index);
