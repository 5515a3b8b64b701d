// The number reader: a typed number with either separator and an SI prefix letter, and the
// strict decimal reading of the settings file, against the formats that write numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "Verifie.h"
#include "ZelmUtil.h"

namespace {

constexpr std::pair<char, int> Suffixes[] = {
    {'y', -24}, {'z', -21}, {'a', -18}, {'f', -15}, {'p', -12}, {'n', -9}, {'\xB5', -6},
    {'m', -3},  {'k', 3},   {'M', 6},   {'G', 9},   {'T', 12},  {'P', 15}, {'E', 18},
};

bool Proches(double a, double b, double relatif) {
  return std::fabs(a - b) <= relatif * std::fabs(b);
}

// What was read must come back from what the formats write.
void VerifieEcriture(double v) {
  VERIFIE(std::isfinite(v));
  for (const char separateur : {'.', ','}) {
    // 17 significant digits hold every double
    double relu = 0;
    VERIFIE(LitDecimal(FormatGeneral(v, 17, 1, separateur), separateur, relu));
    VERIFIE(relu == v);
    // the settings file's 15 digits: a value written once reads and writes the same after
    double quinze = 0, encore = 0;
    VERIFIE(LitDecimal(FormatGeneral(v, 15, 1, separateur), separateur, quinze));
    VERIFIE(LitDecimal(FormatGeneral(quinze, 15, 1, separateur), separateur, encore));
    VERIFIE(quinze == encore);
    VERIFIE(Proches(quinze, v, 1e-14));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, std::size_t taille) {
  const std::string_view texte(reinterpret_cast<const char *>(donnees), taille);

  for (const char separateur : {'.', ','}) {
    double v = 0;
    if (LitDecimal(texte, separateur, v)) VerifieEcriture(v);
  }

  // either separator is taken whatever the system's is
  FixeSeparateurDecimal(',');
  const double virgule = LitNombre(texte);
  FixeSeparateurDecimal('.');
  const double v = LitNombre(texte);
  VERIFIE(v == virgule || (std::isnan(v) && std::isnan(virgule)));
  if (EstIndefinie(v)) return 0;
  VerifieEcriture(v);

  // what the display shows reads back to its 5 digits, under either separator
  for (const char separateur : {'.', ','}) {
    FixeSeparateurDecimal(separateur);
    const double affiche = LitNombre(FormatNombre(v));
    // a value that shows as the undefined marker's digits reads as that marker
    VERIFIE(Proches(affiche, v, 1e-4) || (EstIndefinie(affiche) && Proches(v, ValeurIndefinie, 1e-4)));
  }
  FixeSeparateurDecimal('.');

  // a prefix letter after a plain number stands for its power of ten
  const std::string_view nu = texte.substr(0, 31);
  const bool simple = !nu.empty() && nu.find_first_of("eE") == std::string_view::npos &&
                      std::string_view("0123456789.,").find(nu.back()) != std::string_view::npos &&
                      LitNombre(nu) == v;
  if (simple && (v == 0 || (std::fabs(v) > 1e-280 && std::fabs(v) < 1e280))) {
    for (const auto &[lettre, puissance] : Suffixes) {
      const double prefixe = LitNombre(std::string(nu) + lettre);
      VERIFIE(Proches(prefixe, v * std::pow(10.0, puissance), 1e-14));
    }
  }
  return 0;
}
