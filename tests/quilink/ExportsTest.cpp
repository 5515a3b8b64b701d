#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "Bibliotheque.h"
#include "Enregistrements.h"
#include "FauxBackend.h"
#include "Quilink.h"

namespace {

using Octets = std::vector<uint8_t>;

Octets Suite(int n, uint8_t depuis) {
  Octets o(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) o[size_t(i)] = uint8_t(depuis + i);
  return o;
}

// The frame record as bytes, filled with a marker so that untouched bytes show.
struct Trame {
  std::array<uint8_t, sizeof(RecordTrame)> octets;
  Trame() { octets.fill(0xEE); }
  int32_t Compte(int voie) const {
    int32_t c;
    std::memcpy(&c, octets.data() + PositionCompte(voie), 4);
    return c;
  }
  uint8_t Zone(int voie, int i) const { return octets[PositionZone(voie) + size_t(i)]; }
};

class Exports : public testing::Test {
 protected:
  void SetUp() override {
    quilink::Quilink().DefinitBackend(std::make_unique<FauxBackend>(p));
    h = _SetPortOpen(nom.c());
    ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  }
  void TearDown() override { _SetPortClose(h); }
  void Script(int pipe, std::optional<Octets> reponse) { p.lectures[pipe].push_back(std::move(reponse)); }

  FauxPeripherique p;
  ChaineOle<char16_t> nom{u"QuiloUSB-0"};
  int32_t h = 0;
};

}  // namespace

TEST_F(Exports, LaSalveSeRepartitSelonLeModeDeVoies) {
  struct Cas {
    int mode, a, b;
    int32_t resultat, compte1, compte2;
  } cas[] = {
      {0, 64, 64, 128, 64, 64}, {1, 64, 0, 64, 64, 0}, {2, 64, 64, 128, 0, 128},
      {0, 63, 64, 127, 63, 63},  // an odd count on pipe 3 keeps the channels in place
      {1, 10, 20, 30, 30, 0},
  };
  for (auto [mode, a, b, resultat, compte1, compte2] : cas) {
    SCOPED_TRACE(testing::Message() << mode << ": " << a << "+" << b);
    Script(3, Suite(a, 0));
    Script(4, Suite(b, uint8_t(a)));
    Trame t;
    ASSERT_EQ(GetUSBData(h, t.octets.data(), mode), resultat);
    EXPECT_EQ(t.Compte(1), compte1);
    EXPECT_EQ(t.Compte(2), compte2);
    // the stream of pipe 3 then pipe 4 is 0, 1, 2, ...
    if (mode == 0) {
      for (int i = 0; i < compte1; ++i) {
        ASSERT_EQ(t.Zone(1, i), 2 * i) << i;
        ASSERT_EQ(t.Zone(2, i), 2 * i + 1) << i;
      }
    } else {
      const int voie = mode, autre = 3 - mode;
      for (int i = 0; i < a + b; ++i) ASSERT_EQ(t.Zone(voie, i), i) << i;
      EXPECT_EQ(t.Zone(autre, 0), 0xEE);  // the other area keeps its content
    }
    EXPECT_EQ(t.octets[0], 0xEE);  // the reserved part is never written
    EXPECT_EQ((Octets(p.pipesLus.end() - 3, p.pipesLus.end())), (Octets{2, 3, 4}));
  }
}

TEST_F(Exports, UneSalveRateeOuVideLaisseLaTrameIntacte) {
  struct Cas { std::optional<Octets> a, b; } cas[] = {
      {Octets{}, Octets{}},          // nothing on either pipe
      {std::nullopt, Suite(64, 0)},  // pipe 3 fails
      {Suite(64, 0), std::nullopt},  // pipe 4 fails
  };
  for (auto &[a, b] : cas) {
    Script(3, a);
    Script(4, b);
    Trame t;
    EXPECT_EQ(GetUSBData(h, t.octets.data(), 0), 0);
    EXPECT_EQ(t.octets, Trame().octets);
    p.lectures.clear();
  }
  Script(2, std::nullopt);  // pipe 2 failing ends the burst before the data pipes
  Trame t;
  EXPECT_EQ(_GetUSBData(h, t.octets.data(), 0), 0);
  EXPECT_EQ(p.pipesLus.back(), 2);
}

