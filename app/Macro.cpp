#include "Macro.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

std::string SansFinDeLigne(std::string ligne) {
  while (!ligne.empty() && (ligne.back() == '\r' || ligne.back() == '\n')) ligne.pop_back();
  return ligne;
}

// Characters, not bytes: a UTF-8 continuation byte does not start one.
std::size_t Caracteres(std::string_view texte) {
  return std::size_t(std::count_if(texte.begin(), texte.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

bool EgauxSansCasse(std::string_view a, std::string_view b) {
  const auto minuscule = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char x, char y) { return minuscule(x) == minuscule(y); });
}

Macro Erreur(std::string texte) { return {FonctionMacro::Aucune, {}, std::move(texte)}; }

}  // namespace

Macro LitMacro(const std::vector<std::string> &lignes) {
  std::vector<std::string> nettes;
  for (const auto &l : lignes) nettes.push_back(SansFinDeLigne(l));
  while (!nettes.empty() && nettes.back().empty()) nettes.pop_back();
  if (nettes.size() != 1) return Erreur(std::string(TexteUnMessage));

  const std::string &ligne = nettes.front();
  if (Caracteres(ligne) > LongueurMaxMacro) return Erreur(std::string(TexteSyntaxeMacro));

  const auto ouvre = ligne.find('(');
  const auto ferme = ligne.find(')');
  Macro m;
  if (ouvre != std::string::npos && ferme != std::string::npos && ouvre < ferme)
    m.parametre = ligne.substr(ouvre + 1, ferme - ouvre - 1);
  const std::string_view fonction = std::string_view(ligne).substr(0, ouvre);

  static constexpr std::array<std::pair<std::string_view, FonctionMacro>, 4> table{{
      {"CONFIG|LOAD", FonctionMacro::ConfigLoad},
      {"CONFIG|SAVE", FonctionMacro::ConfigSave},
      {"FOCUS", FonctionMacro::Focus},
      {"GETDATA", FonctionMacro::GetData},
  }};
  for (const auto &[nom, f] : table)
    if (EgauxSansCasse(fonction, nom)) {
      m.fonction = f;
      return m;
    }
  return Erreur(std::string(TexteFonctionInconnue) + ligne);
}

EtatRequete ExtraitRequete(std::string &tampon, std::vector<std::string> &lignes,
                     std::size_t tailleMax) {
  std::vector<std::string> lues;
  std::size_t debut = 0;
  while (true) {
    const auto fin = tampon.find('\n', debut);
    if (fin == std::string::npos) {
      return tampon.size() > tailleMax ? EtatRequete::TropGrande : EtatRequete::Incomplete;
    }
    if (fin + 1 > tailleMax) return EtatRequete::TropGrande;
    std::string ligne = SansFinDeLigne(tampon.substr(debut, fin - debut));
    debut = fin + 1;
    if (!ligne.empty()) {
      lues.push_back(std::move(ligne));
    } else if (lues.empty()) {
      tampon.erase(0, debut);  // an empty line before any request: nothing to keep
      debut = 0;
    } else {
      tampon.erase(0, debut);
      lignes = std::move(lues);
      return EtatRequete::Complete;
    }
  }
}
