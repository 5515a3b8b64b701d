#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "BancVirtuel.h"
#include "OscilloVirtuel.h"
#include "Sources.h"

namespace {

// An oscilloscope on its own bench, on virtual time, spoken to through its pipes.
class Oscillo : public testing::Test {
 protected:
  void SetUp() override {
    banc.Horloge().PasseEnVirtuel();
    oscillo = banc.BrancheOscillo();
  }
  bool Envoie(int pipe, std::vector<uint8_t> octets) {
    uint32_t n = uint32_t(octets.size());
    return oscillo->Ecrit(pipe, octets.data(), n);
  }
  // Supply on, the given settings, started.
  void Lance(std::vector<uint8_t> duree = {4, 2, 255, 0, 1, 0},
             std::vector<uint8_t> synchro = {3, 0, 0, 0, 255, 255, 0, 0},
             std::vector<uint8_t> voie1 = {1, 1, 127}, std::vector<uint8_t> voie2 = {2, 1, 127}) {
    ASSERT_TRUE(Envoie(1, {5, 1}));
    for (auto &c : {synchro, duree, voie1, voie2}) ASSERT_TRUE(Envoie(1, c));
    ASSERT_TRUE(Envoie(0, {0}));
  }
  uint32_t Lit(int pipe, uint8_t *octets, uint32_t longueur = 64) {
    EXPECT_TRUE(oscillo->Lit(pipe, octets, longueur));
    return longueur;
  }
  // Every byte of the data stream until it runs dry.
  std::vector<uint8_t> Flux() {
    std::vector<uint8_t> flux;
    uint8_t tampon[64];
    for (uint32_t n; (n = Lit(3, tampon)) > 0;) flux.insert(flux.end(), tampon, tampon + n);
    return flux;
  }
  BancVirtuel banc;
  std::shared_ptr<OscilloVirtuel> oscillo;
};

double Moyenne(const std::vector<uint8_t> &v, size_t debut = 0, size_t pas = 1) {
  double somme = 0;
  size_t n = 0;
  for (size_t i = debut; i < v.size(); i += pas, ++n) somme += v[i];
  return somme / double(n);
}

}  // namespace

TEST_F(Oscillo, LesOctetsABCDonnentLaFrequenceDEchantillonnage) {
  struct Cas { uint8_t a, b, c; double f; } cas[] = {
      {2, 255, 1, 48e6}, {0, 255, 1, 12e6}, {0, 254, 1, 6e6}, {1, 255, 1, 4e6},
      {1, 231, 1, 160e3}, {1, 246, 10, 40e3}, {1, 231, 100, 1600},
      {3, 255, 1, 1600},  // unknown clock: ignored, the last one stays
      {1, 255, 0, 1600},  // division by zero: ignored
  };
  for (auto [a, b, c, f] : cas) {
    SCOPED_TRACE(testing::Message() << int(a) << "," << int(b) << "," << int(c));
    ASSERT_TRUE(Envoie(1, {4, a, b, 0, c, 0}));
    EXPECT_DOUBLE_EQ(oscillo->FrequenceEchantillonnage(), f);
  }
}