TEST_F(Exports, LesArgumentsHorsBornesSontRefusesSansRequete) {
  Trame t;
  uint8_t tampon[64] = {};
  int32_t record[3] = {-1, 0, 0};
  EXPECT_EQ(GetUSBData(h, t.octets.data(), 3), 0);
  EXPECT_EQ(GetUSBData(h, t.octets.data(), -1), 0);
  EXPECT_EQ(GetUSBCanal(h, t.octets.data(), 0), 0);
  EXPECT_EQ(GetUSBCanal(h, t.octets.data(), 3), 0);
  EXPECT_EQ(GetPipe(h, tampon, 64, 16), 0);
  EXPECT_EQ(GetPipe(h, tampon, 64, -1), 0);
  EXPECT_EQ(SendPipe(h, tampon, 1, 16), 0);
  EXPECT_EQ(GetPipe(h, tampon, -5, 3), 0);
  EXPECT_EQ(_SendUSBData(h, record), 0);  // negative length
  EXPECT_EQ(p.Requetes(), 0);
  EXPECT_EQ(t.octets, Trame().octets);
}

TEST_F(Exports, LesCommandesCourtesEcriventLeursOctets) {
  const int32_t record[3] = {6, 0x02FF0104, 0x0001};  // 4, 1, 255, 2, 1, 0
  EXPECT_EQ(_LanceAcqui(h, 0x1234), 1);
  EXPECT_EQ(_StopAcqui(h), 1);
  EXPECT_EQ(_ConnectAlim(h), 1);
  EXPECT_EQ(CoupeAlim(h), 1);
  EXPECT_EQ(_SendUSBData(h, record), 1);
  const std::vector<std::pair<int, Octets>> attendu{
      {0, {0x34}}, {1, {0}}, {1, {5, 1}}, {1, {5, 0}}, {1, {4, 1, 255, 2, 1, 0}}};
  EXPECT_EQ(p.ecritures, attendu);
  p.ecrituresEchouent = true;
  EXPECT_EQ(StopAcqui(h), 0);
  EXPECT_EQ(StopAcqui(h + 1), 0);  // not a handle
}

TEST_F(Exports, GetPipeRendLesOctetsTransferesEtZeroSurEchec) {
  uint8_t tampon[64];
  Script(3, Suite(10, 0));
  EXPECT_EQ(_GetPipe(h, tampon, 64, 3), 10);
  Script(3, std::nullopt);
  EXPECT_EQ(_GetPipe(h, tampon, 64, 3), 0);
  EXPECT_EQ(_SendPipe(h, tampon, 3, 1), 1);
  EXPECT_EQ(p.ecritures.back(), (std::pair<int, Octets>{1, Octets(tampon, tampon + 3)}));
  // the direction comes from the pipe table: reading pipe 0 is a write
  EXPECT_EQ(GetPipe(h, tampon, 2, 0), 2);
  EXPECT_EQ(p.ecritures.back().first, 0);
}

TEST_F(Exports, LaVersionEcritTreizeOctetsQuelleQueSoitLaReponse) {
  struct Cas { std::optional<Octets> reponse; int32_t resultat; const char *attendu; } cas[] = {
      {Octets{'Q', 'u', 'i', 'l', 'o', ' ', 'V', '2', '.', '0', '0', '1', 'X', 'Y'}, 1, "Quilo V2.001"},
      {Octets{'a', 'b', 'c'}, 1, "abc"},  // short: zeros, not stale bytes
      {std::nullopt, 0, nullptr},
  };
  for (auto &[reponse, resultat, attendu] : cas) {
    Script(3, reponse);
    uint8_t version[16];
    std::memset(version, 0x55, sizeof version);
    ASSERT_EQ(_GetVersion(h, version), resultat);
    const Octets requete = p.ecritures.back().second;
    EXPECT_EQ(requete.size(), 64u);
    EXPECT_EQ(requete[0], 6);
    if (attendu) {
      EXPECT_STREQ(reinterpret_cast<char *>(version), attendu);
      EXPECT_EQ(version[12], 0);
      EXPECT_EQ(version[13], 0x55);  // exactly 13 bytes
    } else {
      EXPECT_EQ(version[0], 0x55);
    }
  }
}

