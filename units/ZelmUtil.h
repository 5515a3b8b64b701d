#pragma once
#include <string>
#include <string_view>

#include "TexteCourt.h"

// Marks a value that does not exist (a number that did not read, a missing sample).
// Compared exactly, never with a tolerance.
inline constexpr double ValeurIndefinie = 1e-26;
inline bool EstIndefinie(double x) { return x == ValeurIndefinie; }

// The decimal separator of the user's system: the program sets it once at start from
// the locale; tests set it explicitly. '.' until set.
void FixeSeparateurDecimal(char separateur);
char SeparateurDecimal();

// General decimal format: `chiffres` significant digits, at least `chiffresExposant`
// exponent digits, the given separator; fixed notation for exponents -3..chiffres.
std::string FormatGeneral(double x, int chiffres, int chiffresExposant, char separateur);

// Display text: 5 significant digits, the system's separator; a blank for ValeurIndefinie.
Texte32 FormatNombre(double x);
// Export text: 5 significant digits, two exponent digits at least, always '.'.
Texte32 NombreExport(double x);
// A typed number, either separator, optionally ending with an SI prefix letter
// ("2.5k", "3m", "10µ"); ValeurIndefinie when it does not read. Never raises.
double LitNombre(std::string_view texte);
// Strict decimal reading ([sign] digits [sep digits] [E [sign] digits]) with the given
// separator; false when the whole text is not such a number or overflows a double.
bool LitDecimal(std::string_view texte, char separateur, double &valeur);

// n in superscript bytes ("-12" gives 0xAA 0xB9 0xB2); 0 gives the empty text.
Texte32 EnExposant(int n);
// Value of an exponent digit, plain or superscript; any other character gives 0.
int ChiffreExposant(char c);

// The path with a final '/', unless it already ends with one; empty stays empty.
std::string AvecSeparateur(std::string_view chemin);
