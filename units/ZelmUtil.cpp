#include "ZelmUtil.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "TableCaracteres.h"

namespace {

std::atomic<char> separateurDecimal{'.'};

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

// A number as its digits d1d2... and the exponent e of 0.d1d2... x 10^e.
struct Decimal {
  std::string chiffres;
  int exposant;
};

// x written with `chiffres` significant digits; `depasse` when that text reads beyond
// the largest double.
Decimal EnScientifique(double x, int chiffres, bool &depasse) {
  // to_chars does not depend on the C locale, which the toolkit may change
  std::array<char, 64> tampon{};
  const auto [fin, ec] = std::to_chars(tampon.data(), tampon.data() + tampon.size(), x,
                                       std::chars_format::scientific, chiffres - 1);
  const std::string_view s(tampon.data(), ec == std::errc() ? fin - tampon.data() : 0);
  double relu = 0;
  depasse = std::from_chars(s.data(), s.data() + s.size(), relu).ec == std::errc::result_out_of_range;
  const auto e = s.find('e');
  Decimal d{};
  for (char c : s.substr(0, e))
    if (EstChiffre(c)) d.chiffres += c;
  d.exposant = std::atoi(std::string(s.substr(e + 1)).c_str()) + 1;
  return d;
}

// x rounded to `chiffres` significant digits, without trailing zeros.
Decimal Arrondit(double x, int chiffres) {
  bool depasse = false;
  Decimal d = EnScientifique(x, chiffres, depasse);
  if (depasse) {
    // rounded up past the largest double, the text would not read back: the digits
    // are cut instead (17 of them hold x exactly)
    bool toujours = false;
    d = EnScientifique(x, 17, toujours);
    d.chiffres.resize(std::min<std::size_t>(d.chiffres.size(), std::size_t(chiffres)));
  }
  const auto dernier = d.chiffres.find_last_not_of('0');
  d.chiffres.erase(dernier == std::string::npos ? 1 : dernier + 1);
  return d;
}

std::string Fixe(const Decimal &d, char separateur) {
  const int k = static_cast<int>(d.chiffres.size());
  const int e = d.exposant;
  if (e <= 0) return std::string("0") + separateur + std::string(-e, '0') + d.chiffres;
  if (e >= k) return d.chiffres + std::string(e - k, '0');
  return d.chiffres.substr(0, e) + separateur + d.chiffres.substr(e);
}

std::string Scientifique(const Decimal &d, int chiffresExposant, char separateur) {
  std::string r(1, d.chiffres[0]);
  if (d.chiffres.size() > 1) r += separateur + d.chiffres.substr(1);
  r += 'E';
  const int e = d.exposant - 1;
  if (e < 0) r += '-';
  const std::string n = std::to_string(std::abs(e));
  r += std::string(std::max<int>(0, chiffresExposant - static_cast<int>(n.size())), '0') + n;
  return r;
}

// Prefix letters that may end a typed number, with the exponent they stand for.
constexpr std::array<std::pair<char, const char *>, 14> Suffixes{{
    {'y', "E-24"}, {'z', "E-21"}, {'a', "E-18"}, {'f', "E-15"}, {'p', "E-12"},
    {'n', "E-9"}, {OctetMicro, "E-6"}, {'m', "E-3"}, {'k', "E+3"}, {'M', "E+6"},
    {'G', "E+9"}, {'T', "E+12"}, {'P', "E+15"}, {'E', "E+18"},
}};

std::string_view SansBlancs(std::string_view s) {
  const auto blanc = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!s.empty() && blanc(s.front())) s.remove_prefix(1);
  while (!s.empty() && blanc(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

void FixeSeparateurDecimal(char separateur) { separateurDecimal = separateur; }
char SeparateurDecimal() { return separateurDecimal; }

std::string FormatGeneral(double x, int chiffres, int chiffresExposant, char separateur) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
  if (x == 0) return "0";
  const Decimal d = Arrondit(std::fabs(x), chiffres);
  const std::string signe = x < 0 ? "-" : "";
  if (d.exposant >= -3 && d.exposant <= chiffres) return signe + Fixe(d, separateur);
  return signe + Scientifique(d, chiffresExposant, separateur);
}

Texte32 FormatNombre(double x) {
  if (EstIndefinie(x)) return " ";
  const double a = std::fabs(x);
  return FormatGeneral(x, 5, a < 1e-10 || a >= 1e10 ? 2 : 1, SeparateurDecimal());
}

Texte32 NombreExport(double x) { return FormatGeneral(x, 5, 2, '.'); }

bool LitDecimal(std::string_view t, char separateur, double &valeur) {
  std::string s;  // the same number with '.' and without a '+', as from_chars wants it
  std::size_t i = 0;
  const auto chiffres = [&] {
    const std::size_t debut = i;
    while (i < t.size() && EstChiffre(t[i])) s += t[i++];
    return i - debut;
  };
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    if (t[i] == '-') s += '-';
    ++i;
  }
  std::size_t mantisse = chiffres();
  if (i < t.size() && t[i] == separateur) {
    s += '.';
    ++i;
    mantisse += chiffres();
  }
  if (mantisse == 0) return false;
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    s += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) s += t[i++];
    if (chiffres() == 0) return false;
  }
  if (i != t.size()) return false;
  double v = 0;
  const auto [fin, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || fin != s.data() + s.size()) return false;
  valeur = v;
  return true;
}

double LitNombre(std::string_view texte) {
  const char sep = SeparateurDecimal();
  std::string s(SansBlancs(Texte32(texte).vue()));
  const char autre = sep == '.' ? ',' : '.';
  if (const auto p = s.find(autre); p != std::string::npos) s[p] = sep;
  if (!s.empty()) {
    const auto it = std::find_if(Suffixes.begin(), Suffixes.end(),
                                 [&](const auto &suffixe) { return suffixe.first == s.back(); });
    if (it != Suffixes.end()) s.replace(s.size() - 1, 1, it->second);
  }
  double v = ValeurIndefinie;
  return LitDecimal(s, sep, v) ? v : ValeurIndefinie;
}

Texte32 EnExposant(int n) {
  if (n == 0) return {};
  Texte32 r;
  for (char c : std::to_string(n)) {
    if (c == '-') r += OctetExposantMoins;
    else if (c == '+') r += OctetExposantPlus;
    else r += OctetsExposants[c - '0'];
  }
  return r;
}

int ChiffreExposant(char c) {
  if (EstChiffre(c)) return c - '0';
  const auto it = std::find(OctetsExposants.begin(), OctetsExposants.end(), c);
  return it == OctetsExposants.end() ? 0 : static_cast<int>(it - OctetsExposants.begin());
}

std::string AvecSeparateur(std::string_view chemin) {
  std::string r(chemin);
  if (!r.empty() && r.back() != '/') r += '/';
  return r;
}
