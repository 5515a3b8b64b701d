// An outside program on the device that umockdev makes up from umockdev/: the library
// by its path and exports only, on its real USB backend (no bench is chosen).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "ChargeQuilink.h"
#include "Enregistrements.h"

TEST(ProgrammeExterneUsb, LitVersionEtSalvePuisEchoueProprementSurUnBlocageEtUnDebranchement) {
  Quilink q;
  ASSERT_TRUE(q.bibliotheque) << dlerror();
  auto ouvre = q.Entree<int32_t(const char16_t *)>("_SetPortOpen");
  auto ferme = q.Entree<int32_t(int32_t)>("_SetPortClose");
  auto version = q.Entree<int32_t(int32_t, uint8_t *)>("_GetVersion");
  auto lance = q.Entree<int32_t(int32_t, int32_t)>("_LanceAcqui");
  auto lit = q.Entree<int32_t(int32_t, void *, int32_t)>("_GetUSBData");
  auto cause = q.Entree<int32_t(int32_t, char *, int32_t)>("QuilinkCause");
  ASSERT_TRUE(ouvre && ferme && version && lance && lit && cause);

  const ChaineOle<char16_t> nom(u"QuiloUSB-0");
  const int32_t h = ouvre(nom.c());
  char detail[200] = {};
  ASSERT_NE(h, -1) << cause(-1, detail, sizeof detail) << " " << detail;
  uint8_t texte[13];
  ASSERT_EQ(version(h, texte), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(texte)), "Quilo 2.07 A");

  RecordTrame trame;
  ASSERT_EQ(lance(h, 0x10), 1);
  ASSERT_EQ(lit(h, &trame, 0), 128);
  EXPECT_EQ(trame.Compte1, 64);
  EXPECT_EQ(trame.Compte2, 64);
  EXPECT_EQ(trame.Zone1[63], 63);
  EXPECT_EQ(trame.Zone2[63], 0x80 + 63);

  // a failed read leaves the frame as it was
  const RecordTrame avant = trame;
  ASSERT_EQ(lance(h, 0x13), 1);
  EXPECT_EQ(lit(h, &trame, 1), 0);
  EXPECT_EQ(cause(h, nullptr, 0), 6);  // stalled: the next read may pass
  EXPECT_EQ(std::memcmp(&trame, &avant, sizeof trame), 0);

  ASSERT_EQ(lance(h, 0x14), 1);
  EXPECT_EQ(lit(h, &trame, 0), 0);
  EXPECT_EQ(cause(h, nullptr, 0), 5);  // gone
  EXPECT_EQ(lit(h, &trame, 0), 0);
  EXPECT_EQ(version(h, texte), 0);
  EXPECT_EQ(std::memcmp(&trame, &avant, sizeof trame), 0);
  EXPECT_EQ(ferme(h), 1);
}
