#include <gtest/gtest.h>

#include <string>

#include "Impression.h"
#include "TexteCourt.h"

TEST(TexteCourt, CoupeALaConstructionALAffectationEtALaConcatenation) {
  const std::string long40(40, 'x');
  Texte32 t(long40);
  EXPECT_EQ(t.size(), 32u);
  t = "abc";
  EXPECT_EQ(t, "abc");
  t = long40;
  EXPECT_EQ(t.size(), 32u);
  t += "yz";
  EXPECT_EQ(t.size(), 32u);
  EXPECT_EQ(t.str(), std::string(32, 'x'));

  Texte32 u(std::string(30, 'a'));
  EXPECT_EQ(u + "bcdef", std::string(30, 'a') + "bc");
  EXPECT_EQ("bcdef" + u, "bcdef" + std::string(27, 'a'));
  EXPECT_EQ((u + 'b' + 'c' + 'd').size(), 32u);
  EXPECT_EQ((u + u).size(), 32u);
}

TEST(TexteCourt, GardeLesOctetsEtSeCompare) {
  const Texte32 t("\xB5V");  // 8-bit bytes stay as they are
  EXPECT_EQ(t.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(t[0]), 0xB5);
  EXPECT_EQ(t, std::string("\xB5V"));
  EXPECT_NE(t, "V");
  EXPECT_TRUE(Texte32("a") < Texte32("b"));
  EXPECT_EQ(Texte32(nullptr), "");

  const Texte255 ligne(std::string(300, 'l'));
  EXPECT_EQ(ligne.size(), 255u);
  const Texte32 depuisLigne = ligne;  // a longer text into a shorter one is cut too
  EXPECT_EQ(depuisLigne.size(), 32u);
  EXPECT_FALSE(depuisLigne == ligne);  // texts of two sizes compare whole
  EXPECT_TRUE(Texte255(depuisLigne) == depuisLigne);
}
