// The requests another program sends: their framing on the byte stream and their reading.
// The input is what arrives on the channel.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Macro.h"
#include "Verifie.h"

namespace {

struct Fil {
  std::vector<std::vector<std::string>> requetes;  // in the order taken
  bool tropGrande = false;
};

// Bytes before the request proper: empty lines, each only CRs before its LF.
std::size_t LignesVidesEnTete(std::string_view bloc) {
  std::size_t debut = 0;
  while (true) {
    const auto fin = bloc.find('\n', debut);
    if (fin == std::string_view::npos ||
        bloc.substr(debut, fin - debut).find_first_not_of('\r') != std::string_view::npos)
      return debut;
    debut = fin + 1;
  }
}

// The lines of a block taken off, without their ends and without the empty ones.
std::vector<std::string> LignesNonVides(std::string_view bloc) {
  std::vector<std::string> lignes;
  while (!bloc.empty()) {
    const auto fin = bloc.find('\n');
    std::string_view l = bloc.substr(0, fin);
    bloc.remove_prefix(fin == std::string_view::npos ? bloc.size() : fin + 1);
    while (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    if (!l.empty()) lignes.emplace_back(l);
  }
  return lignes;
}

void VerifieLecture(const std::vector<std::string> &lignes) {
  const Macro m = LitMacro(lignes);
  VERIFIE((m.fonction == FonctionMacro::Aucune) == !m.erreur.empty());
  if (m.fonction != FonctionMacro::Aucune)
    VERIFIE(lignes.size() >= 1 && lignes.front().find(m.parametre) != std::string::npos);
}

// The stream as it would arrive `morceau` bytes at a time (all at once for 0), taken off
// the buffer as the server does; every step checks that nothing is lost or made up.
Fil Recoit(std::string_view flux, std::size_t morceau, std::size_t tailleMax) {
  Fil fil;
  std::string tampon;
  std::size_t pris = 0;  // bytes of the stream taken off the buffer so far
  std::size_t arrive = 0;
  while (arrive < flux.size() && !fil.tropGrande) {
    const std::size_t n = morceau == 0 ? flux.size() : std::min(morceau, flux.size() - arrive);
    tampon.append(flux.substr(arrive, n));
    arrive += n;
    while (true) {
      const std::size_t avant = tampon.size();
      std::vector<std::string> lignes;
      const EtatRequete etat = ExtraitRequete(tampon, lignes, tailleMax);
      VERIFIE(tampon.size() <= avant);
      const std::string_view bloc = flux.substr(pris, avant - tampon.size());
      pris += bloc.size();
      VERIFIE(flux.substr(pris, arrive - pris) == tampon);
      if (etat == EtatRequete::Complete) {
        VERIFIE(!lignes.empty());
        VERIFIE(LignesNonVides(bloc) == lignes);
        const std::size_t tete = LignesVidesEnTete(bloc);
        VERIFIE(bloc.size() - tete <= tailleMax);
        // the block ends with the last line's end and the empty line that closes it
        const std::string_view queue = bloc.substr(bloc.find_last_not_of("\r\n") + 1);
        VERIFIE(bloc.back() == '\n' && std::count(queue.begin(), queue.end(), '\n') >= 2);
        VerifieLecture(lignes);
        fil.requetes.push_back(std::move(lignes));
        continue;
      }
      // only empty lines ahead of a request may go when nothing is taken
      VERIFIE(lignes.empty() && LignesVidesEnTete(bloc) == bloc.size());
      fil.tropGrande = etat == EtatRequete::TropGrande;
      break;
    }
  }
  return fil;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, std::size_t taille) {
  const std::string_view flux(reinterpret_cast<const char *>(donnees), taille);
  // the server's bound, and one small enough for the inputs to reach
  for (const std::size_t tailleMax : {std::size_t(4096), std::size_t(16)}) {
    const Fil entier = Recoit(flux, 0, tailleMax);
    // the same requests however the stream is cut
    for (const std::size_t morceau : {1, 2, 5, 64}) {
      const Fil coupe = Recoit(flux, morceau, tailleMax);
      VERIFIE(coupe.requetes == entier.requetes);
      VERIFIE(coupe.tropGrande == entier.tropGrande);
    }
  }
  // lines as given, ends included: the reader strips them itself
  std::vector<std::string> lignes;
  for (std::string_view reste = flux; !reste.empty();) {
    const auto fin = reste.find('\n');
    const std::size_t n = fin == std::string_view::npos ? reste.size() : fin + 1;
    lignes.emplace_back(reste.substr(0, n));
    reste.remove_prefix(n);
  }
  VerifieLecture(lignes);
  return 0;
}
