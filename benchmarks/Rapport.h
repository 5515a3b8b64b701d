#pragma once
// What the benchmark programs print besides the runner's own table.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct Comparaison {
  std::string mesure;    // benchmark name, e.g. "Spectrum/fenetre:0"
  std::string etalon;    // e.g. "FFTW_r2c"
  double plafond = 0;    // the aim on the ratio, 0 when there is none
};

// An aim on a benchmark's own CPU time.
struct Plafond {
  std::string mesure;
  double millisecondes;
};

// The processor's model as the system names it ("?" when it does not say).
std::string ModeleProcesseur();

// Runs the registered benchmarks like benchmark's own main(), then prints the processor's
// model and the lines of `machine` (e.g. the kernel chosen), the ratio of each benchmark's
// CPU time to its yardstick's and each time against its aim, with "ok" or "MANQUE" (medians
// when repetitions are asked for).
int LanceEtCompare(int argc, char **argv, const std::vector<Comparaison> &comparaisons,
                   const std::vector<Plafond> &plafonds = {},
                   const std::vector<std::string> &machine = {});

// The machine description that the benchmark runner's report starts with (date, program,
// CPUs, caches, load) and the processor's model, for a program that measures on its own
// clock.
void DecritMachine(std::ostream &sortie, const char *programme);