TEST_F(Exports, GetVersionOScilloRemplaceLaChaine) {
  Script(3, Octets{'Q', 0, 'S', 0, 0, 0, 'x', 0});  // 16-bit characters up to the zero one
  char16_t *version = nullptr;
  ASSERT_EQ(GetVersionOScillo(h, &version), 1);
  EXPECT_EQ(std::u16string(version), u"QS");
  int32_t octets;
  std::memcpy(&octets, reinterpret_cast<uint8_t *>(version) - 4, 4);
  EXPECT_EQ(octets, 4);
  Script(3, Octets{'A', 0});
  ASSERT_EQ(GetVersionOScillo(h, &version), 1);  // the first string is freed
  EXPECT_EQ(std::u16string(version), u"A");
  Script(3, std::nullopt);
  char16_t *avant = version;
  EXPECT_EQ(GetVersionOScillo(h, &version), 0);
  EXPECT_EQ(version, avant);
  std::free(reinterpret_cast<uint8_t *>(version) - 4);
}

TEST(Ouverture, LesNomsArriventEnHuitEtSeizeBitsEtLesLongsSontRefuses) {
  FauxPeripherique p;
  quilink::Quilink().DefinitBackend(std::make_unique<FauxBackend>(p));
  const int32_t h8 = SetPortOpen(ChaineOle<char>("QuiloUSB-0").c());
  const int32_t h16 = _SetPortOpen(ChaineOle<char16_t>(u"QuiloUSB-0").c());
  EXPECT_NE(h8, QUILINK_INVALID_HANDLE);
  EXPECT_NE(h16, QUILINK_INVALID_HANDLE);
  EXPECT_NE(h8, 0);
  EXPECT_NE(h8, h16);
  EXPECT_EQ(_SetPortOpen(ChaineOle<char16_t>(u"Absent").c()), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(SetPortOpen(ChaineOle<char, 64>(std::string(32, 'Q')).c()), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(SetPortOpen(ChaineOle<char>(std::string(31, 'Q')).c()), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(p.nomsOuverts, (std::vector<std::string>{"QuiloUSB-0", "QuiloUSB-0", "Absent",
                                                      std::string(31, 'Q')}));
  EXPECT_EQ(SetPortClose(h8), 1);
  EXPECT_EQ(_SetPortClose(h16), 1);
  EXPECT_EQ(p.connexionsVivantes, 0);
  EXPECT_EQ(SetPortClose(QUILINK_INVALID_HANDLE), 1);
}

TEST(Ouverture, UneInformationDePipesRateeFaitEchouerLOuverture) {
  FauxPeripherique p;
  p.infoPipesEchoue = true;
  quilink::Quilink().DefinitBackend(std::make_unique<FauxBackend>(p));
  EXPECT_EQ(_SetPortOpen(ChaineOle<char16_t>(u"QuiloUSB-0").c()), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(p.connexionsVivantes, 0);  // the device is closed again
}

TEST(Ouverture, ChangerDeBackendFermeCeQuiEtaitOuvert) {
  // a libusb handle must not outlive its context: the old connections go first
  auto ancien = std::make_unique<FauxPeripherique>();
  auto nouveau = std::make_unique<FauxPeripherique>();
  quilink::Quilink().DefinitBackend(std::make_unique<FauxBackend>(*ancien));
  const int32_t h = _SetPortOpen(ChaineOle<char16_t>(u"QuiloUSB-0").c());
  ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  quilink::Quilink().DefinitBackend(std::make_unique<FauxBackend>(*nouveau));
  EXPECT_EQ(ancien->connexionsVivantes, 0);
  EXPECT_EQ(StopAcqui(h), 0);  // the old handle reaches nothing
  EXPECT_EQ(ancien->Requetes() + nouveau->Requetes(), 0);
  EXPECT_EQ(SetPortClose(h), 1);
  quilink::Quilink().DefinitBackend(nullptr);
}
