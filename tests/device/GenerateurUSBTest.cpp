#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Enregistrements.h"
#include "Erreurs.h"
#include "Horloge.h"
#include "gbf_usb_comp.h"
#include "gtbf_usb_comp.h"

namespace {

TEST(SetFrequenceGTBF, PointsEtRechargeSurLaTable) {
  struct Cas { double f; int32_t points, recharge; } cas[] = {
      {1000, 100, 65496},        // 4000 ticks: divider raised to 40
      {10, 10000, 65496},        // 400 000 ticks would want 26: the minimum 40 holds
      {5000, 50, 65496},         // clamped to 2000 Hz
      {2000, 50, 65496},
      {0.005, 16000, 15535},     // slowest: 8e8 ticks, divider 50 001
      {0.001, 16000, 15535},     // clamped up
      {std::nan(""), 16000, 15535},
      {3.7, 15898, 65468},       // 1 081 081 ticks: divider 68, above the minimum
  };
  for (auto [f, points, recharge] : cas) {
    SCOPED_TRACE(testing::Message() << "f = " << f);
    TGTBF_USB g;
    g.SetFrequence(f);
    EXPECT_EQ(g.NbPointsPeriode, points);
    EXPECT_EQ(g.Recharge, recharge);
  }
}

TEST(SetFrequenceGBF, HorlogePointsEtRechargeSurLaTable) {
  struct Cas { double f; int horloge; int32_t points, recharge; } cas[] = {
      {10000, 0, 4800, 0},
      {1000, 1, 12000, 65535},    // 48 000 points do not fit
      {300, 2, 13333, 65535},
      {250, 2, 8000, 65534},      // 16 000 points do not fit: divided clock
      {249.9, 2, 8003, 65534},    // below 250 Hz always the divided clock
      {480000, 0, 100, 0},
      {1e6, 0, 100, 0},           // clamped to 480 kHz
      {3000.5, 0, 15997, 0},      // just fits the fastest clock
      {0.02, 2, 15998, 53035},    // slowest: 2e8 ticks, divider 12 501
      {0.0, 2, 15998, 53035},
  };
  for (auto [f, horloge, points, recharge] : cas) {
    SCOPED_TRACE(testing::Message() << "f = " << f);
    TGBF_USB g;
    g.SetFrequence(f);
    EXPECT_EQ(g.Horloge, horloge);
    EXPECT_EQ(g.NbPointsPeriode, points);
    EXPECT_EQ(g.Recharge, recharge);
  }
}

TEST(CodeAmplitude, ArrondiAuPairPuisLimite) {
  TGTBF_USB a;
  TGBF_USB b;
  struct Cas { const TGenerateurUSB *g; double v; int32_t code; } cas[] = {
      {&a, 4, 255}, {&a, -4, 0},            // 127 + nearest(±127.5), limited
      {&a, 0, 127}, {&a, 8.0 / 255, 128},
      {&a, 100, 255}, {&a, -100, 0},
      {&b, 10, 0}, {&b, -10, 16383},        // 8192 + nearest(∓8191.5), limited
      {&b, 0, 8192}, {&b, 1, 7373},         // inverted: a positive volt lowers the code
      {&b, 1e300, 0}, {&b, -1e300, 16383},
  };
  for (auto [g, v, code] : cas) {
    SCOPED_TRACE(testing::Message() << "v = " << v);
    EXPECT_EQ(g->CodeAmplitude(v), code);
  }
}

TEST(CalculeTable, UnePeriodePuisLeCodeDuZero) {
  TGBF_USB b;
  b.Amplitude = 10;
  b.NbPointsPeriode = 16;
  b.CalculeTable();
  EXPECT_EQ(b.Table[0], 8192);
  EXPECT_EQ(b.Table[4], 0);       // sine +1 at full amplitude
  EXPECT_EQ(b.Table[8], 8192);
  EXPECT_EQ(b.Table[12], 16383);  // sine -1
  EXPECT_EQ(b.Table[2], 8192 - static_cast<int32_t>(std::nearbyint(std::sqrt(0.5) * 8191.5)));
  for (int i = 16; i <= PointsPeriodeMax; ++i) ASSERT_EQ(b.Table[i], 8192) << i;

  TGTBF_USB a;
  a.Amplitude = 4;
  a.SetFrequence(0.005);  // the longest table fills every slot but the last
  a.CalculeTable();
  EXPECT_EQ(a.Table[0], 127);
  EXPECT_EQ(a.Table[4000], 255);
  EXPECT_EQ(a.Table[12000], 0);
  EXPECT_LT(a.Table[15000], 127);
  EXPECT_EQ(a.Table[16000], 127);
}

TEST(CalculeTable, UnePeriodePlusLongueQueLaTableEstUneErreurDIntervalle) {
  TGTBF_USB a;
  a.Table.fill(-1);
  for (int32_t n : {-1, PointsPeriodeMax + 1}) {
    a.NbPointsPeriode = n;
    EXPECT_THROW(a.CalculeTable(), ERangeError) << n;
  }
  EXPECT_EQ(a.Table[0], -1);  // nothing written
  a.NbPointsPeriode = 0;      // before any frequency: all at 0 V
  a.CalculeTable();
  EXPECT_EQ(a.Table[0], 127);
}

TEST(CalculeTable, AmplitudeInitialeALaPositionParDefaut) {
  // Position 50 of 200: 1 V and 2.5 V, not 0 V, before any amplitude was set.
  TGTBF_USB a;
  TGBF_USB b;
  EXPECT_DOUBLE_EQ(a.Amplitude, 1.0);
  EXPECT_DOUBLE_EQ(b.Amplitude, 2.5);
  b.NbPointsPeriode = 16;
  b.CalculeTable();
  EXPECT_EQ(b.Table[4], 8192 - 2048);
}

// ---- call order and waits, on a virtual clock and fake library entries ----

std::vector<std::string> journal;
std::vector<uint8_t> dernierEnregistrement;
int32_t handleRendu = 0;      // answer of _SetPortOpen for the second name
bool premierNomRepond = false;
int32_t lanceRendu = 1;  // what the library's start answers

class HorlogeJournal final : public Horloge {
 public:
  void Attendre(int ms) override {
    journal.push_back("attente " + std::to_string(ms));
    maintenantUs_ += int64_t{ms} * 1000;
  }
  int64_t MaintenantUs() const override { return maintenantUs_; }

