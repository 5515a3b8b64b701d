// End to end on the virtual bench, as the program works: the generator driver through its
// library, the oscilloscope model through the device-access library, the circuit between.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <memory>
#include <numbers>
#include <vector>

#include "BancVirtuel.h"
#include "CircuitsMesure.h"
#include "Horloge.h"
#include "HorlogeDuBanc.h"
#include "TOscillo.h"
#include "PresetsGenerateurs.h"
#include "Quilink.h"
#include "gbf_USB_dynamique.h"
#include "gtbf_USB_dynamique.h"

namespace {

using Serie = std::array<double, 8193>;

// Frequency from the rising crossings of the middle, interpolated between samples; a
// crossing counts again only once the signal has gone back below a quarter of its swing,
// so the noise around a crossing does not count twice.
double Frequence(const Serie &t, const Serie &v) {
  const auto [bas, haut] = std::minmax_element(v.begin(), v.begin() + 8192);
  const double milieu = (*bas + *haut) / 2, hysteresis = (*haut - *bas) / 4;
  std::vector<double> passages;
  bool arme = false;
  for (int i = 1; i < 8192; ++i) {
    if (v[i] < milieu - hysteresis) arme = true;
    if (arme && v[i - 1] < milieu && v[i] >= milieu) {
      passages.push_back(t[i - 1] + (t[i] - t[i - 1]) * (milieu - v[i - 1]) / (v[i] - v[i - 1]));
      arme = false;
    }
  }
  // the period is the slope of the crossing times against their rank: every crossing
  // weighs in, so one a sample late from the noise moves it little
  const double n = static_cast<double>(passages.size());
  if (n < 2) return 0;
  double sk = 0, st = 0, skk = 0, skt = 0;
  for (size_t k = 0; k < passages.size(); ++k) {
    sk += k;
    st += passages[k];
    skk += double(k) * k;
    skt += k * passages[k];
  }
  return (n * skk - sk * sk) / (n * skt - sk * st);
}

// Peak of the sine at f that fits the samples best (least squares on sin, cos and a constant).
double Crete(const Serie &t, const Serie &v, double f) {
  double m[3][4] = {};
  for (int i = 0; i < 8192; ++i) {
    const double w = 2 * std::numbers::pi * f * t[i];
    const double x[3] = {std::sin(w), std::cos(w), 1};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) m[r][c] += x[r] * x[c];
      m[r][3] += x[r] * v[i];
    }
  }
  for (int p = 0; p < 3; ++p)
    for (int r = 0; r < 3; ++r)
      if (r != p) {
        const double k = m[r][p] / m[p][p];
        for (int c = 0; c < 4; ++c) m[r][c] -= k * m[p][c];
      }
  return std::hypot(m[0][3] / m[0][0], m[1][3] / m[1][1]);
}

class BancComplet : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QuilinkSimulation(Preset()), 1);
    Banc().Horloge().PasseEnVirtuel();
    DefinitHorloge(&horloge);
    InitialiseGBF_USB();
    InitialiseGTBF_USB();
    ASSERT_TRUE(GBF_USBPresent());
    ASSERT_TRUE(GTBF_USBPresent());
    // as the main window picks its generator: the low-frequency one first
    if (GBF_USB()->Ouvre())
      typeGenerateur = 1;
    else if (GTBF_USB()->Ouvre())
      typeGenerateur = 2;
    ASSERT_NE(typeGenerateur, 0);
    oscillo = std::make_unique<TOscillo>();
    ASSERT_TRUE(oscillo->EstConnecte());
  }
  virtual const char *Preset() const { return "demo"; }
  void TearDown() override {
    oscillo.reset();
    FinaliseGTBF_USB();
    FinaliseGBF_USB();
    DefinitHorloge(nullptr);
    Banc().Vide();
  }

  // What the frequency-response sweep does to set a frequency.
  template <typename Pilote>
  static void Regle(Pilote &g, double f, double amplitude) {
    g.Amplitude = amplitude;
    g.Stoppe();
    g.SetFrequence(f);
    g.CalculeTable();
    g.Lance();
  }
  void Regle(double f, double amplitude) {
    if (typeGenerateur == 1)
      Regle(*GBF_USB(), f, amplitude);
    else
      Regle(*GTBF_USB(), f, amplitude);
  }

  // One free-running frame, read burst by burst as the bench produces it.
  void Acquiert(int duree, int calibre1, int calibre2) {
    oscillo->SetDuree(duree);
    oscillo->SetSynchro(0);
    oscillo->SetCalibre(1, calibre1);
    oscillo->SetCalibre(2, calibre2);
    oscillo->SetCouplage(1, 1);
    oscillo->SetCouplage(2, 1);
    oscillo->SetAlim(true);
    oscillo->Lance();
    for (int essais = 0; oscillo->NbEchantillons() < 8192 && essais < 100000; ++essais) {
      const int avant = oscillo->NbEchantillons();
      oscillo->LitDonnees();
      if (oscillo->NbEchantillons() == avant) horloge.Attendre(1);
    }
    oscillo->Stoppe();
    ASSERT_EQ(oscillo->NbEchantillons(), 8192);
    oscillo->CalculeSignaux(temps.data(), voie1.data(), voie2.data());
  }

  // A 2 V peak generator at f: its frequency on channel 1, and channel 2 / channel 1
  // within 2 % of the circuit's gain at f.
  void VerifieRapport(double f, int duree, int calibre2, double gain) {
    SCOPED_TRACE(f);
    Regle(f, 2.0);
    Acquiert(duree, 6, calibre2);
    const double mesure = Frequence(temps, voie1);
    EXPECT_NEAR(mesure, f, f * 1e-3);
    const double rapport = Crete(temps, voie2, mesure) / Crete(temps, voie1, mesure);
    EXPECT_NEAR(rapport, gain, gain * 0.02);
  }

  HorlogeDuBanc horloge;
  int typeGenerateur = 0;  // 1 low-frequency, 2 very-low-frequency
  std::unique_ptr<TOscillo> oscillo;
  Serie temps{}, voie1{}, voie2{};
};

