#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TableCaracteres.h"

TEST(TableCaracteres, OctetsDesUnitesEtDesExposants) {
  struct Cas { unsigned char octet; char32_t attendu; } cas[] = {
      {'A', U'A'},   {'%', U'%'},   {0x00, 0},      {0x7F, 0x7F},   {0xB5, U'µ'},
      {0x9D, U'Ω'},  {0xB0, U'°'},  {0xBA, U'⁰'},   {0xB9, U'¹'},   {0xB2, U'²'},
      {0xB3, U'³'},  {0xA5, U'⁴'},  {0xA9, U'⁵'},   {0xAC, U'⁶'},   {0xAD, U'⁷'},
      {0xAE, U'⁸'},  {0xBC, U'⁹'},  {0xB8, U'⁺'},   {0xAA, U'⁻'},   {0xC1, U'↗'},
      {0xC0, U'↘'},  {0xE9, U'é'},  {0xEA, U'ê'},   {0xE0, U'à'},   {0xD8, U'Ø'},
  };
  for (auto [octet, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << std::hex << int(octet));
    EXPECT_EQ(CodeUnicode(octet), attendu);
  }
}

TEST(TableCaracteres, LesLettresGrecquesSaisiesSontGrecquesOuLatinesIdentiques) {
  const std::u32string minuscules = U"αβχδεφγηiϕkλ\u00B5νøπθρστuvωξyζ";
  const std::u32string majuscules = U"ABCΔEΦΓHIϑKΛMNØΠΘRΣTUVΩΞYZ";
  for (int k = 0; k < 26; ++k) {
    SCOPED_TRACE(static_cast<char>('A' + k));
    EXPECT_EQ(CodeUnicode(GrecMinuscules[k]), minuscules[k]);
    EXPECT_EQ(CodeUnicode(GrecMajuscules[k]), majuscules[k]);
  }
}

TEST(TableCaracteres, ChaqueOctetAUnCaractereDistinctEtRevientPareil) {
  std::string tous;
  std::set<char32_t> vus;
  for (int b = 0; b < 256; ++b) {
    tous += static_cast<char>(b);
    EXPECT_TRUE(vus.insert(CodeUnicode(static_cast<unsigned char>(b))).second) << b;
  }
  EXPECT_EQ(DepuisUtf8(VersUtf8(tous)), tous);
}

TEST(TableCaracteres, ConversionsVersEtDepuisUtf8) {
  EXPECT_EQ(VersUtf8("10\xB3 m.kg\xAA\xB9"), "10³ m.kg⁻¹");
  EXPECT_EQ(VersUtf8("\xB5V \x9D \xB0" "C"), "µV Ω °C");
  EXPECT_EQ(DepuisUtf8("µV"), "\xB5V");
  EXPECT_EQ(DepuisUtf8("\u03A9 \u2126"), "\x9D \x9D");  // omega and the ohm sign
  EXPECT_EQ(DepuisUtf8("Fréquence"), "Fr\xE9quence");
  EXPECT_EQ(DepuisUtf8("€ ©"), "? ?");  // nothing of the font shows them
  EXPECT_EQ(DepuisUtf8("😀"), "?");
}

TEST(TableCaracteres, UnUtf8MalFormeDonneDesPointsDInterrogation) {
  struct Cas { const char *texte, *attendu; } cas[] = {
      {"a\xC3", "a?"},             // cut at the end
      {"\xE2\x82" "b", "??b"},     // cut in the middle
      {"\xC0\xAF", "??"},          // overlong
      {"\xED\xA0\x80", "???"},     // a surrogate
      {"\x80x", "?x"},             // a lone continuation byte
      {"\xF8\x88\x80\x80\x80", "?????"},
  };
  for (auto [texte, attendu] : cas) {
    SCOPED_TRACE(attendu);
    EXPECT_EQ(DepuisUtf8(texte), attendu);
  }
}
