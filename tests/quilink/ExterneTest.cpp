// A caller that knows the library only by its path, its exported names and the
// records of its header-only layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ChargeQuilink.h"
#include "Enregistrements.h"

TEST(ProgrammeExterne, LeBancDemoDonneUneTrameQuiBouge) {
  Quilink q;
  ASSERT_TRUE(q.bibliotheque) << dlerror();
  auto simulation = q.Entree<int32_t(const char *)>("QuilinkSimulation");
  auto ouvre = q.Entree<int32_t(const char16_t *)>("_SetPortOpen");
  auto ferme = q.Entree<int32_t(int32_t)>("SetPortClose");
  auto version = q.Entree<int32_t(int32_t, uint8_t *)>("_GetVersion");
  auto alim = q.Entree<int32_t(int32_t)>("_ConnectAlim");
  auto envoie = q.Entree<int32_t(int32_t, const void *)>("_SendUSBData");
  auto lance = q.Entree<int32_t(int32_t, int32_t)>("_LanceAcqui");
  auto lit = q.Entree<int32_t(int32_t, void *, int32_t)>("_GetUSBData");
  ASSERT_TRUE(simulation && ouvre && ferme && version && alim && envoie && lance && lit);

  ASSERT_EQ(simulation("demo"), 1);
  const ChaineOle<char16_t> nom(u"QuiloUSB-0");
  const int32_t h = ouvre(nom.c());
  ASSERT_NE(h, -1);
  ASSERT_NE(h, 0);
  uint8_t texte[14];
  std::memset(texte, 0x55, sizeof texte);
  ASSERT_EQ(version(h, texte), 1);
  EXPECT_EQ(texte[12], 0);
  EXPECT_EQ(texte[13], 0x55);

  // channel 1 on ±2 V DC, 4 MHz (2 ms: two periods), both channels: the 1 V sine
  // spans ±64 codes
  struct { int32_t n; uint8_t octets[8]; } voie1{3, {1, 8, 127}}, duree{6, {4, 1, 255, 0, 1, 0}};
  ASSERT_EQ(alim(h), 1);
  ASSERT_EQ(envoie(h, &duree), 1);
  ASSERT_EQ(envoie(h, &voie1), 1);
  ASSERT_EQ(lance(h, 0), 1);
  // 8192 samples take 2 ms of the bench's real time: reads that find nothing
  // yet simply come round again
  RecordTrame trame;
  std::vector<uint8_t> voie;
  int echantillons2 = 0;
  for (long essai = 0; voie.size() < 8192 && essai < 100'000'000; ++essai) {
    const int32_t r = lit(h, &trame, 0);
    if (r == 0) continue;
    ASSERT_LE(r, 128);
    ASSERT_EQ(trame.Compte1, trame.Compte2);
    voie.insert(voie.end(), trame.Zone1, trame.Zone1 + trame.Compte1);
    echantillons2 += trame.Compte2;
  }
  ASSERT_EQ(voie.size(), 8192u);
  EXPECT_EQ(echantillons2, 8192);
  const auto [mini, maxi] = std::minmax_element(voie.begin(), voie.end());
  EXPECT_GT(*maxi - *mini, 100);
  EXPECT_EQ(ferme(h), 1);
}

TEST(ProgrammeExterne, UnNomInconnuEchoueSansToucherLaVersion) {
  Quilink q;
  ASSERT_TRUE(q.bibliotheque) << dlerror();
  auto simulation = q.Entree<int32_t(const char *)>("QuilinkSimulation");
  auto ouvre = q.Entree<int32_t(const char16_t *)>("_SetPortOpen");
  auto ferme = q.Entree<int32_t(int32_t)>("SetPortClose");
  auto version = q.Entree<int32_t(int32_t, uint8_t *)>("_GetVersion");
  ASSERT_EQ(simulation("demo"), 1);
  const ChaineOle<char16_t> nom(u"Inconnu-7");
  const int32_t h = ouvre(nom.c());
  EXPECT_EQ(h, -1);
  uint8_t texte[13];
  std::memset(texte, 0x55, sizeof texte);
  EXPECT_EQ(version(h, texte), 0);
  EXPECT_EQ(std::count(texte, texte + 13, 0x55), 13);
  EXPECT_EQ(ferme(h), 1);
}
