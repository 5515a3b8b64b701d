#include <gtest/gtest.h>

#include "BackendUsb.h"
#include "Bibliotheque.h"
#include "Enregistrements.h"
#include "Quilink.h"

namespace {

// What the fake libusb saw, and what it answers.
struct Journal {
  std::vector<std::string> chemins;
  std::optional<std::vector<uint8_t>> points = std::vector<uint8_t>{0x01, 0x02, 0x81, 0x86, 0x88};
  int erreur = 0;  // libusb code of every transfer
  int transferes = 64;
  struct Transfert { uint8_t point; int longueur; unsigned delai; };
  std::vector<Transfert> transferts;
  int liensVivants = 0;
};

class FauxLien final : public quilink::LienUsb {
 public:
  explicit FauxLien(Journal &j) : j_(j) { ++j_.liensVivants; }
  ~FauxLien() override { --j_.liensVivants; }
  std::optional<std::vector<uint8_t>> Points() override { return j_.points; }
  bool Descripteur(uint8_t (&)[18]) override { return true; }
  int Bulk(uint8_t point, uint8_t *, int longueur, int &transferes, unsigned delai) override {
    j_.transferts.push_back({point, longueur, delai});
    transferes = std::min(longueur, j_.transferes);
    return j_.erreur;
  }

 private:
  Journal &j_;
};

class FauxAcces final : public quilink::AccesUsb {
 public:
  explicit FauxAcces(Journal &j) : j_(j) {}
  std::unique_ptr<quilink::LienUsb> Ouvre(const std::string &chemin) override {
    j_.chemins.push_back(chemin);
    if (chemin != "/dev/QuiloUSB-0") return nullptr;
    return std::make_unique<FauxLien>(j_);
  }

 private:
  Journal &j_;
};

class BackendUsb : public testing::Test {
 protected:
  void SetUp() override {
    quilink::Quilink().DefinitBackend(quilink::CreeBackendUsb(std::make_unique<FauxAcces>(j)));
  }
  int32_t Ouvre(const char16_t *nom) { return _SetPortOpen(ChaineOle<char16_t>(nom).c()); }
  Journal j;
};

}  // namespace

TEST(CheminPeripherique, UnNomDonneSonNoeudDansDev) {
  EXPECT_EQ(quilink::CheminPeripherique("QuiloUSB-0"), "/dev/QuiloUSB-0");
  for (const char *nom : {"", ".", "..", "bus/usb/001/002", "../etc/passwd"})
    EXPECT_FALSE(quilink::CheminPeripherique(nom)) << nom;
}

TEST_F(BackendUsb, LaTableDesPipesSuitLesPointsDansLOrdreAvecLeurSens) {
  const int32_t h = Ouvre(u"QuiloUSB-0");
  ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  const uint8_t *table = quilink::Quilink().TablePipes();
  const uint8_t attendu[] = {0x01, 0x02, 0x81, 0x86, 0x88, 0, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(table[quilink::PositionAdresse(i)], attendu[i]) << i;
  // a burst: pipes 2, 3, 4 are the 3rd, 4th and 5th endpoints, with a short timeout
  RecordTrame trame;
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 128);
  ASSERT_EQ(j.transferts.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(j.transferts[size_t(i)].point, attendu[2 + i]);
    EXPECT_EQ(j.transferts[size_t(i)].longueur, 64);
    EXPECT_LE(j.transferts[size_t(i)].delai, 50u);
  }
  EXPECT_EQ(_ConnectAlim(h), 1);
  EXPECT_EQ(j.transferts.back().point, 0x02);
  EXPECT_EQ(_SetPortClose(h), 1);
  EXPECT_EQ(j.liensVivants, 0);
}

TEST_F(BackendUsb, UnTransfertQuiNAboutitPasEchoue) {
  const int32_t h = Ouvre(u"QuiloUSB-0");
  j.erreur = -7;  // LIBUSB_ERROR_TIMEOUT: libusb has cancelled it
  RecordTrame trame;
  uint8_t tampon[64];
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 0);
  EXPECT_EQ(_StopAcqui(h), 0);
  EXPECT_EQ(GetPipe(h, tampon, 64, 3), 0);
  // pipes beyond the endpoints are OUT in the table, and have no endpoint
  j.erreur = 0;
  const size_t avant = j.transferts.size();
  EXPECT_EQ(SendPipe(h, tampon, 1, 7), 0);
  EXPECT_EQ(j.transferts.size(), avant);
  _SetPortClose(h);
}

TEST_F(BackendUsb, UnAbsentOuUneConfigurationIllisibleNOuvrePas) {
  EXPECT_EQ(Ouvre(u"QuiloUSB-1"), QUILINK_INVALID_HANDLE);
  j.points.reset();
  EXPECT_EQ(Ouvre(u"QuiloUSB-0"), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(j.liensVivants, 0);
  EXPECT_EQ(j.chemins, (std::vector<std::string>{"/dev/QuiloUSB-1", "/dev/QuiloUSB-0"}));
}

TEST(AccesLibusb, SansLeNoeudDuPeripheriqueRienNeSOuvre) {
  // these machines have no USB: libusb starts and finds nothing
  auto acces = quilink::CreeAccesLibusb();
  EXPECT_FALSE(acces->Ouvre("/dev/QuiloUSB-absent"));
  EXPECT_FALSE(acces->Ouvre("/dev/null"));  // a node that is not a USB device
  quilink::Quilink().DefinitBackend(quilink::CreeBackendUsb(std::move(acces)));
  EXPECT_EQ(_SetPortOpen(ChaineOle<char16_t>(u"QuiloUSB-absent").c()), QUILINK_INVALID_HANDLE);
}
