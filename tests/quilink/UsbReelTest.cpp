// The libusb backend, whole, on the device that umockdev makes up from umockdev/: each
// exchange there starts with its own start value, so that each test finds its part of
// the script.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Bibliotheque.h"
#include "Enregistrements.h"
#include "Quilink.h"

namespace {

int32_t Ouvre(std::u16string_view nom) { return _SetPortOpen(ChaineOle<char16_t>(nom).c()); }

int32_t Cause(int32_t handle, std::string *detail = nullptr) {
  char texte[200] = {};
  const int32_t cause = QuilinkCause(handle, texte, sizeof texte);
  if (detail) *detail = texte;
  return cause;
}

// A frame whose every byte says it has not been written.
RecordTrame TrameVierge() {
  RecordTrame t;
  std::memset(&t, 0x55, sizeof t);
  return t;
}

std::vector<uint8_t> Zone(const uint8_t *zone, int n) { return {zone, zone + n}; }

std::vector<uint8_t> Suite(int premier, int n, int pas = 1) {
  std::vector<uint8_t> v;
  for (int i = 0; i < n; ++i) v.push_back(uint8_t(premier + pas * i));
  return v;
}

class UsbReel : public testing::Test {
 protected:
  void SetUp() override {
    h_ = Ouvre(u"QuiloUSB-0");
    std::string detail;
    ASSERT_NE(h_, QUILINK_INVALID_HANDLE) << Cause(QUILINK_INVALID_HANDLE, &detail) << " " << detail;
  }
  void TearDown() override { SetPortClose(h_); }
  int32_t h_ = QUILINK_INVALID_HANDLE;
};

TEST_F(UsbReel, ParSonNomLeLienMeneAuPeripheriqueDontLesPointsFontLaTableDesPipes) {
  EXPECT_EQ(Cause(h_), QUILINK_CAUSE_AUCUNE);
  const uint8_t *table = quilink::Quilink().TablePipes();
  const uint8_t attendus[quilink::NombrePipes] = {0x01, 0x02, 0x81, 0x86, 0x88};
  for (int pipe = 0; pipe < quilink::NombrePipes; ++pipe)
    EXPECT_EQ(table[quilink::PositionAdresse(pipe)], attendus[pipe]) << "pipe " << pipe;
  const uint8_t *d = quilink::Quilink().Descripteur();
  EXPECT_EQ(d[1], 1);  // a device descriptor
  EXPECT_EQ(d[8] | d[9] << 8, ZELM_USB_VENDOR);
  EXPECT_EQ(d[10] | d[11] << 8, ZELM_USB_PRODUCT);
}

TEST_F(UsbReel, LaVersionEstLaReponseDuPipe3ACelleDuPipe1) {
  uint8_t texte[14];
  std::memset(texte, 0x55, sizeof texte);
  ASSERT_EQ(_GetVersion(h_, texte), 1) << Cause(h_);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(texte)), "Quilo 2.07 A");
  EXPECT_EQ(texte[13], 0x55);
}

TEST_F(UsbReel, LAlimentationSAllume) {
  EXPECT_EQ(_ConnectAlim(h_), 1) << Cause(h_);
  EXPECT_EQ(Cause(h_), QUILINK_CAUSE_AUCUNE);
}

TEST_F(UsbReel, UneSalveDansChaqueModeDeVoies) {
  struct Cas {
    int depart, mode, octets;
    std::vector<uint8_t> zone1, zone2;  // what each area holds afterwards
  };
  const Cas cas[] = {
      // pairs, channel 1 first: 64 samples a channel out of 128 bytes
      {0x10, 0, 128, Suite(0, 64), Suite(0x80, 64)},
      // 64 bytes of pipe 3, none of pipe 4; area 2 untouched
      {0x11, 1, 64, Suite(0, 64, 3), {}},
      // 10 bytes of pipe 3 then 20 of pipe 4, end to end in area 2
      {0x12, 2, 30, {}, [] {
         auto v = Suite(0xA0, 10), w = Suite(0xC0, 20);
         v.insert(v.end(), w.begin(), w.end());
         return v;
       }()},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    ASSERT_EQ(_LanceAcqui(h_, c.depart), 1) << Cause(h_);
    RecordTrame trame = TrameVierge();
    ASSERT_EQ(_GetUSBData(h_, &trame, c.mode), c.octets) << Cause(h_);
    EXPECT_EQ(trame.Compte1, int(c.zone1.size()));
    EXPECT_EQ(trame.Compte2, int(c.zone2.size()));
    EXPECT_EQ(Zone(trame.Zone1, int(c.zone1.size())), c.zone1);
    EXPECT_EQ(Zone(trame.Zone2, int(c.zone2.size())), c.zone2);
    EXPECT_EQ(trame.Zone1[c.zone1.size()], 0x55);
    EXPECT_EQ(trame.Zone2[c.zone2.size()], 0x55);
    EXPECT_EQ(trame.Reserve[0], 0x55);
  }
}

TEST_F(UsbReel, UnPipeBloqueFaitEchouerUneLectureEtLaSuivantePasse) {
  ASSERT_EQ(_LanceAcqui(h_, 0x13), 1);
  RecordTrame trame = TrameVierge();
  EXPECT_EQ(_GetUSBData(h_, &trame, 1), 0);
  EXPECT_EQ(Cause(h_), QUILINK_CAUSE_BLOQUE);
  EXPECT_EQ(trame.Compte1, 0x55555555);
  ASSERT_EQ(_GetUSBData(h_, &trame, 1), 64) << Cause(h_);
  EXPECT_EQ(Cause(h_), QUILINK_CAUSE_AUCUNE);
  EXPECT_EQ(Zone(trame.Zone1, 64), Suite(0x20, 64));
}

TEST_F(UsbReel, UnDebranchementLaisseUneConnexionMorteQuOnRouvre) {
  ASSERT_EQ(_LanceAcqui(h_, 0x14), 1);
  RecordTrame trame = TrameVierge();
  EXPECT_EQ(_GetUSBData(h_, &trame, 0), 0);
  EXPECT_EQ(Cause(h_), QUILINK_CAUSE_DEBRANCHE);
  // the script still holds a burst: nothing more may be sent to find it
  EXPECT_EQ(_GetUSBData(h_, &trame, 0), 0);
  EXPECT_EQ(Cause(h_), QUILINK_CAUSE_DEBRANCHE);
  EXPECT_EQ(trame.Compte1, 0x55555555);
  // plugged in again: a new open is a new connection
  SetPortClose(h_);
  h_ = Ouvre(u"QuiloUSB-0");
  ASSERT_NE(h_, QUILINK_INVALID_HANDLE);
  uint8_t texte[13];
  EXPECT_EQ(_GetVersion(h_, texte), 1) << Cause(h_);
}

TEST(UsbReelAutre, UnPeripheriqueDUneAutreFormeEstRefuseAvantToutEnvoi) {
  // vendor-specific like the oscilloscope, with its ids, but its last endpoint is an
  // interrupt one
  EXPECT_EQ(Ouvre(u"QuiloUSB-1"), QUILINK_INVALID_HANDLE);
  std::string detail;
  EXPECT_EQ(Cause(QUILINK_INVALID_HANDLE, &detail), QUILINK_CAUSE_AUTRE_APPAREIL);
  EXPECT_NE(detail.find("forme"), std::string::npos) << detail;  // not a failed wrap
}

}  // namespace