TEST_F(Oscillo, LesEchantillonsArriventAuRythmeDeLHorlogeDuBanc) {
  Lance({4, 1, 231, 0, 100, 0});  // 1.6 kHz: 8192 samples take 5.12 s
  uint8_t tampon[64];
  EXPECT_EQ(Lit(3, tampon), 2u);  // sample 0 of each channel, at once
  banc.Horloge().Avance(10'000);  // 10 ms: 16 more samples
  EXPECT_EQ(Lit(3, tampon) + Lit(4, tampon), 32u);
  EXPECT_EQ(Lit(4, tampon), 0u);
  banc.Horloge().Avance(10'000'000);
  EXPECT_EQ(Flux().size(), 2u * 8192 - 34);  // the rest, then nothing more
  banc.Horloge().Avance(10'000'000);
  EXPECT_EQ(Lit(3, tampon), 0u);
}

TEST_F(Oscillo, LeModeDeVoiesChoisitLeFlux) {
  banc.DefinitSource(std::make_shared<Continu>(1.0));
  // channel 1 at 1 V on 4 V span (+64 codes), channel 2 grounded
  struct Cas { uint8_t mode; size_t taille; } cas[] = {{0, 16384}, {1, 8192}, {2, 8192}};
  for (auto [mode, taille] : cas) {
    SCOPED_TRACE(int(mode));
    Lance({4, 2, 255, mode, 1, 0}, {3, 0, 0, 0, 255, 255, 0, 0}, {1, 8, 127}, {2, 10, 100});
    banc.Horloge().Avance(1000);
    const auto flux = Flux();
    ASSERT_EQ(flux.size(), taille);
    const double erreur1 = OscilloVirtuel::ErreurDecalage(1, 5, 1);
    const double erreur2 = OscilloVirtuel::ErreurDecalage(2, 5, 1);
    if (mode == 0) {
      EXPECT_NEAR(Moyenne(flux, 0, 2), 127 + 63.75 + erreur1, 0.1);
      EXPECT_NEAR(Moyenne(flux, 1, 2), 100 + erreur2, 0.1);
    } else {
      EXPECT_NEAR(Moyenne(flux), mode == 1 ? 127 + 63.75 + erreur1 : 100 + erreur2, 0.1);
    }
  }
}

TEST_F(Oscillo, LeCouplageAlternatifRetireLaMoyenneEtLesCodesSontEcretes) {
  banc.DefinitSource(std::make_shared<Continu>(0.5));
  // 2 V span: 0.5 V is +63.75 codes; AC on channel 1 leaves 0 V; channel 2 DC
  // on 80 mV span clips at 255
  Lance({4, 0, 255, 0, 1, 0}, {3, 0, 0, 0, 255, 255, 0, 0}, {1, 9, 127}, {2, 36, 127});
  banc.Horloge().Avance(1000);
  const auto flux = Flux();
  EXPECT_NEAR(Moyenne(flux, 0, 2), 127 + OscilloVirtuel::ErreurDecalage(1, 5, 0), 0.1);
  EXPECT_EQ(Moyenne(flux, 1, 2), 255);
}

TEST_F(Oscillo, UneTrameDeclencheeCommenceAuFranchissementDuNiveau) {
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000));
  // 4 V span: the sine spans 127 ± 64 codes; level 150 on channel 1 or 2
  struct Cas { uint8_t source, sens; } cas[] = {{1, 0}, {1, 1}, {2, 0}, {2, 1}};
  for (auto [source, sens] : cas) {
    SCOPED_TRACE(testing::Message() << int(source) << "/" << int(sens));
    Lance({4, 0, 255, source, 1, 0}, {3, source, sens, 150, 255, 255, 0, 0}, {1, 8, 127},
          {2, 8, 127});
    banc.Horloge().Avance(5000);
    const auto flux = Flux();
    ASSERT_EQ(flux.size(), 8192u);
    // the first sample is the one that reached the level, from the chosen side
    if (sens == 0) {
      EXPECT_GE(flux[0], 150);
      EXPECT_LE(flux[0], 152);
    } else {
      EXPECT_LE(flux[0], 150);
      EXPECT_GE(flux[0], 148);
    }
    // the slope: 12 MHz, a quarter period (3000 samples) later the sine is past its peak
    const double pente = Moyenne({flux.begin() + 100, flux.begin() + 200}) - flux[0];
    EXPECT_GT(sens == 0 ? pente : -pente, 2);
  }
}

TEST_F(Oscillo, LaSynchroExterneSuitLEntreeExterne) {
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000));
  Lance({4, 0, 255, 0, 1, 0}, {3, 3, 0, 0, 255, 255, 0, 0}, {1, 8, 127}, {2, 8, 127});
  banc.Horloge().Avance(5000);
  const auto flux = Flux();
  EXPECT_NEAR(flux[0], 127 + OscilloVirtuel::ErreurDecalage(1, 5, 0), 2);
  EXPECT_GT(flux[400], flux[0] + 5);  // rising through 0 V
}

TEST_F(Oscillo, UnSignalLogiqueQuiDescendAZeroVoltDeclencheSurLesDeuxFronts) {
  banc.DefinitSource(std::make_shared<Carre>(0.0, 5.0, 2000, 0.5));
  for (uint8_t sens : {0, 1}) {
    SCOPED_TRACE(int(sens));
    // ±20 V DC: 5 V is 32 codes above the zero
    Lance({4, 0, 255, 0, 1, 0}, {3, 3, sens, 0, 255, 255, 0, 0}, {1, 1, 127}, {2, 1, 127});
    banc.Horloge().Avance(5000);
    const auto flux = Flux();
    ASSERT_EQ(flux.size(), 2 * 8192u);  // both channels, interleaved
    uint8_t bas = 255, haut = 0;
    for (size_t i = 0; i < flux.size(); i += 2) {  // channel 1
      bas = std::min(bas, flux[i]);
      haut = std::max(haut, flux[i]);
    }
    EXPECT_NEAR(haut - bas, 5 * 255 / 40.0, 3);  // both levels in the frame, noise aside
    EXPECT_NEAR(flux[0], sens == 0 ? haut : bas, 2);  // just past the edge
  }
}

