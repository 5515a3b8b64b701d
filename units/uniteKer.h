#pragma once
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "TexteCourt.h"
#include "ZelmUtil.h"  // EnExposant, FormatNombre, ValeurIndefinie go with units

// A unit text that names nothing known, or ends with "^" or a sign. SetNomUnite
// catches it: its callers only see Correcte false.
struct EUniteError : std::runtime_error {
  EUniteError() : std::runtime_error("Erreur unité") {}
};

// Kinds of dimensionless units.
enum GenreUnite : uint8_t { SansGenre = 0, GenreDegre = 1, GenreRadian = 2, GenreDecibel = 3 };

// Exponents of m, kg, s, A, K, mol, cd, in this order.
using DimensionUnite = std::array<int8_t, 7>;

// A physical unit: a dimension over the seven SI base units and a power of ten,
// read from and written back to texts such as "mV", "kHz", "m.s^-2", "J/(kg.K)".
class Tunite {
 public:
  Texte32 NomUnite;          // as given to the parser, or as composed by NomAffiche
  bool Correcte = true;      // false once a reading failed
  bool NomDonne = false;     // the last text given was not empty
  uint8_t Genre = SansGenre;
  DimensionUnite Dimension{};
  int32_t PuissanceDix = 0;  // relative to the coherent SI unit (mV: -3, g: -3)
  Texte32 NomGrandeur;       // symbol of the quantity ("U", "f"), set by the owner

  Tunite() = default;
  Tunite(std::string_view nom, int32_t puissance, DimensionUnite dimension,
         uint8_t genre = SansGenre);
  virtual ~Tunite() = default;
  Tunite(const Tunite &) = default;
  Tunite &operator=(const Tunite &) = default;

  // Reads a unit text. Never raises: a text that does not read leaves Correcte false.
  void SetNomUnite(std::string_view texte);
  // Copies everything but NomGrandeur.
  void Copie(const Tunite &autre);
  // this := this x autre; exponents range-checked (ERangeError), power (EIntOverflow).
  void Multiplie(const Tunite &autre);
  // this := this ^ n, checked the same way.
  void Eleve(int n);
  // this := 1 / this.
  void Inverse();

  // Display text when the shown numbers are in units of 10^n times the unit. When no
  // text was given it writes the text it chose into NomUnite. ERangeError when
  // PuissanceDix + n leaves the signed-byte range.
  Texte32 NomAffiche(int8_t n);
  // The value with a prefixed unit ("12.3 mV"); empty for ValeurIndefinie.
  Texte32 ValeurAvecUnite(double x);
  // NomGrandeur "=" ValeurAvecUnite(x): "U=1.5 V".
  virtual Texte32 Egalite(double x);
  // Axis title for numbers divided by `echelle`: "U(mV)", or NomGrandeur alone.
  // ERangeError when the decimal exponent of echelle does not fit a signed byte.
  Texte32 TitreAxe(double echelle);
};

// The named units, searched in this order, then the special ones. Built once, on
// first use; InitialiseUnites builds them at program start.
const std::vector<Tunite> &UnitesNommees();
const std::vector<Tunite> &UnitesSpeciales();
void InitialiseUnites();

// True for the powers of ten that have an SI prefix, and for 0.
bool EstPrefixe(int n);
// "10" + superscript n + " " + text, or + "S.I." when that would pass 32 characters;
// the text itself for n = 0.
Texte32 Puissance10Texte(std::string_view texte, int n);
// The text with the prefix for 10^n (keeping account of a prefix it already has),
// or with a power-of-ten head when no prefix exists.
Texte32 AvecPrefixe(std::string_view texte, int n);
