#include <gtest/gtest.h>

#include <string>

#include "Erreurs.h"
#include "Impression.h"
#include "ZelmUtil.h"
#include "uniteKer.h"

namespace {

using D = DimensionUnite;
constexpr D Volt{2, 1, -3, -1, 0, 0, 0};
constexpr D Vitesse{1, 0, -1, 0, 0, 0, 0};

Tunite Lue(std::string_view texte) {
  Tunite u;
  u.SetNomUnite(texte);
  return u;
}

Tunite Composee(D dimension, int32_t puissance = 0) {
  Tunite u;
  u.Dimension = dimension;
  u.PuissanceDix = puissance;
  return u;
}

}  // namespace

TEST(SetNomUnite, LitDimensionEtPuissance) {
  struct Cas { const char *texte; int32_t puissance; D dimension; uint8_t genre; } cas[] = {
      {"mV", -3, Volt, 0},
      {"kg", 0, {0, 1, 0, 0, 0, 0, 0}, 0},
      {"g", -3, {0, 1, 0, 0, 0, 0, 0}, 0},
      {"Pa", 0, {-1, 1, -2, 0, 0, 0, 0}, 0},
      {"kPa", 3, {-1, 1, -2, 0, 0, 0, 0}, 0},
      {"cd", 0, {0, 0, 0, 0, 0, 0, 1}, 0},
      {"mol", 0, {0, 0, 0, 0, 0, 1, 0}, 0},
      {"dB", 0, {}, GenreDecibel},
      {"m/s", 0, Vitesse, 0},
      {"m.s^-1", 0, Vitesse, 0},
      {"m.s-1", 0, Vitesse, 0},
      {"m.s\xAA\xB9", 0, Vitesse, 0},
      {"m^2", 0, {2, 0, 0, 0, 0, 0, 0}, 0},
      {"m2", 0, {2, 0, 0, 0, 0, 0, 0}, 0},
      {"m\xB2", 0, {2, 0, 0, 0, 0, 0, 0}, 0},
      {"m^+2", 0, {2, 0, 0, 0, 0, 0, 0}, 0},
      {"J/kg.K", 0, {2, 0, -2, 0, -1, 0, 0}, 0},
      {"J/(kg.K)", 0, {2, 0, -2, 0, -1, 0, 0}, 0},
      {"1E3 V", 3, Volt, 0},
      {"1E-2 m", -2, {1, 0, 0, 0, 0, 0, 0}, 0},
      {"kHz", 3, {0, 0, -1, 0, 0, 0, 0}, 0},
      {"\xB5s", -6, {0, 0, 1, 0, 0, 0, 0}, 0},
      {"\xB0", 0, {}, GenreDegre},
      {"\xB0" "C", 0, {0, 0, 0, 0, 1, 0, 0}, 0},
      {"mrad", -3, {}, GenreRadian},
      {"mL", -6, {3, 0, 0, 0, 0, 0, 0}, 0},
      {"\x9Dm", 0, {3, 1, -3, -2, 0, 0, 0}, 0},
      {"mol/l", 3, {-3, 0, 0, 0, 0, 1, 0}, 0},
      {"m-s", 0, {1, 0, 1, 0, 0, 0, 0}, 0},  // a sign without a digit is ignored
      {"", 0, {}, 0},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.texte);
    const Tunite u = Lue(c.texte);
    EXPECT_TRUE(u.Correcte);
    EXPECT_EQ(u.NomUnite, c.texte);
    EXPECT_EQ(u.NomDonne, *c.texte != 0);
    EXPECT_EQ(u.PuissanceDix, c.puissance);
    EXPECT_EQ(u.Dimension, c.dimension);
    EXPECT_EQ(u.Genre, c.genre);
  }
}

TEST(SetNomUnite, UnTexteMalFormeRendLUniteIncorrecteSansLever) {
  const std::string m9x15 = [] {
    std::string s;
    for (int i = 0; i < 15; ++i) s += "m9";  // 135 metres to the power: beyond a signed byte
    return s;
  }();
  const char *textes[] = {
      "1E3",          // the last character never belongs to the head
      "Pa.s",         // "P" taken as peta, then "a" names nothing
      "xyz", "m^", "m^+", "m-", "m/", "m.", "m^12", "/", "^", "kk", "\xB5",
      "k\x9D",        // the ohm byte may not follow a prefix
      "1E-3",         // a head with only a sign
      "1E+ V",
      "1E3-4 V",
      "1E+-3 V",
      "1E99999999999 V",  // a power beyond 32 bits
      "1E-2147483649 V",
      m9x15.c_str(),
  };
  for (const char *texte : textes) {
    SCOPED_TRACE(texte);
    Tunite u;
    EXPECT_NO_THROW(u.SetNomUnite(texte));
    EXPECT_FALSE(u.Correcte);
    EXPECT_TRUE(u.NomDonne);
  }
}

