#pragma once
// What the benchmark programs print besides the runner's own table.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct Comparaison {
  std::string mesure;    // benchmark name, e.g. "Spectrum/Rectangle"
  std::string etalon;    // e.g. "FFTW_r2c"
};

// Runs the registered benchmarks like benchmark's own main(), then prints the ratio of
// each benchmark's time to its yardstick's (medians when repetitions are asked for).
int LanceEtCompare(int argc, char **argv, const std::vector<Comparaison> &comparaisons);

// The machine description that the benchmark runner's report starts with (date, program,
// CPUs, caches, load), for a program that measures on its own clock.
void DecritMachine(std::ostream &sortie, const char *programme);
