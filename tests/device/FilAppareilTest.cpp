// The oscilloscope model worked from a thread of its own, as the device thread works it,
// while the test thread changes the bench, reads the virtual oscilloscope and moves the
// clock. Under the thread sanitizer a missing lock is a report; here, a frame that is not
// whole or a clock that lost or undid time is a failure.
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "Circuits.h"
#include "Sources.h"
#include "SurLeBanc.h"
#include "TOscillo.h"
#include "ToursDuTest.h"

namespace {

// A clock seam on the bench that counts what it was asked to wait.
class HorlogeComptee final : public Horloge {
 public:
  void Attendre(int ms) override {
    attenduMs += ms;
    Banc().Horloge().Avance(int64_t(ms) * 1000);
  }
  int64_t MaintenantUs() const override { return Banc().Horloge().MaintenantUs(); }
  std::atomic<int64_t> attenduMs = 0;
};

constexpr int Trames = 3;
constexpr int SalvesParTrame = TOscillo::NbEchantillonsMax / 64;  // 64 samples a burst
constexpr int AttenteSalveMs = 10;

using FilAppareil = SurLeBanc;

TEST_F(FilAppareil, LesTramesRestentEntieresPendantQueLeBancChange) {
  // two clock seams, swapped by the test thread while the device thread waits on them
  HorlogeComptee a, b;
  DefinitHorloge(&a);
  const int64_t departUs = Banc().Horloge().MaintenantUs();

  ToursDuTest tours;
  std::atomic<bool> fini = false;
  bool connecte = false;
  std::vector<int> tailles;
  std::vector<int64_t> vusParLAppareil;
  std::thread appareil([&] {
    {
      TOscillo o;
      connecte = o.EstConnecte();
      for (int k = 0; connecte && k < Trames; ++k) {
        o.Lance();
        tours.AttendUnTourEntier();  // the bench changes under a powered, started scope
        // a stalled frame ends after a few times the bursts it needs
        for (int n = 0; o.NbEchantillons() < TOscillo::NbEchantillonsMax && n < 4 * SalvesParTrame;
             ++n) {
          o.LitDonnees();
          Attendre(AttenteSalveMs);
          vusParLAppareil.push_back(HorlogeCourante().MaintenantUs());
        }
        tailles.push_back(o.NbEchantillons());
      }
      o.Stoppe();
    }
    fini = true;
  });

  const std::shared_ptr<const Source> sources[] = {std::make_shared<Sinus>(2.0, 3000.0),
                                                   std::make_shared<Carre>(-1.0, 1.0, 500.0, 0.5)};
  const std::shared_ptr<Circuit> circuits[] = {std::make_shared<PasseBasRC>(200.0), nullptr};
  std::vector<int64_t> vusParLeTest;
  int64_t avanceUs = 0;
  bool alimente = false;
  for (size_t i = 0; !fini; ++i) {
    Banc().DefinitSource(sources[i % 2]);
    Banc().DefinitCircuit(circuits[i / 2 % 2]);
    alimente = Virtuel().Alimente() || alimente;
    EXPECT_TRUE(Virtuel().EstBranche());
    EXPECT_GT(Virtuel().FrequenceEchantillonnage(), 0);
    Banc().Horloge().Avance(100);
    avanceUs += 100;
    vusParLeTest.push_back(Banc().Horloge().MaintenantUs());
    DefinitHorloge(i % 2 ? &a : &b);
    tours.Termine();
  }
  appareil.join();
  DefinitHorloge(nullptr);

  ASSERT_TRUE(connecte);
  EXPECT_TRUE(alimente);
  EXPECT_FALSE(Virtuel().Alimente());  // stopped at the end
  EXPECT_EQ(tailles, std::vector<int>(Trames, TOscillo::NbEchantillonsMax));
  for (const auto *vus : {&vusParLAppareil, &vusParLeTest}) {
    SCOPED_TRACE(vus == &vusParLeTest ? "test" : "appareil");
    ASSERT_FALSE(vus->empty());
    EXPECT_GE(vus->front(), departUs);
    for (size_t i = 1; i < vus->size(); ++i) ASSERT_LE((*vus)[i - 1], (*vus)[i]) << i;
  }
  // every wait and every advance moved the clock, none was lost
  EXPECT_EQ(Banc().Horloge().MaintenantUs() - departUs,
            (a.attenduMs + b.attenduMs) * 1000 + avanceUs);
}

}  // namespace
