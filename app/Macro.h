#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The one-line commands another program sends to this one: their framing on
// the local channel and their reading. Pure: no Qt, no I/O.

inline constexpr std::string_view TexteUnMessage = "Un message à la fois SVP";
inline constexpr std::string_view TexteFonctionInconnue = "Fonction inconnue : ";
inline constexpr std::string_view TexteSyntaxeMacro = "Syntaxe Macro DDE : Fonction(Paramètre)";

// Longest line read; a longer one is a syntax error, never cut.
inline constexpr std::size_t LongueurMaxMacro = 255;

enum class FonctionMacro { ConfigLoad, ConfigSave, Focus, GetData, Aucune };

struct Macro {
  FonctionMacro fonction = FonctionMacro::Aucune;
  std::string parametre;  // between the first "(" and the first ")", when "(" comes first
  std::string erreur;     // the error box's text (UTF-8) when fonction is Aucune
};

// What the request's lines ask for. Each line's terminator (CR, LF) is stripped
// first, and empty lines left at the end by a terminator do not count as lines.
// Lengths are in characters of the UTF-8 text.
Macro LitMacro(const std::vector<std::string> &lignes);

// Framing: a request is one or more lines (LF or CR LF) ended by an empty line;
// empty lines before a request are skipped.
enum class EtatRequete { Complete, Incomplete, TropGrande };

// Takes the first request off the front of `tampon` into `lignes` (without
// their terminators) when it is complete. TropGrande when the request, its
// closing empty line included, is or would be longer than `tailleMax` bytes;
// `tampon` is then left as it is.
EtatRequete ExtraitRequete(std::string &tampon, std::vector<std::string> &lignes,
                     std::size_t tailleMax);
