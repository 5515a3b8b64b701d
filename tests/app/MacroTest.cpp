#include <gtest/gtest.h>

#include "Macro.h"

namespace {

using F = FonctionMacro;

std::string Repete(const std::string &motif, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += motif;
  return s;
}

}  // namespace

TEST(LitMacro, UneLigneDonneSaFonctionEtSonParametre) {
  const std::string inconnue = "Fonction inconnue : ";
  const std::string unMessage = "Un message à la fois SVP";
  struct Cas {
    std::vector<std::string> lignes;
    F fonction;
    std::string parametre, erreur;
  } cas[] = {
      {{"focus"}, F::Focus, "", ""},
      {{"FoCuS"}, F::Focus, "", ""},
      {{"GETDATA"}, F::GetData, "", ""},
      {{"GETDATA()"}, F::GetData, "", ""},
      {{"GETDATA(x"}, F::GetData, "", ""},  // no ")": still the function, no parameter
      {{"getdata(page 2)"}, F::GetData, "page 2", ""},
      {{"CONFIG|LOAD(/tmp/a.zlm)"}, F::ConfigLoad, "/tmp/a.zlm", ""},
      {{"Config|Save"}, F::ConfigSave, "", ""},
      {{"FOCUS(a)b)"}, F::Focus, "a", ""},      // the first ")" ends it
      {{"FOCUS((a))"}, F::Focus, "(a", ""},     // the first "(" opens it
      {{"ABC(1)"}, F::Aucune, "", inconnue + "ABC(1)"},
      {{"FOCUS)(x)"}, F::Aucune, "", inconnue + "FOCUS)(x)"},  // ")" first: the name is up to "("
      {{"FOCU"}, F::Aucune, "", inconnue + "FOCU"},
      {{"FOCUSS"}, F::Aucune, "", inconnue + "FOCUSS"},
      {{"FOCUS "}, F::Aucune, "", inconnue + "FOCUS "},
      {{"CONFIG"}, F::Aucune, "", inconnue + "CONFIG"},
      {{"(FOCUS)"}, F::Aucune, "", inconnue + "(FOCUS)"},
      {{"FOCUS\r\n"}, F::Focus, "", ""},         // the terminator is not a second line
      {{"FOCUS\r", ""}, F::Focus, "", ""},
      {{"FOCUS\n", "\r\n"}, F::Focus, "", ""},
      {{"FOCUS", "FOCUS"}, F::Aucune, "", unMessage},
      {{"FOCUS", "", "FOCUS"}, F::Aucune, "", unMessage},
      {{}, F::Aucune, "", unMessage},
      {{"\r\n"}, F::Aucune, "", unMessage},
      {{"FOCUS", Repete("A", 300)}, F::Aucune, "", unMessage},  // counted before the length
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(testing::Message() << (c.lignes.empty() ? "<none>" : c.lignes[0]) << " / "
                                    << c.lignes.size());
    const Macro m = LitMacro(c.lignes);
    EXPECT_EQ(m.fonction, c.fonction);
    EXPECT_EQ(m.parametre, c.parametre);
    EXPECT_EQ(m.erreur, c.erreur);
  }
}

TEST(LitMacro, UneLigneDePlusDe255CaracteresEstUneErreurDeSyntaxe) {
  const std::string syntaxe = "Syntaxe Macro DDE : Fonction(Paramètre)";
  const std::string parametre248 = Repete("x", 248);
  struct Cas {
    std::string ligne;
    F fonction;
  } cas[] = {
      {"FOCUS(" + parametre248 + ")", F::Focus},          // 255 characters
      {"FOCUS(" + parametre248 + "x)", F::Aucune},        // 256
      {"FOCUS(" + parametre248 + ")\r\n", F::Focus},      // the terminator does not count
      {"FOCUS(" + Repete("é", 248) + ")", F::Focus},      // characters, not bytes
      {"FOCUS(" + Repete("é", 249) + ")", F::Aucune},
      {Repete("A", 255), F::Aucune},                     // unknown, with the whole line
      {Repete("A", 256), F::Aucune},
  };
  for (const auto &[ligne, fonction] : cas) {
    SCOPED_TRACE(ligne.size());
    const Macro m = LitMacro({ligne});
    EXPECT_EQ(m.fonction, fonction);
    if (fonction == F::Focus) {
      EXPECT_EQ(m.parametre.size(), ligne.find(')') - 6);
    }
  }
  EXPECT_EQ(LitMacro({Repete("A", 255)}).erreur, "Fonction inconnue : " + Repete("A", 255));
  EXPECT_EQ(LitMacro({Repete("A", 256)}).erreur, syntaxe);
  EXPECT_EQ(LitMacro({"FOCUS(" + Repete("é", 249) + ")"}).erreur, syntaxe);
}

TEST(ExtraitRequete, DesLignesJusquALaLigneVide) {
  struct Cas {
    std::string tampon;
    EtatRequete trame;
    std::vector<std::string> lignes;
    std::string reste;
  } cas[] = {
      {"FOCUS\n\n", EtatRequete::Complete, {"FOCUS"}, ""},
      {"FOCUS\r\n\r\n", EtatRequete::Complete, {"FOCUS"}, ""},
      {"A\nB\r\n\nC\n", EtatRequete::Complete, {"A", "B"}, "C\n"},
      {"\n\r\n\nFOCUS\n\n", EtatRequete::Complete, {"FOCUS"}, ""},  // empty lines before: skipped
      {"FOCUS\n", EtatRequete::Incomplete, {}, "FOCUS\n"},
      {"FOCUS\n\r", EtatRequete::Incomplete, {}, "FOCUS\n\r"},
      {"FOCUS", EtatRequete::Incomplete, {}, "FOCUS"},
      {"\n\r\n", EtatRequete::Incomplete, {}, ""},
      {"", EtatRequete::Incomplete, {}, ""},
      // the bound (10 bytes here) counts the request with its closing empty line
      {"ABCDEFGH\n\n", EtatRequete::Complete, {"ABCDEFGH"}, ""},
      {"\n\nABCDEFGH\n\nZ", EtatRequete::Complete, {"ABCDEFGH"}, "Z"},
      {"ABCD\nEFG\n\n", EtatRequete::Complete, {"ABCD", "EFG"}, ""},
      {"ABCDEFGHI\n\n", EtatRequete::TropGrande, {}, "ABCDEFGHI\n\n"},
      {"ABCDEFGHI\n", EtatRequete::Incomplete, {}, "ABCDEFGHI\n"},
      {"ABCDEFGHIJ", EtatRequete::Incomplete, {}, "ABCDEFGHIJ"},
      {"ABCDEFGHIJK", EtatRequete::TropGrande, {}, "ABCDEFGHIJK"},
      {"A\nB\nC\nD\nE\nF\n", EtatRequete::TropGrande, {}, "A\nB\nC\nD\nE\nF\n"},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.tampon);
    std::string tampon = c.tampon;
    std::vector<std::string> lignes;
    EXPECT_EQ(ExtraitRequete(tampon, lignes, 10), c.trame);
    EXPECT_EQ(lignes, c.lignes);
    EXPECT_EQ(tampon, c.reste);
  }
}
