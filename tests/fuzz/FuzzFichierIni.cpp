// The settings-file reader: any file text. What was read, written out and read again
// reads the same; a value written reads back as written.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FichierIni.h"
#include "Verifie.h"
#include "ZelmUtil.h"

namespace {

constexpr std::string_view SectionAjoutee = "Zelm fuzz";

bool MemesElements(const std::vector<FichierIni::Element> &a,
                   const std::vector<FichierIni::Element> &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto &x, const auto &y) {
    return x.sorte == y.sorte && x.section == y.section && x.cle == y.cle && x.valeur == y.valeur;
  });
}

// A value as writing keeps it: line breaks made blanks, blanks trimmed at both ends.
std::string Ecrite(std::string_view valeur) {
  std::string v(valeur);
  std::replace_if(v.begin(), v.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  const auto debut = v.find_first_not_of(" \t");
  if (debut == std::string::npos) return {};
  return v.substr(debut, v.find_last_not_of(" \t") - debut + 1);
}

struct Cle {
  std::string section, cle, valeur;  // the value expected
};

// Every key written reads as expected, from memory and from the text written out.
void VerifieCles(const FichierIni &ini, const std::vector<Cle> &cles) {
  FichierIni relu("");
  relu.Charge(ini.Contenu());
  for (const Cle &c : cles) {
    VERIFIE(ini.CleExiste(c.section, c.cle));
    VERIFIE(ini.LitTexte(c.section, c.cle, {}) == c.valeur);
    VERIFIE(relu.LitTexte(c.section, c.cle, {}) == c.valeur);
  }
}

// Numbers: an integer that reads writes back exactly; a real written once keeps its
// 15 digits through every later writing.
void VerifieNombres(FichierIni &ini, const std::string &section, const std::string &cle) {
  if (const int32_t n = ini.LitEntier(section, cle, 0); n == ini.LitEntier(section, cle, 1)) {
    ini.EcritEntier(SectionAjoutee, "entier", n);
    VERIFIE(ini.LitEntier(SectionAjoutee, "entier", n == 0) == n);
  }
  if (const double x = ini.LitReel(section, cle, 0); x == ini.LitReel(section, cle, 1)) {
    VERIFIE(std::isfinite(x));
    ini.EcritReel(SectionAjoutee, "reel", x);
    const double y = ini.LitReel(SectionAjoutee, "reel", std::nan(""));
    VERIFIE(std::fabs(y - x) <= 1e-14 * std::fabs(x));
    ini.EcritReel(SectionAjoutee, "reel", y);
    VERIFIE(ini.LitReel(SectionAjoutee, "reel", std::nan("")) == y);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, std::size_t taille) {
  const std::string_view texte(reinterpret_cast<const char *>(donnees), taille);
  FixeSeparateurDecimal(taille % 2 == 0 ? '.' : ',');

  FichierIni ini("");
  ini.Charge(texte);
  const std::string contenu = ini.Contenu();
  {
    // written out and read again: the same lines, the same text
    FichierIni relu("");
    relu.Charge(contenu);
    VERIFIE(MemesElements(ini.Elements(), relu.Elements()));
    VERIFIE(relu.Contenu() == contenu);
  }

  // each key that answers, written back with the value it gave (the first ones: a long
  // file would make each input slow, not the search better)
  std::vector<Cle> cles;
  {
    std::string section;
    bool dansSection = false;
    for (const auto &e : ini.Elements()) {
      if (e.sorte == FichierIni::Element::Section) {
        section = e.section;
        dansSection = true;
      } else if (e.sorte == FichierIni::Element::Cle && dansSection && cles.size() < 128 &&
                 ini.CleExiste(section, e.cle)) {
        cles.push_back({section, std::string(e.cle), Ecrite(ini.LitTexte(section, e.cle, {}))});
      }
    }
  }
  for (const Cle &c : cles) ini.EcritTexte(c.section, c.cle, ini.LitTexte(c.section, c.cle, {}));
  VerifieCles(ini, cles);

  // the input's lines and the whole input as values of keys of their own, in a section
  // that may have been in the file too
  std::erase_if(cles, [](const Cle &c) { return EgalSansCasse(c.section, SectionAjoutee); });
  std::size_t n = 0;
  for (std::string_view reste = texte; !reste.empty() && n < 64; ++n) {
    const auto fin = reste.find('\n');
    const std::string_view ligne = reste.substr(0, fin);
    reste.remove_prefix(fin == std::string_view::npos ? reste.size() : fin + 1);
    const std::string cle = "ligne" + std::to_string(n);
    ini.EcritTexte(SectionAjoutee, cle, ligne);
    cles.push_back({std::string(SectionAjoutee), cle, Ecrite(ligne)});
  }
  ini.EcritTexte(SectionAjoutee, "tout", texte);
  cles.push_back({std::string(SectionAjoutee), "tout", Ecrite(texte)});
  VerifieCles(ini, cles);

  for (std::size_t i = 0; i < cles.size() && i < 64; ++i)
    VerifieNombres(ini, cles[i].section, cles[i].cle);
  FixeSeparateurDecimal('.');
  return 0;
}
