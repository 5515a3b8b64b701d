#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Impression.h"
#include "ZelmUtil.h"

namespace {

// Every test states the separator it wants; the machine's locale never matters.
class AvecSeparateurSysteme : public testing::Test {
 protected:
  void TearDown() override { FixeSeparateurDecimal('.'); }
};

using FormatNombreTest = AvecSeparateurSysteme;
using LitNombreTest = AvecSeparateurSysteme;

}  // namespace

TEST_F(FormatNombreTest, CinqChiffresSignificatifsEnFixeOuEnScientifique) {
  FixeSeparateurDecimal('.');
  struct Cas { double x; const char *attendu; } cas[] = {
      {0, "0"},              {1, "1"},               {-1.5, "-1.5"},
      {0.0001, "0.0001"},    {0.00001234, "1.234E-5"}, {12345, "12345"},
      {123456, "1.2346E5"},  {99999.5, "1E5"},       {1e10, "1E10"},
      {2e-11, "2E-11"},      {9.9999e9, "9.9999E9"}, {0.001234567, "0.0012346"},
      {1234.5678, "1234.6"}, {-0.5, "-0.5"},         {1e-10, "1E-10"},
      {1e100, "1E100"},      {3.14159265, "3.1416"}, {100, "100"},
  };
  for (auto [x, attendu] : cas) {
    SCOPED_TRACE(x);
    EXPECT_EQ(FormatNombre(x), std::string(attendu));
  }
}

TEST_F(FormatNombreTest, SeparateurDuSystemeEtValeurIndefinie) {
  FixeSeparateurDecimal(',');
  EXPECT_EQ(FormatNombre(1.5), "1,5");
  EXPECT_EQ(FormatNombre(0.00001234), "1,234E-5");
  EXPECT_EQ(FormatNombre(ValeurIndefinie), " ");
  EXPECT_EQ(FormatNombre(std::nextafter(ValeurIndefinie, 1.0)), "1E-26");  // exact compare
}

TEST_F(FormatNombreTest, NombreExportToujoursAvecUnPointEtDeuxChiffresDExposant) {
  for (char separateur : {'.', ','}) {
    SCOPED_TRACE(separateur);
    FixeSeparateurDecimal(separateur);
    EXPECT_EQ(NombreExport(123456), "1.2346E05");
    EXPECT_EQ(NombreExport(-1.5), "-1.5");
    EXPECT_EQ(NombreExport(0.00001234), "1.234E-05");
    EXPECT_EQ(NombreExport(ValeurIndefinie), "1E-26");
    EXPECT_EQ(NombreExport(1e123), "1E123");
  }
}

TEST(FormatGeneral, QuinzeChiffresPourLeFichierDeReglages) {
  EXPECT_EQ(FormatGeneral(10000, 15, 1, ','), "10000");
  EXPECT_EQ(FormatGeneral(0.1, 15, 1, ','), "0,1");
  EXPECT_EQ(FormatGeneral(1.0 / 3, 15, 1, '.'), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(123456789012345678.0, 15, 1, '.'), "1.23456789012346E17");
}

// Rounded up past the largest double, a text would no longer read (the settings file would
// give its default back): the digits are cut there instead (found by fuzzing).
TEST(FormatGeneral, PresDuPlusGrandDoubleLeTexteSeRelit) {
  const double maxi = std::numeric_limits<double>::max();  // 1.7976931348623157E308
  struct Cas { double x; int chiffres; const char *attendu; } cas[] = {
      {maxi, 15, "1.79769313486231E308"},  {-maxi, 15, "-1.79769313486231E308"},
      {maxi, 5, "1.7976E308"},             {maxi, 17, "1.7976931348623157E308"},
      {maxi, 1, "1E308"},                  {1.7976931348623e308, 15, "1.7976931348623E308"},
      {9.99999e307, 5, "1E308"},  // rounded up, still below the largest
  };
  for (const auto &[x, chiffres, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << x << " with " << chiffres << " digits");
    EXPECT_EQ(FormatGeneral(x, chiffres, 1, '.'), attendu);
    double relu = 0;
    EXPECT_TRUE(LitDecimal(attendu, '.', relu));
  }
  EXPECT_EQ(FormatNombre(maxi), "1.7976E308");
  EXPECT_DOUBLE_EQ(LitNombre(FormatNombre(-maxi)), -1.7976e308);
}