// Found by fuzzing the exports: a free-running trigger command that came while the scope
// waited for its external trigger was taken as channel 0 by the trigger search.
TEST_F(Oscillo, UneSynchroRecueEnAttenteRepartSurLaNouvelleSource) {
  uint8_t tampon[64];
  // 0 V on every input: the external trigger never fires
  Lance({4, 0, 255, 0, 1, 0}, {3, 3, 0, 0, 255, 255, 0, 0});
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Lit(3, tampon), 0u);
  ASSERT_TRUE(Envoie(1, {3, 0, 0, 0, 255, 255, 0, 0}));
  EXPECT_EQ(Lit(3, tampon), 2u);  // free-running: the frame starts at once
  banc.Horloge().Avance(5000);
  EXPECT_EQ(Flux().size(), 2 * 8192u - 2);

  // waiting on a level the sine never reaches, then on one it does
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000));
  Lance({4, 0, 255, 0, 1, 0}, {3, 1, 0, 250, 255, 255, 0, 0}, {1, 8, 127}, {2, 8, 127});
  banc.Horloge().Avance(5000);
  EXPECT_EQ(Lit(3, tampon), 0u);
  ASSERT_TRUE(Envoie(1, {3, 2, 0, 150, 255, 255, 0, 0}));
  banc.Horloge().Avance(5000);
  const auto flux = Flux();
  ASSERT_EQ(flux.size(), 2 * 8192u);
  EXPECT_NEAR(flux[1], 151, 1);  // channel 2's first sample is the one that fired
}

TEST_F(Oscillo, LesPannesQueLesTestsAllument) {
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000));
  uint8_t tampon[64];
  oscillo->SynchroAbsente(true);
  Lance({4, 0, 255, 1, 1, 0}, {3, 1, 0, 150, 255, 255, 0, 0});
  banc.Horloge().Avance(100'000);
  EXPECT_EQ(Lit(3, tampon), 0u);  // never triggers
  oscillo->SynchroAbsente(false);
  oscillo->SalvesVides(true);
  Lance();
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Lit(3, tampon), 0u);  // succeeds with nothing
  oscillo->SalvesVides(false);
  EXPECT_EQ(Lit(3, tampon), 64u);
  oscillo->Debranche(true);
  uint32_t n = 64;
  EXPECT_FALSE(oscillo->Lit(3, tampon, n));
  EXPECT_FALSE(Envoie(1, {5, 0}));
}

// Short reads hand out the same stream, only in smaller pieces.
TEST_F(Oscillo, DesSalvesCourtesDonnentLeMemeFlux) {
  banc.DefinitSource(std::make_shared<Sinus>(1.0, 1000));
  oscillo->Reensemence(1);
  Lance();
  banc.Horloge().Avance(1000);  // a whole period: each start below sees the same phase
  const auto entier = Flux();
  ASSERT_EQ(entier.size(), 2 * 8192u);
  for (int octets : {1, 7, 63}) {
    SCOPED_TRACE(octets);
    oscillo->Reensemence(1);
    oscillo->SalvesCourtes(octets);
    Lance();
    banc.Horloge().Avance(1000);
    std::vector<uint8_t> flux;
    uint8_t tampon[64];
    for (uint32_t n; (n = Lit(3, tampon)) > 0;) {
      ASSERT_LE(n, uint32_t(octets));
      flux.insert(flux.end(), tampon, tampon + n);
    }
    EXPECT_EQ(flux, entier);
  }
  oscillo->SalvesCourtes(0);
  Lance();
  banc.Horloge().Avance(1000);
  uint8_t tampon[64];
  EXPECT_EQ(Lit(3, tampon), 64u);
}

// Empty bursts from the middle of the next frame: the rest waits until they end.
TEST_F(Oscillo, SalvesVidesEnTrameApresLesOctetsDits) {
  oscillo->SalvesVidesEnTrame(100);
  Lance();
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Flux().size(), 100u);
  banc.Horloge().Avance(1000);
  uint8_t tampon[64];
  EXPECT_EQ(Lit(3, tampon), 0u);
  oscillo->SalvesVides(false);
  EXPECT_EQ(Flux().size(), 2 * 8192u - 100);
  Lance();  // used up: the next frame comes whole
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Flux().size(), 2 * 8192u);
}

