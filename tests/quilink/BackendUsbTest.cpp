#include <gtest/gtest.h>
#include <fcntl.h>
#include <libusb.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>

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
  // when there are some, each transfer takes the next: libusb code, bytes transferred
  std::deque<std::pair<int, int>> reponses;
  struct Transfert { uint8_t point; int longueur; unsigned delai; };
  std::vector<Transfert> transferts;
  std::vector<uint8_t> arretsEffaces;
  quilink::Echec echecOuverture;  // a cause here: the open fails with it
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
    if (!j_.reponses.empty()) {
      const auto [code, n] = j_.reponses.front();
      j_.reponses.pop_front();
      transferes = std::min(longueur, n);
      return code;
    }
    transferes = std::min(longueur, j_.transferes);
    return j_.erreur;
  }
  int EffaceArret(uint8_t point) override {
    j_.arretsEffaces.push_back(point);
    return 0;
  }

 private:
  Journal &j_;
};

class FauxAcces final : public quilink::AccesUsb {
 public:
  explicit FauxAcces(Journal &j) : j_(j) {}
  std::unique_ptr<quilink::LienUsb> Ouvre(const std::string &chemin, quilink::Echec &echec) override {
    j_.chemins.push_back(chemin);
    if (j_.echecOuverture.cause != quilink::Cause::Aucune) {
      echec = j_.echecOuverture;
      return nullptr;
    }
    if (chemin != "/dev/QuiloUSB-0") {
      echec = {quilink::Cause::SansNoeud, chemin};
      return nullptr;
    }
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
  j.transferes = 0;  // before anything came (bytes that came are kept: below)
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

namespace {

std::pair<int32_t, std::string> Cause(int32_t h) {
  char detail[128];
  std::memset(detail, 'x', sizeof detail);
  const int32_t cause = QuilinkCause(h, detail, sizeof detail);
  return {cause, detail};
}

}  // namespace

TEST_F(BackendUsb, UnTransfertGardeCeQuiEstArriveEtDitPourquoiIlEchoue) {
  struct Cas {
    const char *quoi;
    int pipe;  // 3: a read of 64, 1: a write of 2 (ConnectAlim)
    std::pair<int, int> reponse;
    int32_t resultat, cause;
    bool arretEfface;
  } cas[] = {
      {"lu", 3, {0, 64}, 64, QUILINK_CAUSE_AUCUNE, false},
      {"lu en partie avant le délai", 3, {LIBUSB_ERROR_TIMEOUT, 10}, 10, QUILINK_CAUSE_AUCUNE, false},
      {"rien avant le délai", 3, {LIBUSB_ERROR_TIMEOUT, 0}, 0, QUILINK_CAUSE_DELAI, false},
      {"écrit", 1, {0, 2}, 1, QUILINK_CAUSE_AUCUNE, false},
      {"écrit à moitié avant le délai", 1, {LIBUSB_ERROR_TIMEOUT, 1}, 0, QUILINK_CAUSE_DELAI, false},
      {"écrit à moitié", 1, {0, 1}, 0, QUILINK_CAUSE_AUTRE, false},
      {"bloqué en lecture", 3, {LIBUSB_ERROR_PIPE, 0}, 0, QUILINK_CAUSE_BLOQUE, true},
      {"bloqué en écriture", 1, {LIBUSB_ERROR_PIPE, 0}, 0, QUILINK_CAUSE_BLOQUE, true},
      {"autre erreur", 3, {LIBUSB_ERROR_OVERFLOW, 0}, 0, QUILINK_CAUSE_AUTRE, false},
  };
  const int32_t h = Ouvre(u"QuiloUSB-0");
  for (const auto &c : cas) {
    SCOPED_TRACE(c.quoi);
    j.reponses = {c.reponse};
    j.arretsEffaces.clear();
    uint8_t tampon[64];
    EXPECT_EQ(c.pipe == 3 ? GetPipe(h, tampon, 64, 3) : _ConnectAlim(h), c.resultat);
    EXPECT_EQ(Cause(h).first, c.cause);
    const uint8_t point = c.pipe == 3 ? 0x86 : 0x02;
    EXPECT_EQ(j.arretsEffaces, c.arretEfface ? std::vector<uint8_t>{point} : std::vector<uint8_t>{});
  }
  // after a stall the next transfer goes through
  j.reponses = {{LIBUSB_ERROR_PIPE, 0}, {0, 64}};
  RecordTrame trame;
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 0);
  EXPECT_EQ(Cause(h), std::make_pair(QUILINK_CAUSE_BLOQUE, std::string("LIBUSB_ERROR_PIPE")));
  EXPECT_EQ(_GetUSBData(h, &trame, 1), 128);
  EXPECT_EQ(Cause(h).first, QUILINK_CAUSE_AUCUNE);
  _SetPortClose(h);
}

TEST_F(BackendUsb, UnAppareilPartiLaisseUneConnexionMorte) {
  const int32_t h = Ouvre(u"QuiloUSB-0");
  j.reponses = {{LIBUSB_ERROR_NO_DEVICE, 0}};
  RecordTrame trame;
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 0);
  EXPECT_EQ(Cause(h).first, QUILINK_CAUSE_DEBRANCHE);
  // nothing reaches libusb any more, even when the device would answer
  const size_t avant = j.transferts.size();
  EXPECT_EQ(_ConnectAlim(h), 0);
  EXPECT_EQ(_GetUSBData(h, &trame, 0), 0);
  EXPECT_EQ(j.transferts.size(), avant);
  EXPECT_EQ(Cause(h).first, QUILINK_CAUSE_DEBRANCHE);
  // a new open is a new connection
  _SetPortClose(h);
  const int32_t h2 = Ouvre(u"QuiloUSB-0");
  EXPECT_EQ(_ConnectAlim(h2), 1);
  _SetPortClose(h2);
}