TEST(SetNomUnite, UneTeteSansPuissanceNiFacteurDonneUneUniteSansDimension) {
  Tunite u;
  u.SetNomUnite("1E");  // the head ends the text: no power, no factor
  EXPECT_TRUE(u.Correcte);
  EXPECT_EQ(u.PuissanceDix, 0);
  EXPECT_EQ(u.Dimension, DimensionUnite{});
}

TEST(SetNomUnite, UnNouveauTexteRepartDeZeroEtGardeLaGrandeur) {
  Tunite u;
  u.NomGrandeur = "U";
  u.SetNomUnite("xyz");
  u.SetNomUnite("V");  // a whole-text match copies the row, not its quantity
  EXPECT_EQ(u.NomGrandeur, "U");
  u.SetNomUnite("1E-2147483648 V");
  EXPECT_TRUE(u.Correcte);
  EXPECT_EQ(u.PuissanceDix, INT32_MIN);
  u.SetNomUnite("");
  EXPECT_TRUE(u.Correcte);
  EXPECT_FALSE(u.NomDonne);
  EXPECT_EQ(u.PuissanceDix, 0);
  EXPECT_EQ(u.Dimension, D{});
  EXPECT_EQ(u.NomGrandeur, "U");
  u.SetNomUnite(std::string(40, 'm'));
  EXPECT_EQ(u.NomUnite.size(), 32u);
}

TEST(ArithmetiqueUnites, GenreEtControleDesIntervalles) {
  Tunite a = Lue("\xB0"), b = Lue("\xB0");
  a.Multiplie(b);  // a product of two angles loses its kind
  EXPECT_EQ(a.Genre, SansGenre);
  Tunite m = Lue("m");
  m.Multiplie(Lue("rad"));
  EXPECT_EQ(m.Genre, GenreRadian);
  EXPECT_EQ(m.NomUnite, "m");  // arithmetic keeps the text
  Tunite r = Lue("rad");
  r.Eleve(1);
  EXPECT_EQ(r.Genre, GenreRadian);
  r.Eleve(2);
  EXPECT_EQ(r.Genre, SansGenre);

  Tunite faux = Lue("xyz");
  Tunite v = Lue("V");
  v.Multiplie(faux);
  EXPECT_FALSE(v.Correcte);
  EXPECT_EQ(v.Dimension, Volt);  // nothing else changes

  Tunite grand = Composee({100, 0, 0, 0, 0, 0, 0}, 5);
  EXPECT_THROW(grand.Multiplie(grand), ERangeError);
  EXPECT_EQ(grand.PuissanceDix, 5);  // a failed operation leaves the unit as it was
  EXPECT_THROW(grand.Eleve(2), ERangeError);
  Tunite plancher = Composee({-128, 0, 0, 0, 0, 0, 0});
  EXPECT_THROW(plancher.Inverse(), ERangeError);
  Tunite puissant = Composee({}, INT32_MAX);
  EXPECT_THROW(puissant.Multiplie(puissant), EIntOverflow);
  EXPECT_THROW(puissant.Eleve(2), EIntOverflow);
  Tunite inv = Lue("mV");
  inv.Inverse();
  EXPECT_EQ(inv.PuissanceDix, 3);
  EXPECT_EQ(inv.Dimension, (D{-2, -1, 3, 1, 0, 0, 0}));
}