TEST_F(LitNombreTest, AvecLesDeuxSeparateursEtLesSuffixesDePrefixe) {
  struct Cas { const char *texte; double attendu; } cas[] = {
      {"1,5", 1.5},    {"1.5", 1.5},     {"-2", -2},        {"+2.5E3", 2500},
      {"3m", 0.003},   {"2.5k", 2500},   {"2,5k", 2500},    {"10\xB5", 1e-5},
      {"1n", 1e-9},    {"4M", 4e6},      {"7E", 7e18},      {"1y", 1e-24},
      {" 3m ", 0.003}, {"\t12\t", 12},   {".5", 0.5},       {"5.", 5},
      {"1e-3", 1e-3},  {"2.5E+3k", ValeurIndefinie},
      {"3Z", ValeurIndefinie},  {"3Y", ValeurIndefinie},  {"", ValeurIndefinie},
      {"   ", ValeurIndefinie}, {"k", ValeurIndefinie},   {"inf", ValeurIndefinie},
      {"nan", ValeurIndefinie}, {"0x10", ValeurIndefinie}, {"1E", 1e18},
      {"1 000", ValeurIndefinie}, {"1.2.3", ValeurIndefinie}, {"--1", ValeurIndefinie},
      {"1E999", ValeurIndefinie}, {".", ValeurIndefinie},  {"1e", ValeurIndefinie},
      {"3 m", ValeurIndefinie},
      // every other suffix, each its own power
      {"2z", 2e-21},   {"2a", 2e-18},    {"2f", 2e-15},     {"2p", 2e-12},
      {"2G", 2e9},     {"2T", 2e12},     {"2P", 2e15},
  };
  for (char separateur : {'.', ','}) {
    FixeSeparateurDecimal(separateur);
    for (auto [texte, attendu] : cas) {
      SCOPED_TRACE(testing::Message() << "'" << texte << "' with '" << separateur << "'");
      EXPECT_DOUBLE_EQ(LitNombre(texte), attendu);
    }
  }
}

TEST_F(LitNombreTest, SeulsLesTrenteDeuxPremiersCaracteresComptent) {
  FixeSeparateurDecimal('.');
  const std::string long33 = std::string(31, '0') + "1k";  // the "k" falls off
  EXPECT_DOUBLE_EQ(LitNombre(long33), 1);
}

TEST(EnExposant, ChiffresEtSignesEnExposant) {
  EXPECT_EQ(EnExposant(-12), "\xAA\xB9\xB2");
  EXPECT_EQ(EnExposant(0), "");
  EXPECT_EQ(EnExposant(1234567890), "\xB9\xB2\xB3\xA5\xA9\xAC\xAD\xAE\xBC\xBA");
  for (int n = -20; n <= 20; ++n) {  // each superscript digit reads back as its value
    const Texte32 t = EnExposant(n);
    if (n == 0) continue;
    EXPECT_EQ(ChiffreExposant(t[t.size() - 1]), std::abs(n) % 10);
  }
  EXPECT_EQ(ChiffreExposant('7'), 7);
  EXPECT_EQ(ChiffreExposant('\xBA'), 0);
  EXPECT_EQ(ChiffreExposant('x'), 0);
}

TEST(AvecSeparateur, AjouteLaBarreSeulementSiElleManque) {
  EXPECT_EQ(AvecSeparateur("/home/u/Documents"), "/home/u/Documents/");
  EXPECT_EQ(AvecSeparateur("/"), "/");
  EXPECT_EQ(AvecSeparateur("a/"), "a/");
  EXPECT_EQ(AvecSeparateur(""), "");
}
