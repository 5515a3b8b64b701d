#pragma once
// The text blocks handed to the analysis application: 8-bit text, a CR LF after every
// line, a TAB after every field, numbers with '.' whatever the system's separator.
// No Qt and no I/O here: the caller publishes the block.
#include <span>
#include <string>

class Tvoie;

// What the export dialog says about the page.
struct PageExport {
  std::string programme;    // the full path of the program's own executable
  bool nouvellePage = false;
  std::string commentaire;
  std::string nom, unite, valeur;  // the extra parameter: written only with a symbol and a value
};

// The time graph: its abscissa, then each active channel in order, `n` points, then
// the graph-option groups (one line per active channel in each).
std::string BlocTemps(const PageExport &page, const Tvoie &abscisse,
                      std::span<const Tvoie *const> voies, int n);
// The response diagram: each active curve in order (the first is the frequency), `n` points.
std::string BlocMesures(const PageExport &page, std::span<const Tvoie *const> courbes, int n);
