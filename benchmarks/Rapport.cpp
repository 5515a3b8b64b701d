#include "Rapport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>

namespace {

// Keeps one CPU time per benchmark: the median when there are repetitions, else the run.
class Collecteur : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> temps;  // in the benchmark's own time unit
  std::map<std::string, double> parSeconde;

  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs) {
      const std::string nom = r.run_name.function_name +
                              (r.run_name.args.empty() ? "" : "/" + r.run_name.args);
      if (r.run_type == Run::RT_Iteration && !temps.count(nom + "#median")) Garde(nom, r);
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        Garde(nom, r);
        temps[nom + "#median"] = 1;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // CPU time in milliseconds, or a negative value when the benchmark did not run
  double Millisecondes(const std::string &nom) const {
    const auto t = temps.find(nom);
    if (t == temps.end()) return -1;
    return t->second * 1e3 / parSeconde.at(nom);
  }

 private:
  void Garde(const std::string &nom, const Run &r) {
    temps[nom] = r.GetAdjustedCPUTime();
    parSeconde[nom] = benchmark::GetTimeUnitMultiplier(r.time_unit);
  }
};

const char *Verdict(bool atteint) { return atteint ? "ok" : "MANQUE"; }

}  // namespace

std::string ModeleProcesseur() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string ligne; std::getline(cpuinfo, ligne);) {
    if (ligne.rfind("model name", 0) != 0) continue;
    const auto deuxPoints = ligne.find(':');
    if (deuxPoints != std::string::npos) return ligne.substr(ligne.find_first_not_of(' ', deuxPoints + 1));
  }
  return "?";
}

int LanceEtCompare(int argc, char **argv, const std::vector<Comparaison> &comparaisons,
                   const std::vector<Plafond> &plafonds, const std::vector<std::string> &machine) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Collecteur collecteur;
  benchmark::RunSpecifiedBenchmarks(&collecteur);
  benchmark::Shutdown();
  std::printf("processeur: %s\n", ModeleProcesseur().c_str());
  for (const std::string &ligne : machine) std::printf("%s\n", ligne.c_str());
  for (const Comparaison &c : comparaisons) {
    const double m = collecteur.Millisecondes(c.mesure), e = collecteur.Millisecondes(c.etalon);
    if (m < 0 || e <= 0) continue;
    std::printf("ratio %-28s / %-12s = %.2f", c.mesure.c_str(), c.etalon.c_str(), m / e);
    if (c.plafond > 0) std::printf("  (aim <= %.2f: %s)", c.plafond, Verdict(m / e <= c.plafond));
    std::printf("\n");
  }
  for (const Plafond &p : plafonds) {
    const double m = collecteur.Millisecondes(p.mesure);
    if (m < 0) continue;
    std::printf("time  %-28s = %.3f ms  (aim <= %.3f ms: %s)\n", p.mesure.c_str(), m,
                p.millisecondes, Verdict(m <= p.millisecondes));
  }
  return 0;
}

void DecritMachine(std::ostream &sortie, const char *programme) {
  benchmark::BenchmarkReporter::Context::executable_name = programme;
  benchmark::BenchmarkReporter::PrintBasicContext(&sortie, benchmark::BenchmarkReporter::Context());
  sortie << "processeur: " << ModeleProcesseur() << "\n";
  sortie.flush();
}
