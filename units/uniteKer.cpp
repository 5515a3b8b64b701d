#include "uniteKer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "Erreurs.h"
#include "Maths.h"
#include "TableCaracteres.h"
#include "ZelmUtil.h"

namespace {

constexpr int IndiceSeconde = 2;

constexpr std::array<const char *, 7> SymbolesBase{"m", "kg", "s", "A", "K", "mol", "cd"};
constexpr std::array<const char *, 4> TextesGenre{"", "\xB0", "rad", "dB"};

struct Prefixe {
  char lettre;
  int puissance;
};
constexpr std::array<Prefixe, 15> Prefixes{{
    {'a', -18}, {'f', -15}, {'p', -12}, {'n', -9}, {OctetMicro, -6}, {'m', -3}, {'c', -2},
    {'d', -1}, {'h', 2}, {'k', 3}, {'M', 6}, {'G', 9}, {'T', 12}, {'P', 15}, {'E', 18},
}};

// Letters that may begin a unit name after a prefix, for AvecPrefixe.
constexpr std::string_view InitialesUnites = "ACFHJKLNPSTVWbcdglmrs\x9D";

std::optional<int> PuissancePrefixe(char c) {
  for (const Prefixe &p : Prefixes)
    if (p.lettre == c) return p.puissance;
  return std::nullopt;
}

std::optional<char> LettrePrefixe(int n) {
  for (const Prefixe &p : Prefixes)
    if (p.puissance == n) return p.lettre;
  return std::nullopt;
}

bool EstLettre(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool EstPrefixable(char c) { return EstLettre(c) || c == OctetMicro; }
bool EstSigneExposant(char c) {
  return c == '+' || c == '-' || c == OctetExposantPlus || c == OctetExposantMoins;
}
bool EstChiffreExposant(char c) {
  return (c >= '0' && c <= '9') ||
         std::find(OctetsExposants.begin(), OctetsExposants.end(), c) != OctetsExposants.end();
}

const Tunite *ChercheDans(const std::vector<Tunite> &table, std::string_view nom) {
  for (const Tunite &u : table)
    if (u.NomUnite == nom) return &u;
  return nullptr;
}

// The first row of the named, then the special units whose text is `nom`.
const Tunite *ChercheLigne(std::string_view nom) {
  if (const Tunite *u = ChercheDans(UnitesNommees(), nom)) return u;
  return ChercheDans(UnitesSpeciales(), nom);
}

[[noreturn]] void ErreurUnite() { throw EUniteError(); }

// "1E<power> " head of a unit text; returns the position after it (0 without one).
std::size_t LitTete(std::string_view t, int32_t &puissance) {
  if (t.substr(0, 2) != "1E") return 0;
  std::size_t i = 2;  // the last character never belongs to the head
  while (i + 1 < t.size() && (t[i] == '+' || t[i] == '-' || (t[i] >= '0' && t[i] <= '9'))) ++i;
  if (i > 2) {
    std::string_view tete = t.substr(2, i - 2);
    const bool negatif = tete[0] == '-';
    if (tete[0] == '+' || tete[0] == '-') tete.remove_prefix(1);
    // a head of signs only ("1E-3", "1E+ V") or signs inside ("1E3-4 V") reads nothing
    if (tete.empty() || tete[0] < '0' || tete[0] > '9') ErreurUnite();
    int64_t v = 0;
    const auto [fin, ec] = std::from_chars(tete.data(), tete.data() + tete.size(), v);
    if (fin != tete.data() + tete.size()) ErreurUnite();
    if (ec != std::errc()) throw EIntOverflow();
    puissance = EnEntier32(negatif ? -v : v);
  }
  if (i < t.size() && t[i] == ' ') ++i;  // "1E" alone has nothing at i
  return i;
}

// The unit name at i: the longest run of letters first, then one character at a time.
const Tunite &LitNom(std::string_view t, std::size_t &i) {
  if (i >= t.size()) ErreurUnite();  // "m/": nothing after the slash
  const std::size_t debut = i;
  std::string nom(1, t[i++]);
  while (i < t.size() && EstLettre(t[i])) nom += t[i++];
  if (const Tunite *u = ChercheLigne(nom)) return *u;
  i = debut;
  nom.clear();
  do {
    nom += t[i++];
    if (const Tunite *u = ChercheLigne(nom)) return *u;
  } while (i < t.size() && EstLettre(t[i]));
  ErreurUnite();
}

// Optional "^", sign and one exponent digit after a name; 1 without a digit.
int LitExposant(std::string_view t, std::size_t &i) {
  if (t[i] == '^' && ++i >= t.size()) ErreurUnite();
  bool negatif = false;
  if (EstSigneExposant(t[i])) {
    negatif = t[i] == '-' || t[i] == OctetExposantMoins;
    if (++i >= t.size()) ErreurUnite();
  }
  if (!EstChiffreExposant(t[i])) return 1;
  const int e = ChiffreExposant(t[i++]);
  return negatif ? -e : e;
}

// One factor: "/", prefix, name and exponent.
Tunite LitFacteur(std::string_view t, std::size_t &i, bool &division) {
  Tunite facteur;
  if (t[i] == '/') {
    ++i;
    division = true;
  }
  if (i + 1 < t.size() && EstPrefixable(t[i + 1])) {
    if (const auto p = PuissancePrefixe(t[i])) {
      facteur.PuissanceDix = *p;
      ++i;
    }
  }
  facteur.Multiplie(LitNom(t, i));
  if (i >= t.size()) {
    if (division) facteur.Inverse();
    return facteur;
  }
  const int e = LitExposant(t, i);
  facteur.Eleve(division ? -e : e);
  return facteur;
}

void LitTexte(Tunite &u, std::string_view t) {
  if (const Tunite *ligne = ChercheLigne(t)) {
    u.Copie(*ligne);
    return;
  }
  std::size_t i = LitTete(t, u.PuissanceDix);
  bool division = false;
  while (i < t.size()) {
    u.Multiplie(LitFacteur(t, i, division));
    if (i + 1 < t.size() && t[i] == '.') ++i;
  }
}

bool SansDimension(const DimensionUnite &d) {
  return std::all_of(d.begin(), d.end(), [](int8_t e) { return e == 0; });
}

// A pure length power shows as a prefixed metre with its exponent: "mm²", "cm⁻¹".
std::optional<Texte32> LongueurPure(const DimensionUnite &d, int p) {
  const int e = d[0];
  if (e == 0 || e == 1 || !std::all_of(d.begin() + 1, d.end(), [](int8_t x) { return x == 0; }))
    return std::nullopt;
  if (p % e != 0 || !EstPrefixe(p / e)) return std::nullopt;
  return AvecPrefixe("m", p / e) + EnExposant(e).vue();
}

// A named unit with the same dimension, or one second less ("ms⁻¹", "Vs⁻¹").
std::optional<Texte32> ParUniteNommee(const DimensionUnite &d, int p) {
  for (const Tunite &r : UnitesNommees())
    if (r.Dimension == d) return AvecPrefixe(r.NomUnite, p - r.PuissanceDix);
  for (const Tunite &r : UnitesNommees()) {
    if (r.NomUnite == "Hz") continue;
    DimensionUnite avecSeconde = d;
    avecSeconde[IndiceSeconde] = static_cast<int8_t>(d[IndiceSeconde] + 1);
    if (d[IndiceSeconde] < INT8_MAX && r.Dimension == avecSeconde)
      return AvecPrefixe(r.NomUnite, p - r.PuissanceDix) + "s" + EnExposant(-1).vue();
  }
  return std::nullopt;
}

// "m.kg⁻¹.s⁻²": positive exponents first, then negative ones, in base-unit order.
Texte32 Compose(const DimensionUnite &d) {
  std::string positif, negatif;
  for (std::size_t k = 0; k < d.size(); ++k) {
    const int e = d[k];
    if (e > 0) {
      if (!positif.empty()) positif += '.';
      positif += SymbolesBase[k];
      if (e > 1) positif += EnExposant(e).str();
    } else if (e < 0) {
      if (!negatif.empty()) negatif += '.';
      negatif += SymbolesBase[k] + EnExposant(e).str();
    }
  }
  return positif + (!positif.empty() && !negatif.empty() ? "." : "") + negatif;
}

}  // namespace

Tunite::Tunite(std::string_view nom, int32_t puissance, DimensionUnite dimension, uint8_t genre)
    : NomUnite(nom),
      NomDonne(!nom.empty()),
      Genre(genre),
      Dimension(dimension),
      PuissanceDix(puissance) {}

void Tunite::SetNomUnite(std::string_view texte) {
  NomUnite = texte;
  Correcte = true;
  NomDonne = !NomUnite.empty();
  Genre = SansGenre;
  Dimension = {};
  PuissanceDix = 0;
  if (!NomDonne) return;
  // A text never makes the caller fail: exponents or powers out of their range
  // mark the unit not correct like any other text that does not read.
  try {
    LitTexte(*this, NomUnite.vue());
  } catch (const EUniteError &) {
    Correcte = false;
  } catch (const ERangeError &) {
    Correcte = false;
  } catch (const EIntOverflow &) {
    Correcte = false;
  }
}

void Tunite::Copie(const Tunite &autre) {
  NomUnite = autre.NomUnite;
  PuissanceDix = autre.PuissanceDix;
  Genre = autre.Genre;
  Dimension = autre.Dimension;
  Correcte = autre.Correcte;
  NomDonne = autre.NomDonne;
}

void Tunite::Multiplie(const Tunite &b) {
  Correcte = Correcte && b.Correcte;
  if (!Correcte) return;
  const int32_t p = SommeVerifiee(PuissanceDix, b.PuissanceDix);
  DimensionUnite d;
  for (std::size_t k = 0; k < d.size(); ++k) d[k] = EnOctetSigne(Dimension[k] + b.Dimension[k]);
  PuissanceDix = p;
  Dimension = d;
  // a kind survives only when exactly one side has one
  if (b.Genre != SansGenre) Genre = Genre != SansGenre ? uint8_t{SansGenre} : b.Genre;
}

void Tunite::Eleve(int n) {
  if (!Correcte) return;
  const int32_t p = ProduitVerifie(PuissanceDix, n);
  DimensionUnite d;
  for (std::size_t k = 0; k < d.size(); ++k)
    d[k] = EnOctetSigne(static_cast<int64_t>(Dimension[k]) * n);
  PuissanceDix = p;
  Dimension = d;
  if (n != 1) Genre = SansGenre;
}

void Tunite::Inverse() {
  if (!Correcte) return;
  const int32_t p = OpposeVerifie(PuissanceDix);
  DimensionUnite d;
  for (std::size_t k = 0; k < d.size(); ++k) d[k] = EnOctetSigne(-Dimension[k]);
  PuissanceDix = p;
  Dimension = d;
  Genre = SansGenre;
}

Texte32 Tunite::NomAffiche(int8_t n) {
  if (NomDonne && n == 0) return NomUnite;
  if (!Correcte) {
    if (!NomDonne) NomUnite = "?";
    return Puissance10Texte(NomUnite, n);
  }
  if (SansDimension(Dimension)) {
    if (!NomDonne) NomUnite = Genre < TextesGenre.size() ? TextesGenre[Genre] : "";
    return AvecPrefixe(NomUnite, n);
  }
  const int p = EnOctetSigne(static_cast<int64_t>(PuissanceDix) + n);
  if (const auto r = LongueurPure(Dimension, p)) return *r;
  if (ChercheDans(UnitesSpeciales(), NomUnite)) return AvecPrefixe(NomUnite, n);
  if (Genre == SansGenre)
    if (const auto r = ParUniteNommee(Dimension, p)) return *r;
  if (!NomDonne) NomUnite = Compose(Dimension);
  return Puissance10Texte(NomUnite, p);
}

Texte32 Tunite::ValeurAvecUnite(double x) {
  if (EstIndefinie(x)) return {};
  double a = std::fabs(x);
  int k = 9;  // index of the power 10^(3(k-9)): -27 .. 27
  if (a >= 1e-13) {
    while (a >= 999 && k < 18) {  // 999, not 1000: "0.9994 kV" rather than "999.4 V"
      a /= 1000;
      ++k;
    }
    while (a < 0.999 && k > 0) {
      a *= 1000;
      --k;
    }
  }
  if (k == 18) return "???";
  if (a < 1e-13 || k == 0) return "0" + NomAffiche(0);
  Texte32 s = FormatNombre(a);
  if (x < 0) s = "-" + s;
  return s + " " + NomAffiche(static_cast<int8_t>(3 * (k - 9)));
}

Texte32 Tunite::Egalite(double x) { return NomGrandeur + "=" + ValeurAvecUnite(x); }

Texte32 Tunite::TitreAxe(double echelle) {
  const double n = VerifieIntervalleReel(std::nearbyint(Log10(echelle)), INT8_MIN, INT8_MAX);
  const Texte32 u = NomAffiche(static_cast<int8_t>(n));
  if (u.empty()) return NomGrandeur;
  return NomGrandeur + "(" + u + ")";
}

const std::vector<Tunite> &UnitesNommees() {
  // exponents of m, kg, s, A, K, mol, cd
  static const std::vector<Tunite> table{
      {"m", 0, {1, 0, 0, 0, 0, 0, 0}},         {"A", 0, {0, 0, 0, 1, 0, 0, 0}},
      {"g", -3, {0, 1, 0, 0, 0, 0, 0}},        {"K", 0, {0, 0, 0, 0, 1, 0, 0}},
      {"mol", 0, {0, 0, 0, 0, 0, 1, 0}},       {"cd", 0, {0, 0, 0, 0, 0, 0, 1}},
      {"H", 0, {2, 1, -2, -2, 0, 0, 0}},       {"mol/l", 3, {-3, 0, 0, 0, 0, 1, 0}},
      {"F", 0, {-2, -1, 4, 2, 0, 0, 0}},       {"N", 0, {1, 1, -2, 0, 0, 0, 0}},
      {"\x9D", 0, {2, 1, -3, -2, 0, 0, 0}},    {"S", 0, {-2, -1, 3, 2, 0, 0, 0}},
      {"T", 0, {0, 1, -2, -1, 0, 0, 0}},       {"V", 0, {2, 1, -3, -1, 0, 0, 0}},
      {"Hz", 0, {0, 0, -1, 0, 0, 0, 0}},       {"s", 0, {0, 0, 1, 0, 0, 0, 0}},
      {"Pa", 0, {-1, 1, -2, 0, 0, 0, 0}},      {"J", 0, {2, 1, -2, 0, 0, 0, 0}},
      {"W", 0, {2, 1, -3, 0, 0, 0, 0}},        {"C", 0, {0, 0, 1, 1, 0, 0, 0}},
      {"Wb", 0, {2, 1, -2, -1, 0, 0, 0}},      {"lm", 0, {0, 0, 0, 0, 0, 0, 1}},
      {"N/m", 0, {0, 1, -2, 0, 0, 0, 0}},      {"J/K", 0, {2, 1, -2, 0, -1, 0, 0}},
      {"J/(kg.K)", 0, {2, 0, -2, 0, -1, 0, 0}}, {"V/m", 0, {1, 1, -3, -1, 0, 0, 0}},
      {"S/m", 0, {-3, -1, 3, 2, 0, 0, 0}},     {"W/(m.K)", 0, {1, 1, -3, 0, -1, 0, 0}},
      {"C.m", 0, {1, 0, 1, 1, 0, 0, 0}},       {"\x9Dm", 0, {3, 1, -3, -2, 0, 0, 0}},
      {"N.m", 0, {2, 1, -2, 0, 0, 0, 0}},
  };
  return table;
}

const std::vector<Tunite> &UnitesSpeciales() {
  static const std::vector<Tunite> table{
      {"L", -3, {3, 0, 0, 0, 0, 0, 0}},
      {"rad", 0, {}, GenreRadian},
      {"\xB0" "C", 0, {0, 0, 0, 0, 1, 0, 0}},
      {"bar", 5, {-1, 1, -2, 0, 0, 0, 0}},
      {"dB", 0, {}, GenreDecibel},
      {"\xB0", 0, {}, GenreDegre},
      {"%", 0, {}},
  };
  return table;
}

void InitialiseUnites() {
  UnitesNommees();
  UnitesSpeciales();
}

bool EstPrefixe(int n) {
  return n >= -18 && n <= 18 && (n % 3 == 0 || n == -2 || n == -1 || n == 2);
}

Texte32 Puissance10Texte(std::string_view texte, int n) {
  if (n == 0) return texte;
  const Texte32 tete = "10" + EnExposant(n) + " ";
  if (tete.size() + texte.size() < 33) return tete + texte;
  return tete + "S.I.";
}

Texte32 AvecPrefixe(std::string_view texte, int n) {
  std::string_view t = texte;
  // A first letter that is a prefix of the following unit is one already present
  // ("mrad"), unless the whole text is a unit of its own ("cd" is no centi-day).
  if (t.size() > 1 && InitialesUnites.find(t[1]) != std::string_view::npos && !ChercheLigne(t)) {
    if (const auto p = PuissancePrefixe(t[0])) {
      n = SommeVerifiee(n, *p);
      t.remove_prefix(1);
    }
  }
  if (n == 0) return t;
  if (EstPrefixe(n)) return Texte32(*LettrePrefixe(n)) + t;
  return Puissance10Texte(t, n);
}