 private:
  int64_t maintenantUs_ = 0;
};

std::string Nom(const char16_t *nom) {
  std::string s;
  for (const char16_t c : TexteOle(nom)) s += static_cast<char>(c);
  return s;
}

extern "C" {
int32_t FauxOpen(const char16_t *nom) {
  const std::string s = Nom(nom);
  journal.push_back("open " + s);
  if (s.back() == '0') return premierNomRepond ? 5 : 0;
  return handleRendu;
}
int32_t FauxClose(int32_t h) { journal.push_back("close " + std::to_string(h)); return 1; }
int32_t FauxVersion(int32_t, char *) { journal.push_back("version"); return 0; }
int32_t FauxLance(int32_t h, int32_t mode, const uint8_t *e) {
  journal.push_back("lance " + std::to_string(h) + " " + std::to_string(mode));
  dernierEnregistrement.assign(e, e + TailleEnregistrementGenerateur);
  return lanceRendu;
}
int32_t FauxStop(int32_t h) { journal.push_back("stop " + std::to_string(h)); return 1; }
}

const EntreesGenerateur fausses{FauxClose, FauxOpen, FauxVersion, FauxLance, FauxStop};

class OrdreDesAppels : public testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    dernierEnregistrement.clear();
    handleRendu = 9;
    premierNomRepond = false;
    lanceRendu = 1;
    DefinitHorloge(&horloge);
  }
  void TearDown() override { DefinitHorloge(nullptr); }
  HorlogeJournal horloge;
};

TEST_F(OrdreDesAppels, OuvreEssaieLesDeuxNomsPuisAttend) {
  TGBF_USB g(&fausses);
  EXPECT_TRUE(g.Ouvre());
  EXPECT_EQ(g.Handle, 9);
  EXPECT_TRUE(g.Ouvre());  // already open: no call, no wait
  EXPECT_EQ(journal, (std::vector<std::string>{"open QuiloGenUSB-0", "open QuiloGenUSB-1",
                                               "attente 100"}));
  journal.clear();
  TGTBF_USB a(&fausses);
  premierNomRepond = true;
  EXPECT_TRUE(a.Ouvre());
  EXPECT_EQ(journal, (std::vector<std::string>{"open QuiloGenMinUSB-0", "attente 100"}));
}

