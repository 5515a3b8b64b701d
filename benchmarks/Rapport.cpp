#include "Rapport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

// Keeps one time per benchmark: the median when there are repetitions, else the run.
class Collecteur : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> temps;

  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs) {
      const std::string nom = r.run_name.function_name +
                              (r.run_name.args.empty() ? "" : "/" + r.run_name.args);
      if (r.run_type == Run::RT_Iteration && !temps.count(nom + "#median"))
        temps[nom] = r.GetAdjustedCPUTime();
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        temps[nom] = r.GetAdjustedCPUTime();
        temps[nom + "#median"] = 1;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int LanceEtCompare(int argc, char **argv, const std::vector<Comparaison> &comparaisons) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Collecteur collecteur;
  benchmark::RunSpecifiedBenchmarks(&collecteur);
  benchmark::Shutdown();
  for (const Comparaison &c : comparaisons) {
    const auto m = collecteur.temps.find(c.mesure), e = collecteur.temps.find(c.etalon);
    if (m == collecteur.temps.end() || e == collecteur.temps.end() || e->second <= 0) continue;
    std::printf("ratio %-28s / %-10s = %.2f\n", c.mesure.c_str(), c.etalon.c_str(),
                m->second / e->second);
  }
  return 0;
}

void DecritMachine(std::ostream &sortie, const char *programme) {
  benchmark::BenchmarkReporter::Context::executable_name = programme;
  benchmark::BenchmarkReporter::PrintBasicContext(&sortie, benchmark::BenchmarkReporter::Context());
  sortie.flush();
}
