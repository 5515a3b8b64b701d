// The string layout shared across the device libraries, read back as they read it.
#include "Enregistrements.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ChaineOle, LaLongueurPrecedeLeTexteEtUnTexteTropLongEstCoupe) {
  struct Cas { std::size_t longueur, gardes; } cas[] = {
      {0, 0}, {10, 10},
      {31, 31},  // the room of a device name
      {32, 31}, {40, 31},
  };
  for (auto [longueur, gardes] : cas) {
    SCOPED_TRACE(longueur);
    std::u16string texte;
    for (std::size_t i = 0; i < longueur; ++i) texte += char16_t(u'A' + i % 26);
    const ChaineOle<char16_t> chaine(texte);
    EXPECT_EQ(LongueurOle(chaine.c()), int32_t(2 * gardes));
    EXPECT_EQ(TexteOle(chaine.c()), std::u16string_view(texte).substr(0, gardes));
    EXPECT_EQ(chaine.c()[gardes], 0);  // and the zero character after it
  }
  const ChaineOle<char> huit("QuiloUSB-0");  // the 8-bit form counts bytes alike
  EXPECT_EQ(LongueurOle(huit.c()), 10);
  EXPECT_EQ(TexteOle(huit.c()), "QuiloUSB-0");
}

TEST(ChaineOle, LeTexteEstCeQueLaLongueurCouvre) {
  struct Cas { int32_t octets; std::u16string_view attendu; } cas[] = {
      {8, u"Quil"}, {20, u"QuiloUSB-0"},
      {7, u"Qui"},  // a last half character is left out
      {0, u""}, {-2, u""},
  };
  for (auto [octets, attendu] : cas) {
    SCOPED_TRACE(octets);
    ChaineOle<char16_t> chaine(u"QuiloUSB-0");
    chaine.Octets = octets;
    EXPECT_EQ(TexteOle(chaine.c()), attendu);
  }
  EXPECT_EQ(LongueurOle(nullptr), 0);
  EXPECT_TRUE(TexteOle(static_cast<const char16_t *>(nullptr)).empty());
}

}  // namespace