TEST(NomAffiche, TexteDonneOuComposeSelonLaPuissance) {
  struct Cas { Tunite u; int8_t n; const char *attendu; } cas[] = {
      {Lue("mV"), 3, "V"},
      {Lue("mV"), 0, "mV"},
      {Lue("mV"), 6, "kV"},
      {Lue("mV"), -3, "\xB5V"},
      {Lue("mV"), 4, "10\xB9 V"},
      {Lue("m/s"), 0, "m/s"},
      {Lue("m/s"), -3, "mms\xAA\xB9"},
      {Lue("V/s"), -3, "mVs\xAA\xB9"},
      {Lue("\xB0"), -3, "m\xB0"},
      {Lue("mrad"), 3, "rad"},
      {Lue("cd"), 3, "kcd"},           // not a centi prefix on "d"
      {Lue("cd"), 2, "hcd"},
      {Lue("mol"), 3, "kmol"},
      {Lue("L"), 3, "m\xB3"},            // a pure length power comes first
      {Lue("\xB0" "C"), -3, "m\xB0" "C"},
      {Lue("xyz"), 0, "xyz"},
      {Lue("xyz"), 3, "10\xB3 xyz"},
      {Lue("cm^2"), 0, "cm^2"},
      {Lue("cm^2"), -2, "mm\xB2"},
      {Lue("cm^-1"), 2, "10\xA5 cm^-1"},  // c^-1 is 10^2 already
      {Lue("cm^-1"), -2, "m\xAA\xB9"},
      {Lue("Hz"), 3, "kHz"},
      {Lue("s-1"), 3, "kHz"},
      {Lue("%"), 0, "%"},
      {Lue("N.m"), 0, "N.m"},          // a row read whole keeps its text
      {Lue("N.m"), 3, "kJ"},           // the first row of that dimension
      {Lue("lm"), 3, "kcd"},
      {Composee({1, 0, 0, 0, 0, 0, 0}), 3, "km"},
      {Composee({0, 1, 0, 0, 0, 0, 0}), 0, "kg"},
      {Composee({0, 1, 0, 0, 0, 0, 0}), -3, "g"},
      {Composee({2, 0, 0, 0, 0, 0, 0}, -6), 0, "mm\xB2"},
      {Composee({-1, 0, 0, 0, 0, 0, 0}), 2, "cm\xAA\xB9"},
      {Composee({0, 0, -1, 0, 0, 0, 0}), 0, "Hz"},
      {Composee({0, 0, -2, 0, 0, 0, 0}), 0, "s\xAA\xB2"},  // never "Hzs⁻¹"
      {Composee({1, -1, -2, 0, 0, 0, 0}), 0, "m.kg\xAA\xB9.s\xAA\xB2"},
      {Composee({1, -1, -2, 0, 0, 0, 0}), 3, "10\xB3 m.kg\xAA\xB9.s\xAA\xB2"},
      {Composee({2, 0, 0, 0, 0, 0, 1}), 0, "m\xB2.cd"},
      {Composee({0, 0, 0, 0, 0, 0, -2}), 0, "cd\xAA\xB2"},
      {Composee({}), 0, ""},
      {Composee({}), 3, "k"},
  };
  for (auto &[u, n, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << "'" << u.NomUnite << "' at " << int(n));
    EXPECT_EQ(u.NomAffiche(n), std::string(attendu));
  }
}

TEST(NomAffiche, SansTexteDonneEcritLeTexteChoisiDansNomUnite) {
  Tunite compose = Composee({1, -1, -2, 0, 0, 0, 0});
  compose.NomAffiche(3);
  EXPECT_EQ(compose.NomUnite, "m.kg\xAA\xB9.s\xAA\xB2");
  Tunite incorrecte;
  incorrecte.Correcte = false;
  EXPECT_EQ(incorrecte.NomAffiche(0), "?");
  EXPECT_EQ(incorrecte.NomUnite, "?");
  EXPECT_EQ(incorrecte.NomAffiche(-6), "10\xAA\xAC ?");
  Tunite degre;
  degre.Genre = GenreDegre;
  EXPECT_EQ(degre.NomAffiche(3), "k\xB0");
  EXPECT_EQ(degre.NomUnite, "\xB0");
}

TEST(NomAffiche, LaPuissanceAfficheeDoitTenirDansUnOctetSigne) {
  Tunite u = Lue("1E120 V");
  EXPECT_EQ(u.NomAffiche(7), "10\xB9\xB2\xAD V");
  EXPECT_THROW(u.NomAffiche(8), ERangeError);
  Tunite sansNom = Composee({}, 0);
  EXPECT_NO_THROW(sansNom.NomAffiche(127));  // no dimension: no power to combine
}

TEST(Puissance10Texte, TeteEnExposantOuSI) {
  EXPECT_EQ(Puissance10Texte("V", 5), "10\xA9 V");
  EXPECT_EQ(Puissance10Texte("V", 0), "V");
  EXPECT_EQ(Puissance10Texte(std::string(30, 'x'), 5), "10\xA9 S.I.");
  EXPECT_EQ(Puissance10Texte(std::string(28, 'x'), 5), "10\xA9 " + std::string(28, 'x'));
  EXPECT_EQ(Puissance10Texte(std::string(28, 'x'), -5), "10\xAA\xA9 S.I.");
}

TEST(EstPrefixe, PuissancesAvecUnPrefixe) {
  for (int n = -21; n <= 21; ++n) {
    const bool attendu = n == 0 || n == -1 || n == -2 || n == 2 || (n % 3 == 0 && n >= -18 && n <= 18);
    EXPECT_EQ(EstPrefixe(n), attendu) << n;
  }
}