TEST_F(BackendUsb, LaCauseDUnEchecDOuvertureResteJusquALOuvertureSuivante) {
  const int32_t absent = Ouvre(u"QuiloUSB-1");
  EXPECT_EQ(absent, QUILINK_INVALID_HANDLE);
  EXPECT_EQ(Cause(absent), std::make_pair(QUILINK_CAUSE_SANS_NOEUD, std::string("/dev/QuiloUSB-1")));
  // what root never meets: a node the user may not open
  j.echecOuverture = {quilink::Cause::SansDroit, "/dev/QuiloUSB-0: Permission denied"};
  EXPECT_EQ(Ouvre(u"QuiloUSB-0"), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(Cause(QUILINK_INVALID_HANDLE).first, QUILINK_CAUSE_SANS_DROIT);
  char court[8];
  EXPECT_EQ(QuilinkCause(QUILINK_INVALID_HANDLE, court, sizeof court), QUILINK_CAUSE_SANS_DROIT);
  EXPECT_STREQ(court, "/dev/Qu");  // cut to the buffer, ended by a zero
  EXPECT_EQ(QuilinkCause(QUILINK_INVALID_HANDLE, nullptr, 0), QUILINK_CAUSE_SANS_DROIT);
  j.echecOuverture = {};
  const int32_t h = Ouvre(u"QuiloUSB-0");
  ASSERT_NE(h, QUILINK_INVALID_HANDLE);
  EXPECT_EQ(Cause(QUILINK_INVALID_HANDLE).first, QUILINK_CAUSE_AUCUNE);
  EXPECT_EQ(Cause(h).first, QUILINK_CAUSE_AUCUNE);
  _SetPortClose(h);
  EXPECT_EQ(Cause(h).first, QUILINK_CAUSE_AUTRE);  // a closed handle is nobody's
}

TEST(FormeDeQuilo, UneInterfaceVendeurAvecDeuxBulkSortantsPuisTroisEntrants) {
  using quilink::FormeUsb;
  const std::vector<quilink::PointUsb> bons{{0x01, 2}, {0x02, 2}, {0x81, 2}, {0x86, 2}, {0x88, 2}};
  auto avec = [&](auto change) {
    FormeUsb f{1, 0xFF, bons};
    change(f);
    return f;
  };
  struct Cas { const char *quoi; FormeUsb forme; bool attendu; } cas[] = {
      {"la nôtre", avec([](FormeUsb &) {}), true},
      {"deux interfaces", avec([](FormeUsb &f) { f.interfaces = 2; }), false},
      {"classe HID", avec([](FormeUsb &f) { f.classe = 3; }), false},
      {"quatre points", avec([](FormeUsb &f) { f.points.pop_back(); }), false},
      {"six points", avec([](FormeUsb &f) { f.points.push_back({0x89, 2}); }), false},
      {"un point d'interruption", avec([](FormeUsb &f) { f.points[3].attributs = 3; }), false},
      {"un sortant de trop", avec([](FormeUsb &f) { f.points[2].adresse = 0x03; }), false},
      {"un entrant en tête", avec([](FormeUsb &f) { f.points[1].adresse = 0x82; }), false},
  };
  for (const auto &c : cas) EXPECT_EQ(quilink::FormeDeQuilo(c.forme), c.attendu) << c.quoi;
}

TEST(AccesLibusb, SansLeNoeudDuPeripheriqueRienNeSOuvreEtLaCauseEstDite) {
  // these machines have no USB: libusb starts and finds nothing
  auto acces = quilink::CreeAccesLibusb();
  quilink::Echec echec;
  EXPECT_FALSE(acces->Ouvre("/dev/QuiloUSB-absent", echec));
  EXPECT_EQ(echec.cause, quilink::Cause::SansNoeud);
  EXPECT_NE(echec.detail.find("/dev/QuiloUSB-absent"), std::string::npos) << echec.detail;
  EXPECT_FALSE(acces->Ouvre("/dev/null", echec));  // a node that is not a USB device
  EXPECT_EQ(echec.cause, quilink::Cause::AutreAppareil) << echec.detail;
  quilink::Quilink().DefinitBackend(quilink::CreeBackendUsb(std::move(acces)));
  EXPECT_EQ(_SetPortOpen(ChaineOle<char16_t>(u"QuiloUSB-absent").c()), QUILINK_INVALID_HANDLE);
  EXPECT_EQ(QuilinkCause(QUILINK_INVALID_HANDLE, nullptr, 0), QUILINK_CAUSE_SANS_NOEUD);
}

TEST(NoeudReel, UnLienMeneASonNoeudEtUnCheminSansIssueResteTelQuel) {
  char modele[] = "/tmp/zelm-noeud-XXXXXX";
  ASSERT_TRUE(mkdtemp(modele));
  const std::string dossier = std::filesystem::canonical(modele);  // /tmp may itself be a link
  const std::string noeud = dossier + "/002", lien = dossier + "/QuiloUSB-0";
  ASSERT_EQ(close(open(noeud.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
  ASSERT_EQ(symlink("002", lien.c_str()), 0);  // relative, as udev makes them
  EXPECT_EQ(quilink::NoeudReel(lien), noeud);
  EXPECT_EQ(quilink::NoeudReel(noeud), noeud);
  EXPECT_EQ(quilink::NoeudReel(dossier + "/absent"), dossier + "/absent");
  unlink(lien.c_str());
  unlink(noeud.c_str());
  rmdir(dossier.c_str());
}

// What the made-up device of tests_quilink_usb cannot be made to answer (a claim refused, a
// node this user may not open: umockdev grants every claim, and root opens any node).
TEST(CauseLibusb, ChaqueRefusDitSaCause) {
  using quilink::Cause;
  const std::pair<int, Cause> libusb[] = {
      {LIBUSB_SUCCESS, Cause::Aucune},          {LIBUSB_ERROR_ACCESS, Cause::SansDroit},
      {LIBUSB_ERROR_BUSY, Cause::Occupe},       {LIBUSB_ERROR_NO_DEVICE, Cause::Debranche},
      {LIBUSB_ERROR_PIPE, Cause::Bloque},       {LIBUSB_ERROR_TIMEOUT, Cause::Delai},
      {LIBUSB_ERROR_IO, Cause::Autre},          {LIBUSB_ERROR_NOT_SUPPORTED, Cause::Autre},
  };
  for (const auto &[code, cause] : libusb) EXPECT_EQ(quilink::CauseLibusb(code), cause) << code;
  const std::pair<int, Cause> errnos[] = {
      {ENOENT, Cause::SansNoeud}, {EACCES, Cause::SansDroit}, {EPERM, Cause::SansDroit},
      {EBUSY, Cause::Autre},      {EIO, Cause::Autre},
  };
  for (const auto &[e, cause] : errnos) EXPECT_EQ(quilink::CauseErrno(e), cause) << e;
}
