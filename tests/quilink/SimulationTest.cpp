#include <gtest/gtest.h>

#include "BancVirtuel.h"
#include "Bibliotheque.h"
#include "Enregistrements.h"
#include "FauxBackend.h"
#include "OscilloVirtuel.h"
#include "Quilink.h"

namespace {

int32_t Ouvre(const char16_t *nom) { return _SetPortOpen(ChaineOle<char16_t>(nom).c()); }

}  // namespace

TEST(QuilinkSimulation, UnPresetInconnuNeChangeRien) {
  FauxPeripherique p;
  quilink::Quilink().DefinitBackend(std::make_unique<FauxBackend>(p));
  EXPECT_EQ(QuilinkSimulation("inconnu"), 0);
  EXPECT_EQ(QuilinkSimulation(nullptr), 0);
  const int32_t h = Ouvre(u"QuiloUSB-0");
  EXPECT_EQ(p.nomsOuverts.size(), 1u);  // still the same backend
  _SetPortClose(h);
}

TEST(QuilinkSimulation, LeBancRepondSousSonNomSeulement) {
  ASSERT_EQ(QuilinkSimulation("demo"), 1);
  Banc().Horloge().PasseEnVirtuel();
  const int32_t h = Ouvre(u"QuiloUSB-0");
  ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  EXPECT_EQ(Ouvre(u"QuiloUSB-1"), QUILINK_INVALID_HANDLE);
  uint8_t version[13];
  ASSERT_EQ(_GetVersion(h, version), 1);
  EXPECT_STREQ(reinterpret_cast<char *>(version), "QuiloSim 1.0");
  // a free-running frame at 48 MHz, then bursts until it is all in
  ASSERT_EQ(_ConnectAlim(h), 1);
  ASSERT_EQ(_LanceAcqui(h, 0), 1);
  Banc().Horloge().Avance(1000);
  RecordTrame trame;
  int total = 0, salves = 0;
  for (int r; (r = _GetUSBData(h, &trame, 0)) > 0; ++salves) {
    ASSERT_LE(r, 128);
    total += r;
  }
  EXPECT_EQ(total, 2 * 8192);
  EXPECT_EQ(salves, 128);
  // unplugged: every request fails, the next open too
  Banc().Oscillo()->Debranche(true);
  EXPECT_EQ(_LanceAcqui(h, 0), 0);
  EXPECT_EQ(_GetVersion(h, version), 0);
  EXPECT_EQ(Ouvre(u"QuiloUSB-0"), QUILINK_INVALID_HANDLE);
  _SetPortClose(h);
  Banc().Horloge().PasseEnReel();
}

TEST(QuilinkSimulation, SansOscilloToutOuvertureEchoue) {
  ASSERT_EQ(QuilinkSimulation("sans-oscillo"), 1);
  EXPECT_EQ(Ouvre(u"QuiloUSB-0"), QUILINK_INVALID_HANDLE);
}

TEST(QuilinkSimulation, UnOscilloDebrancheLaisseSonHandleMortMemeRebranche) {
  ASSERT_EQ(QuilinkSimulation("demo"), 1);
  const int32_t h = Ouvre(u"QuiloUSB-0");
  ASSERT_EQ(_ConnectAlim(h), 1);
  EXPECT_EQ(QuilinkCause(h, nullptr, 0), QUILINK_CAUSE_AUCUNE);
  Banc().Oscillo()->Debranche(true);
  EXPECT_EQ(_ConnectAlim(h), 0);
  EXPECT_EQ(QuilinkCause(h, nullptr, 0), QUILINK_CAUSE_DEBRANCHE);
  EXPECT_EQ(Ouvre(u"QuiloUSB-0"), QUILINK_INVALID_HANDLE);
  Banc().Oscillo()->Debranche(false);
  // plugged in again, it is a new device: the old handle stays dead, a new open works
  EXPECT_EQ(_ConnectAlim(h), 0);
  EXPECT_EQ(QuilinkCause(h, nullptr, 0), QUILINK_CAUSE_DEBRANCHE);
  const int32_t h2 = Ouvre(u"QuiloUSB-0");
  ASSERT_NE(h2, QUILINK_INVALID_HANDLE);
  EXPECT_EQ(_ConnectAlim(h2), 1);
  _SetPortClose(h);
  _SetPortClose(h2);
}

TEST(QuilinkSimulation, LeDescripteurPorteLesIdentifiantsDeLaConstruction) {
  ASSERT_EQ(QuilinkSimulation("demo"), 1);
  const int32_t h = Ouvre(u"QuiloUSB-0");
  ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  const uint8_t *d = quilink::Quilink().Descripteur();
  EXPECT_EQ(d[8] | d[9] << 8, ZELM_USB_VENDOR);
  EXPECT_EQ(d[10] | d[11] << 8, ZELM_USB_PRODUCT);
  EXPECT_EQ(d[4], 0xFF);  // vendor-specific
  _SetPortClose(h);
}