TEST_F(OrdreDesAppels, OuvreSansGenerateurEchoue) {
  handleRendu = 0;
  TGTBF_USB a(&fausses);
  EXPECT_FALSE(a.Ouvre());
  EXPECT_EQ(a.Handle, 0);
  EXPECT_EQ(journal.size(), 3u);
  journal.clear();
  a.Ferme();  // closed: nothing to do
  EXPECT_TRUE(journal.empty());
}

TEST_F(OrdreDesAppels, FrequencePuisLancementPuisFermeture) {
  TGBF_USB g(&fausses);
  ASSERT_TRUE(g.Ouvre());
  journal.clear();
  g.Stoppe();
  g.SetFrequence(300);
  g.CalculeTable();
  g.Lance();
  g.Ferme();
  EXPECT_EQ(journal, (std::vector<std::string>{"stop 9", "attente 100", "stop 9", "lance 9 1",
                                               "attente 100", "stop 9", "close 9",
                                               "attente 100"}));
  EXPECT_EQ(g.Handle, 0);
  EXPECT_EQ(horloge.MaintenantUs(), 400'000);  // the open waited too
}

// A start the library refuses is a generator gone: the driver lets its handle go, so
// that the next open finds the device again.
TEST_F(OrdreDesAppels, UnLancementRefuseLacheLeHandle) {
  TGBF_USB g(&fausses);
  ASSERT_TRUE(g.Ouvre());
  g.SetFrequence(300);
  g.CalculeTable();
  EXPECT_TRUE(g.Lance());
  EXPECT_EQ(g.Handle, 9);
  lanceRendu = 0;
  journal.clear();
  EXPECT_FALSE(g.Lance());
  EXPECT_EQ(g.Handle, 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"attente 100", "stop 9", "lance 9 1",
                                               "attente 100", "close 9"}));
  journal.clear();
  EXPECT_TRUE(g.Ouvre());
  EXPECT_EQ(journal.front(), "open QuiloGenUSB-0");
}

TEST_F(OrdreDesAppels, EnregistrementDe64012Octets) {
  TGBF_USB g(&fausses);
  ASSERT_TRUE(g.Ouvre());
  g.Amplitude = 10;
  g.SetFrequence(100);  // divided clock: 40 000 ticks, divider 3
  g.CalculeTable();
  g.Lance();
  ASSERT_EQ(dernierEnregistrement.size(), 64012u);
  const uint8_t *e = dernierEnregistrement.data();
  auto entier = [e](int offset) {
    int32_t v;
    std::memcpy(&v, e + offset, 4);  // little-endian on this platform, as on the wire
    return v;
  };
  EXPECT_EQ(entier(0), 13333);
  EXPECT_EQ(e[4], 2);
  EXPECT_EQ(e[5] | e[6] | e[7], 0);
  EXPECT_EQ(entier(8), 65533);
  EXPECT_EQ(entier(12), 8192);
  EXPECT_EQ(entier(12 + 4 * 15999), 8192);
  for (int i = 0; i < 16000; i += 1111) EXPECT_EQ(entier(12 + 4 * i), g.Table[i]) << i;

  TGTBF_USB a(&fausses);
  ASSERT_TRUE(a.Ouvre());
  a.SetFrequence(1000);
  a.CalculeTable();
  a.Lance();
  EXPECT_EQ(dernierEnregistrement[4], 0);  // this kind has a single clock
  EXPECT_EQ(dernierEnregistrement[0], 100);
  EXPECT_EQ(dernierEnregistrement[8] | dernierEnregistrement[9] << 8, 65496);
}

TEST_F(OrdreDesAppels, SansBibliothequeRienNestAppele) {
  TGBF_USB g;
  EXPECT_FALSE(g.Ouvre());
  g.Stoppe();
  EXPECT_FALSE(g.Lance());
  g.Ferme();
  EXPECT_TRUE(journal.empty());
}

}  // namespace
