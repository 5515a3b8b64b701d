// The exports called at random on the virtual bench: every command byte, length, pipe,
// mode and handle, valid or not, with unplugs and time passing. A bounded run with fixed
// seeds, so that a failure replays; each fault it found is kept as a test of its own.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "BancVirtuel.h"
#include "Enregistrements.h"
#include "OscilloVirtuel.h"
#include "Quilink.h"

namespace {

struct Alea {
  uint64_t etat;
  uint32_t operator()() {
    etat ^= etat << 13;
    etat ^= etat >> 7;
    etat ^= etat << 17;
    return uint32_t(etat >> 32);
  }
  int Entre(int a, int b) { return a + int((*this)() % uint32_t(b - a + 1)); }
};

struct Commande {
  int32_t n = 0;
  uint8_t octets[64] = {};
};

// A command the firmware knows most of the time, so that the state machine is reached;
// anything at all otherwise.
Commande CommandeAuHasard(Alea &a) {
  Commande c;
  c.n = a.Entre(0, 10) == 0 ? a.Entre(0, 64) : a.Entre(0, 8);
  for (auto &o : c.octets) o = uint8_t(a());
  if (a.Entre(0, 4) > 0) c.octets[0] = uint8_t(a.Entre(0, 7));
  if (c.octets[0] == 3 && a.Entre(0, 1)) c.octets[1] = uint8_t(a.Entre(0, 4));  // trigger source
  if (c.octets[0] == 5) c.octets[1] = uint8_t(a.Entre(0, 1));                   // supply
  if (c.octets[0] == 4) c.octets[1] = uint8_t(a.Entre(0, 3));                   // clock
  return c;
}

// The frame record with a marker in the part the library never writes.
struct Trame {
  RecordTrame r;
  Trame() { std::memset(&r, 0xEE, sizeof r); }
  bool ReserveIntact() const {
    const auto *o = reinterpret_cast<const uint8_t *>(&r);
    for (size_t i = 0; i < PositionCompte(1); ++i)
      if (o[i] != 0xEE) return false;
    return true;
  }
};

class ExportsAuHasard : public testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    ASSERT_EQ(QuilinkSimulation("demo"), 1);
    Banc().Horloge().PasseEnVirtuel();
  }
  void TearDown() override {
    for (int32_t h : handles) SetPortClose(h);
    Banc().Horloge().PasseEnReel();
  }
  int32_t Handle(Alea &a) {
    switch (a.Entre(0, 5)) {
      case 0: return QUILINK_INVALID_HANDLE;
      case 1: return 0;
      case 2: return int32_t(a());
      default: return handles.empty() ? 0 : handles[size_t(a.Entre(0, int(handles.size()) - 1))];
    }
  }
  void Ouvre(Alea &a) {
    static const char *const noms[] = {"QuiloUSB-0", "QuiloUSB-1", "", "QuiloGenUSB-0",
                                       "QuiloUSB-0QuiloUSB-0QuiloUSB-0QuiloUSB-0"};
    const std::string_view nom = noms[a.Entre(0, 4)];
    const std::u16string large(nom.begin(), nom.end());
    const int32_t h = a.Entre(0, 1) ? _SetPortOpen(ChaineOle<char16_t>(large).c())
                                    : SetPortOpen(ChaineOle<char>(nom).c());
    if (h != QUILINK_INVALID_HANDLE) handles.push_back(h);
  }
  std::vector<int32_t> handles;
};

}  // namespace

