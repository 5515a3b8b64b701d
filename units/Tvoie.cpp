#include "Tvoie.h"

#include "Erreurs.h"

uint32_t CouleurVoie(int index) {
  static constexpr std::array<uint32_t, 5> couleurs{0x00000000, 0x00FF0000, 0x000000FF,
                                                    0x00008000, 0x00000000};
  return couleurs[VerifieIntervalle(index, 0, 4)];
}

Tvoie::Tvoie(int indexCouleur) : Couleur(CouleurVoie(indexCouleur)) {}