TEST(AvecPrefixe, PrefixePresentOuPuissanceDix) {
  struct Cas { const char *texte; int n; const char *attendu; } cas[] = {
      {"V", -6, "\xB5V"}, {"V", 0, "V"}, {"V", 1, "10\xB9 V"}, {"V", 21, "10\xB2\xB9 V"},
      {"mrad", 3, "rad"}, {"mV", 3, "V"}, {"mV", 6, "kV"}, {"kV", -1, "hV"},
      {"cd", 3, "kcd"}, {"cd", 0, "cd"}, {"dB", 3, "kdB"}, {"Pa", 3, "kPa"},
      {"m", -3, "mm"}, {"mm", 0, "mm"}, {"\xB5\x9D", 6, "\x9D"},
  };
  for (auto [texte, n, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << texte << " " << n);
    EXPECT_EQ(AvecPrefixe(texte, n), std::string(attendu));
  }
}

TEST(ValeurAvecUnite, AutourDuPassageA999) {
  FixeSeparateurDecimal('.');
  Tunite v = Lue("V");
  struct Cas { double x; const char *attendu; } cas[] = {
      {0.0123, "12.3 mV"},   {998.5, "998.5 V"},      {999.4, "0.9994 kV"},
      {999, "0.999 kV"},     {0.999, "0.999 V"},      {0.9989, "998.9 mV"},
      {0, "0V"},             {1e-14, "0V"},           {-1.5, "-1.5 V"},
      {-2e6, "-2 MV"},       {1e-12, "1 pV"},         {1.5e24, "1.5 10\xB2\xA5 V"},
      {1e27, "???"},         {1e300, "???"},          {ValeurIndefinie, ""},
      {2e23, "200 10\xB2\xB9 V"},
  };
  for (auto [x, attendu] : cas) {
    SCOPED_TRACE(x);
    EXPECT_EQ(v.ValeurAvecUnite(x), std::string(attendu));
  }
  FixeSeparateurDecimal(',');
  EXPECT_EQ(v.ValeurAvecUnite(0.0123), "12,3 mV");
  FixeSeparateurDecimal('.');
}

TEST(ValeurAvecUnite, EgaliteEtTitreAxe) {
  FixeSeparateurDecimal('.');
  Tunite u = Lue("V");
  u.NomGrandeur = "U";
  EXPECT_EQ(u.Egalite(1.5), "U=1.5 V");
  EXPECT_EQ(u.Egalite(ValeurIndefinie), "U=");
  u.NomGrandeur = std::string(30, 'U');
  EXPECT_EQ(u.Egalite(1.5).size(), 32u);

  u.NomGrandeur = "U";
  EXPECT_EQ(u.TitreAxe(1e-3), "U(mV)");
  EXPECT_EQ(u.TitreAxe(1), "U(V)");
  EXPECT_EQ(u.TitreAxe(1000), "U(kV)");
  EXPECT_EQ(u.TitreAxe(3162), "U(kV)");  // 3.49 rounds to 3
  Tunite sansUnite;
  sansUnite.NomGrandeur = "G";
  EXPECT_EQ(sansUnite.TitreAxe(1), "G");
  EXPECT_EQ(sansUnite.TitreAxe(1000), "G(k)");
  EXPECT_THROW(u.TitreAxe(1e200), ERangeError);
  EXPECT_THROW(u.TitreAxe(0), ERangeError);
  EXPECT_THROW(u.TitreAxe(-1), ERangeError);
}

TEST(TablesUnites, LignesEtOrdre) {
  ASSERT_EQ(UnitesNommees().size(), 31u);
  ASSERT_EQ(UnitesSpeciales().size(), 7u);
  EXPECT_EQ(UnitesNommees()[10].NomUnite, "\x9D");
  EXPECT_EQ(UnitesNommees()[29].NomUnite, "\x9Dm");
  EXPECT_EQ(UnitesSpeciales()[5].Genre, GenreDegre);
  // every row reads back as itself through the parser
  for (const auto *table : {&UnitesNommees(), &UnitesSpeciales()}) {
    for (const Tunite &ligne : *table) {
      SCOPED_TRACE(ligne.NomUnite);
      const Tunite u = Lue(ligne.NomUnite);
      EXPECT_TRUE(u.Correcte);
      EXPECT_EQ(u.Dimension, ligne.Dimension);
      EXPECT_EQ(u.PuissanceDix, ligne.PuissanceDix);
    }
  }
  // rows that are spelled out of others agree with their parts
  EXPECT_EQ(Lue("J/K").Dimension, Lue("J.K-1").Dimension);
  EXPECT_EQ(Lue("W/(m.K)").Dimension, Lue("W/m.K").Dimension);
  EXPECT_EQ(Lue("N.m").Dimension, Lue("J").Dimension);
  EXPECT_EQ(Lue("\x9D").Dimension, Lue("V/A").Dimension);
  EXPECT_EQ(Lue("F").Dimension, Lue("C/V").Dimension);
}