TEST_P(ExportsAuHasard, AucunAppelNeSortDeSesBornes) {
  Alea a{GetParam()};
  for (int pas = 0; pas < 4000; ++pas) {
    SCOPED_TRACE(pas);
    const int32_t h = Handle(a);
    const int pipe = a.Entre(-2, 17), longueur = a.Entre(-1, 130);
    switch (a.Entre(0, 15)) {
      case 0: Ouvre(a); break;
      case 1:
        if (!handles.empty() && a.Entre(0, 3) == 0) {
          EXPECT_EQ(_SetPortClose(handles.back()), 1);
          handles.pop_back();
        }
        break;
      case 2: {
        uint8_t v[14];
        std::memset(v, 0x55, sizeof v);
        if (_GetVersion(h, v)) {
          EXPECT_EQ(v[12], 0);
        }
        EXPECT_EQ(v[13], 0x55);
        break;
      }
      case 3: {
        char16_t *v = nullptr;
        if (GetVersionOScillo(h, &v)) {
          ASSERT_TRUE(v);
          std::free(reinterpret_cast<uint8_t *>(v) - 4);
        }
        break;
      }
      case 4: _LanceAcqui(h, int32_t(a())); break;
      case 5: StopAcqui(h); break;
      case 6: ConnectAlim(h); break;
      case 7: _CoupeAlim(h); break;
      case 8:
      case 9:
      case 10: {
        const Commande c = CommandeAuHasard(a);
        const int32_t r = a.Entre(0, 1) ? _SendUSBData(h, &c) : SendUSBData(h, &c);
        EXPECT_TRUE(r == 0 || r == 1);
        break;
      }
      case 11:
      case 12: {
        Trame t;
        const int mode = a.Entre(-1, 3);
        const int32_t r = _GetUSBData(h, &t.r, mode);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 128);
        if (r > 0) {
          EXPECT_LE(t.r.Compte1 + t.r.Compte2, r);
          EXPECT_GE(t.r.Compte1, 0);
          EXPECT_GE(t.r.Compte2, 0);
        }
        EXPECT_TRUE(t.ReserveIntact());
        break;
      }
      case 13: {
        Trame t;
        const int32_t r = GetUSBCanal(h, &t.r, a.Entre(-1, 3));
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 64);
        EXPECT_TRUE(t.ReserveIntact());
        break;
      }
      case 14: {
        std::vector<uint8_t> tampon(size_t(std::max(longueur, 0)) + 1, 0x55);
        const int32_t r = a.Entre(0, 1) ? GetPipe(h, tampon.data(), longueur, pipe)
                                        : _SendPipe(h, tampon.data(), longueur, pipe);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, std::max(longueur, 1));
        EXPECT_EQ(tampon.back(), 0x55);  // nothing past the length
        break;
      }
      case 15:
        if (a.Entre(0, 30) == 0) Banc().Oscillo()->Debranche(a.Entre(0, 1) == 0);
        Banc().Horloge().Avance(a.Entre(0, 3) == 0 ? a.Entre(0, 20'000) : a.Entre(0, 50));
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Graines, ExportsAuHasard, testing::Values(1, 2, 3, 0x5A51, 0xC0FFEE));

// The first fault the run above found: the trigger search took the free-running source
// for channel 0 (index −1 of the channel tables).
TEST(ExportsAuHasardTrouvailles, UneSynchroRelaxeeEnAttenteDeLExterneDonneUneTrame) {
  ASSERT_EQ(QuilinkSimulation("sans-generateur"), 1);
  Banc().Horloge().PasseEnVirtuel();
  Banc().DefinitSource(nullptr);  // 0 V: the external trigger never fires
  const int32_t h = _SetPortOpen(ChaineOle<char16_t>(u"QuiloUSB-0").c());
  ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  Commande externe, relaxe;
  externe.n = relaxe.n = 8;
  const uint8_t octetsExterne[] = {3, 3, 0, 0, 255, 255, 0, 0}, octetsRelaxe[] = {3, 0, 0, 0, 255, 255, 0, 0};
  std::memcpy(externe.octets, octetsExterne, 8);
  std::memcpy(relaxe.octets, octetsRelaxe, 8);
  ASSERT_EQ(_ConnectAlim(h), 1);
  ASSERT_EQ(_SendUSBData(h, &externe), 1);
  ASSERT_EQ(_LanceAcqui(h, 0), 1);
  Banc().Horloge().Avance(1000);
  RecordTrame trame;
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 0);  // waiting
  ASSERT_EQ(_SendUSBData(h, &relaxe), 1);
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 2);  // the frame starts at once: one sample each
  Banc().Horloge().Avance(1000);
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 128);
  _SetPortClose(h);
  Banc().Horloge().PasseEnReel();
}
