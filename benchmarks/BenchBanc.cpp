// The virtual bench runs inside the program's 100 ms acquisition tick: the cost
// of making and handing out one frame, to set beside that tick and beside the
// frame's own duration (counter "duree_trame", seconds), on the fastest, a middle
// and the slowest time base. Channel 2 goes through the RC low-pass and triggers
// the frame, after the 2 ms the start leaves it (the trigger search covers them).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "BancVirtuel.h"
#include "Calibres.h"
#include "Circuits.h"
#include "Horloge.h"
#include "OscilloVirtuel.h"
#include "Quilink.h"
#include "Sources.h"
#include "TOscillo.h"

namespace {

void Envoie(OscilloVirtuel &o, std::vector<uint8_t> octets) {
  uint32_t n = uint32_t(octets.size());
  o.Ecrit(octets[0] == 0xFF ? 0 : 1, octets.data(), n);
}

void TrameDuBanc(benchmark::State &etat) {
  const auto &base = BasesDeTemps[size_t(etat.range(0))];
  BancVirtuel banc;
  banc.Horloge().PasseEnVirtuel();
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000.0));
  banc.DefinitCircuit(std::make_shared<PasseBasRC>(1000.0));
  auto oscillo = banc.BrancheOscillo();
  Envoie(*oscillo, {5, 1});
  Envoie(*oscillo, {3, 2, 0, 140, 255, 255, 0, 0});
  Envoie(*oscillo, {4, base.a, base.b, 0, base.c, 0});
  Envoie(*oscillo, {1, 8, 127});
  Envoie(*oscillo, {2, 8, 127});
  const double duree = 8192 / base.frequence;
  uint8_t tampon[64];
  for (auto _ : etat) {
    Envoie(*oscillo, {0xFF});  // start
    banc.Horloge().Avance(int64_t(duree * 1e6) + 2000);
    uint32_t total = 0;
    for (uint32_t n = 64; n > 0; total += n) {
      n = 64;
      oscillo->Lit(3, tampon, n);
    }
    benchmark::DoNotOptimize(total);
  }
  etat.counters["duree_trame"] = duree;
}
BENCHMARK(TrameDuBanc)->Arg(0)->Arg(9)->Arg(17)->ArgName("duree")->Unit(benchmark::kMillisecond);

// The whole road through libquilink and the model: arm, 128 bursts, conversion.
class HorlogeDuBanc final : public Horloge {
 public:
  void Attendre(int ms) override { Banc().Horloge().Avance(int64_t(ms) * 1000); }
  int64_t MaintenantUs() const override { return Banc().Horloge().MaintenantUs(); }
};

void AcquisitionOscillo(benchmark::State &etat) {
  QuilinkSimulation("demo");
  Banc().Horloge().PasseEnVirtuel();
  HorlogeDuBanc horloge;
  DefinitHorloge(&horloge);
  TOscillo oscillo;
  oscillo.SetDuree(9);
  std::vector<double> t(8193), v1(8193), v2(8193);
  for (auto _ : etat) {
    oscillo.SetAlim(true);
    oscillo.Lance();
    for (int avant = -1; oscillo.NbEchantillons() != avant;) {
      avant = oscillo.NbEchantillons();
      oscillo.LitDonnees();
    }
    oscillo.Stoppe();
    oscillo.CalculeSignaux(t.data(), v1.data(), v2.data());
    benchmark::DoNotOptimize(v2.data());
  }
  DefinitHorloge(nullptr);
}
BENCHMARK(AcquisitionOscillo)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