TEST_F(BancComplet, LeGenerateurA1kHzSortSurLaVoie1) {
  Regle(1000, 2.0);
  Acquiert(9, 6, 6);  // 800 kHz: ten periods; ±4 V on both channels
  const double f = Frequence(temps, voie1);
  EXPECT_NEAR(f, 1000, 1000 * 1e-3);
  EXPECT_NEAR(Crete(temps, voie1, f), 2.0, 2.0 * 0.02);
}

TEST_F(BancComplet, LaVoie2SuitLaReponseDuPasseBas) {
  struct Cas { double f; int duree, calibre2; } cas[] = {
      {1000, 9, 5},    // cut-off: 1/√2, ±2 V on channel 2
      {100, 11, 6},    // 160 kHz: five periods
      {10000, 7, 3},   // 4 MHz: twenty periods; about 0.2 V on ±400 mV
  };
  for (auto [f, duree, calibre2] : cas)
    VerifieRapport(f, duree, calibre2, std::abs(ReponsePasseBasRC(CoupureDemo, f)));
  EXPECT_NEAR(std::abs(ReponsePasseBasRC(CoupureDemo, 1000)), 1 / std::sqrt(2.0), 1e-12);
}

class BancPasseBande : public BancComplet {
 protected:
  const char *Preset() const override { return "passe-bande"; }
};

TEST_F(BancPasseBande, LaVoie2SuitLaReponseDuPasseBande) {
  struct Cas { double f; int duree, calibre2; } cas[] = {
      {2000, 9, 6},   // f0: gain 1
      {1000, 9, 4},   // an octave below: 1/√10, about 0.63 V on ±800 mV
      {8000, 7, 4},   // two octaves above: about 0.26
  };
  for (auto [f, duree, calibre2] : cas)
    VerifieRapport(f, duree, calibre2,
                   std::abs(ReponsePasseBande(CentrePasseBande, QualitePasseBande, f)));
}

class BancTBF : public BancComplet {
 protected:
  const char *Preset() const override { return "demo-tbf"; }
};

TEST_F(BancTBF, LeGenerateurTresBasseFrequenceA10HzSortSurLaVoie1) {
  ASSERT_EQ(typeGenerateur, 2);
  Regle(10, 1.5);     // 40 × 10 000 ticks of 4 MHz per period
  Acquiert(15, 5, 5);  // 8 kHz: ten periods; ±2 V on both channels
  const double f = Frequence(temps, voie1);
  EXPECT_NEAR(f, 10, 10 * 1e-3);
  EXPECT_NEAR(Crete(temps, voie1, f), 1.5, 1.5 * 0.02);
  const double rapport = Crete(temps, voie2, f) / Crete(temps, voie1, f);
  EXPECT_NEAR(rapport, std::abs(ReponsePasseBasRC(CoupureDemo, 10)), 0.02);
}

}  // namespace
