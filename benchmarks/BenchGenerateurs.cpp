// The generators inside the program's 100 ms tick. A sweep step (Stoppe, SetFrequence,
// CalculeTable, Lance, the waits on virtual time) on the low-frequency driver through its
// library; and one frame of the band-pass bench driven by that generator, on the fastest,
// a middle and the slowest time base, where the band-pass is stepped along the generator's
// table (counter "duree_trame": the frame's own duration, seconds).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "BancVirtuel.h"
#include "Calibres.h"
#include "Horloge.h"
#include "OscilloVirtuel.h"
#include "Quilink.h"
#include "gbf_USB_dynamique.h"

namespace {

class HorlogeDuBanc final : public Horloge {
 public:
  void Attendre(int ms) override { Banc().Horloge().Avance(int64_t(ms) * 1000); }
  int64_t MaintenantUs() const override { return Banc().Horloge().MaintenantUs(); }
};

// The bench "passe-bande" with its generator open, on virtual time.
struct BancPasseBande {
  BancPasseBande() {
    QuilinkSimulation("passe-bande");
    Banc().Horloge().PasseEnVirtuel();
    DefinitHorloge(&horloge);
    InitialiseGBF_USB();
    GBF_USB()->Ouvre();
  }
  ~BancPasseBande() {
    FinaliseGBF_USB();
    DefinitHorloge(nullptr);
    Banc().Vide();
  }
  void Regle(double f) {
    TGBF_USB &g = *GBF_USB();
    g.Stoppe();
    g.SetFrequence(f);
    g.CalculeTable();
    g.Lance();
  }
  HorlogeDuBanc horloge;
};

void PasDeBalayage(benchmark::State &etat) {
  BancPasseBande banc;
  double f = 100;
  for (auto _ : etat) {
    banc.Regle(f);
    f = f < 30000 ? f * 1.1 : 100;
  }
}
BENCHMARK(PasDeBalayage)->Unit(benchmark::kMicrosecond);

void Envoie(OscilloVirtuel &o, std::vector<uint8_t> octets) {
  uint32_t n = uint32_t(octets.size());
  o.Ecrit(octets[0] == 0xFF ? 0 : 1, octets.data(), n);
}

void TramePasseBande(benchmark::State &etat) {
  const auto &base = BasesDeTemps[size_t(etat.range(0))];
  BancPasseBande banc;
  banc.Regle(20000);  // 2400 points on the 48 MHz clock: the finest staircase of a sweep
  OscilloVirtuel &oscillo = *Banc().Oscillo();
  Envoie(oscillo, {5, 1});
  Envoie(oscillo, {3, 0, 0, 0, 255, 255, 0, 0});
  Envoie(oscillo, {4, base.a, base.b, 0, base.c, 0});
  Envoie(oscillo, {1, 8, 127});
  Envoie(oscillo, {2, 8, 127});
  const double duree = 8192 / base.frequence;
  uint8_t tampon[64];
  for (auto _ : etat) {
    Envoie(oscillo, {0xFF});  // start
    Banc().Horloge().Avance(int64_t(duree * 1e6) + 2000);
    uint32_t total = 0;
    for (uint32_t n = 64; n > 0; total += n) {
      n = 64;
      oscillo.Lit(3, tampon, n);
    }
    benchmark::DoNotOptimize(total);
  }
  etat.counters["duree_trame"] = duree;
}
BENCHMARK(TramePasseBande)->Arg(0)->Arg(9)->Arg(17)->ArgName("duree")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
