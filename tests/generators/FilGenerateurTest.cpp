// The low-frequency generator stepped through its library from a thread of its own, as the
// device thread steps it, while the test thread reads the virtual generator's output.
// Under the thread sanitizer a missing lock is a report; here, an output that mixes two
// settings is a failure.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "GenerateurVirtuel.h"
#include "SurLeBanc.h"
#include "ToursDuTest.h"
#include "gbf_USB_dynamique.h"

namespace {

class FilGenerateur : public SurLeBanc {
 protected:
  void SetUp() override {
    SurLeBanc::SetUp();
    InitialiseGBF_USB();
    ASSERT_TRUE(GBF_USBPresent());
  }
  void TearDown() override {
    FinaliseGBF_USB();
    SurLeBanc::TearDown();
  }
};

// Each reached exactly by the driver (an undivided clock, a whole number of points).
constexpr double Frequences[] = {1000, 2000, 480'000, 250};
constexpr double Amplitude = 3;
constexpr double VoltsDUnCode = 20.0 / 16383;

// The setting that gives f, 0 when none does.
double FrequenceDemandee(double f) {
  for (double demandee : Frequences)
    if (std::abs(f - demandee) <= demandee * 1e-9) return demandee;
  return 0;
}

TEST_F(FilGenerateur, LaSortieLueEstToujoursCelleDUnReglageEntier) {
  const auto g = std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil("QuiloGenUSB-0"));
  ASSERT_TRUE(g);
  ToursDuTest tours;
  std::atomic<bool> fini = false;
  bool ouvert = false;
  std::thread appareil([&] {
    TGBF_USB &pilote = *GBF_USB();
    ouvert = pilote.Ouvre();
    pilote.Amplitude = Amplitude;
    for (int tour = 0; ouvert && tour < 3; ++tour)
      for (double f : Frequences) {
        pilote.Stoppe();
        pilote.SetFrequence(f);
        pilote.CalculeTable();
        pilote.Lance();  // its waits go through the clock seam
        tours.AttendUnTourEntier();  // one whole reading of this setting
      }
    pilote.Ferme();
    fini = true;
  });

  std::vector<double> horsReglage;  // frequencies that no setting gives
  std::set<double> vues;
  double crete = 0;
  while (!fini) {
    const double f = g->Frequence();  // 0: stopped
    if (f != 0 && FrequenceDemandee(f) == 0) horsReglage.push_back(f);
    if (f != 0) vues.insert(FrequenceDemandee(f));
    const double t = Banc().Horloge().Maintenant();
    crete = std::max({crete, std::abs(g->Tension(t)), std::abs(Banc().Tension(1, t)),
                      std::abs(g->Moyenne())});
    Banc().Horloge().Avance(7);
    tours.Termine();
  }
  appareil.join();

  ASSERT_TRUE(ouvert);
  EXPECT_EQ(horsReglage, std::vector<double>{});
  EXPECT_EQ(vues.size(), std::size(Frequences));  // each setting was read while it played
  EXPECT_LE(crete, Amplitude + VoltsDUnCode);
  EXPECT_FALSE(g->EnMarche());  // closing stops it
}

}  // namespace