// A cut read ends at the byte asked for; the stream goes on from there, whole.
TEST_F(Oscillo, CoupeEnTrameUneLectureCourte) {
  oscillo->Reensemence(1);
  Lance();
  banc.Horloge().Avance(1000);  // a whole period: the next start sees the same phase
  const auto entier = Flux();
  oscillo->Reensemence(1);
  oscillo->CoupeEnTrame(101);
  Lance();
  banc.Horloge().Avance(1000);
  uint8_t tampon[64];
  EXPECT_EQ(Lit(3, tampon), 64u);
  EXPECT_EQ(Lit(4, tampon), 37u);
  auto flux = Flux();
  EXPECT_EQ(flux.size(), entier.size() - 101);
  EXPECT_TRUE(std::equal(flux.begin(), flux.end(), entier.begin() + 101));
  EXPECT_TRUE(oscillo->EstBranche());
}

// The unplug comes once the frame's bytes asked for are out, and only then.
TEST_F(Oscillo, DebrancheEnTrameApresLesOctetsDits) {
  oscillo->DebrancheEnTrame(100);
  Lance();
  banc.Horloge().Avance(1000);
  uint8_t tampon[64];
  EXPECT_EQ(Lit(3, tampon), 64u);
  EXPECT_TRUE(oscillo->EstBranche());
  EXPECT_EQ(Lit(4, tampon), 36u);  // up to the 100th byte, then the plug goes
  EXPECT_FALSE(oscillo->EstBranche());
  uint32_t n = 64;
  EXPECT_FALSE(oscillo->Lit(3, tampon, n));
  oscillo->Debranche(false);  // plugged in again: the knob has been used up
  Lance();
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Flux().size(), 2 * 8192u);
  EXPECT_TRUE(oscillo->EstBranche());
}

TEST_F(Oscillo, SansAlimentationOuArreteRienNeVient) {
  uint8_t tampon[64];
  Lance();
  ASSERT_TRUE(Envoie(1, {0}));  // stop
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Lit(3, tampon), 0u);
  Lance();
  ASSERT_TRUE(Envoie(1, {5, 0}));  // supply off
  EXPECT_EQ(Lit(3, tampon), 0u);
  ASSERT_TRUE(Envoie(0, {0}));  // a start without supply does nothing
  banc.Horloge().Avance(1000);
  EXPECT_EQ(Lit(3, tampon), 0u);
}

TEST_F(Oscillo, LaVersionRepondSurLePipe3EtLePipe2NeDitRien) {
  uint8_t tampon[64];
  std::fill(std::begin(tampon), std::end(tampon), 0xAA);
  EXPECT_EQ(Lit(2, tampon), 64u);
  EXPECT_EQ(std::accumulate(tampon, tampon + 64, 0), 0);
  std::vector<uint8_t> requete(64, 0);
  requete[0] = 6;
  ASSERT_TRUE(Envoie(1, requete));
  ASSERT_EQ(Lit(3, tampon), 64u);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(tampon)), "QuiloSim 1.0");
  uint32_t n = 64;
  EXPECT_FALSE(oscillo->Lit(1, tampon, n));  // an OUT pipe cannot be read
  EXPECT_FALSE(Envoie(3, {0}));              // nor an IN pipe written
}

TEST(Presets, UnNomInconnuNeChangeRienEtSansOscilloNOffreAucunOscillo) {
  ASSERT_TRUE(ChoisitPreset("demo"));
  auto oscillo = Banc().Oscillo();
  ASSERT_TRUE(oscillo);
  ASSERT_TRUE(Banc().SourceCourante());
  EXPECT_FALSE(ChoisitPreset("inconnu"));
  EXPECT_EQ(Banc().Oscillo(), oscillo);
  ASSERT_TRUE(ChoisitPreset("sans-oscillo"));
  EXPECT_FALSE(Banc().Oscillo());
  EXPECT_FALSE(Banc().Appareil(BancVirtuel::NomOscillo));
}

TEST(Presets, DemoMetLePasseBasSurLaVoie2) {
  ASSERT_TRUE(ChoisitPreset("demo"));
  // at 1 kHz the RC low-pass cut at 1 kHz gives 1/√2 and 45° of lag
  double crete = 0;
  for (int i = 0; i < 1000; ++i) crete = std::max(crete, Banc().Tension(2, 0.1 + i * 1e-6));
  EXPECT_NEAR(crete, 1 / std::sqrt(2.0), 0.01);
  EXPECT_NEAR(Banc().Tension(3, 0.10025), 1.0, 1e-9);  // external follows channel 1
}
