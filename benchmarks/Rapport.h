#pragma once
// Runs the registered benchmarks like benchmark's own main(), then prints the ratio of
// each benchmark's time to its yardstick's (medians when repetitions are asked for).
#include <string>
#include <utility>
#include <vector>

struct Comparaison {
  std::string mesure;    // benchmark name, e.g. "Spectrum/Rectangle"
  std::string etalon;    // e.g. "FFTW_r2c"
};

int LanceEtCompare(int argc, char **argv, const std::vector<Comparaison> &comparaisons);
