#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <atomic>

#include "FichierIni.h"
#include "ZelmUtil.h"

namespace fs = std::filesystem;

namespace {

class FichierIniTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string modele = (fs::temp_directory_path() / "zelm-ini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modele.data()), nullptr);
    dossier_ = modele;
    FixeSeparateurDecimal('.');
  }
  void TearDown() override {
    fs::remove_all(dossier_);
    FixeSeparateurDecimal('.');
  }
  std::string Chemin(const std::string &nom = "zelm.zlm") const { return (dossier_ / nom).string(); }
  void Ecrit(const std::string &texte) const { std::ofstream(Chemin(), std::ios::binary) << texte; }
  std::string Relit() const {
    std::ifstream f(Chemin(), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }

  static void Ecrit2(const std::string &chemin, const std::string &texte) {
    std::ofstream(chemin, std::ios::binary) << texte;
  }
  // Temporary files left beside the settings file.
  int Restes() const {
    int n = 0;
    for (const auto &e : fs::directory_iterator(dossier_))
      n += e.path().filename().string().rfind("zelm.zlm.", 0) == 0;
    return n;
  }

  fs::path dossier_;
};

const char *const Etranger =
    "; written by hand\n"
    "[Affichage]\n"
    "Mode=1\n"
    "Inconnue=abc\n"
    "\n"
    "[Etrange]\n"
    " x = y \n"
    "[OSCILLO]\n"
    "AxeY=0\n"
    "\n";

}  // namespace

TEST_F(FichierIniTest, GardeCeQuIlNeConnaitPasEtAjouteALaFin) {
  FichierIni ini(Chemin());
  ini.Charge(Etranger);
  ini.EcritEntier("affichage", "MODE", 2);          // in place, the key keeps its spelling
  ini.EcritBooleen("Oscillo", "AnalLog", true);     // after the section's last key
  ini.EcritEntier("Graphe", "DimPoint", 3);         // new sections at the end, in order
  ini.EcritTexte("Constante", "Nom", "U");
  ini.EcritEntier("Graphe", "Autre", -4);
  EXPECT_EQ(ini.Contenu(),
            "; written by hand\n"
            "[Affichage]\n"
            "Mode=2\n"
            "Inconnue=abc\n"
            "\n"
            "[Etrange]\n"
            " x = y \n"
            "[OSCILLO]\n"
            "AxeY=0\n"
            "AnalLog=1\n"
            "\n"
            "[Graphe]\n"
            "DimPoint=3\n"
            "Autre=-4\n"
            "\n"
            "[Constante]\n"
            "Nom=U\n");
  EXPECT_EQ(ini.LitTexte("ETRANGE", "X", ""), "y");
}

TEST_F(FichierIniTest, ValeursLuesOuDefautDeLAppelant) {
  FichierIni ini(Chemin());
  ini.Charge(
      "[S]\nn=42\nm=-7\np=+5\nvide=\nmot=abc\ngros=2147483648\nmini=-2147483648\n"
      "reel=1e3x\nb0=0\nb1=1\nb5=5\nbm=-1\nf=12.5\nfv=12,5\nblanc= 8 \nhex=0x10\n");
  struct Cas { const char *cle; int32_t attendu; } entiers[] = {
      {"n", 42}, {"m", -7}, {"p", 5}, {"vide", 99}, {"mot", 99}, {"gros", 99},
      {"mini", INT32_MIN}, {"reel", 99}, {"absente", 99}, {"blanc", 8}, {"hex", 99},
      {"f", 99},
  };
  for (auto [cle, attendu] : entiers) {
    SCOPED_TRACE(cle);
    EXPECT_EQ(ini.LitEntier("s", cle, 99), attendu);
  }
  EXPECT_FALSE(ini.LitBooleen("S", "b0", true));
  EXPECT_TRUE(ini.LitBooleen("S", "b1", false));
  EXPECT_TRUE(ini.LitBooleen("S", "b5", false));  // any nonzero integer
  EXPECT_TRUE(ini.LitBooleen("S", "bm", false));
  EXPECT_TRUE(ini.LitBooleen("S", "mot", true));  // does not read: the default
  EXPECT_FALSE(ini.LitBooleen("S", "mot", false));
  EXPECT_FALSE(ini.LitBooleen("Absente", "b1", false));
  EXPECT_EQ(ini.LitTexte("S", "mot", "d"), "abc");
  EXPECT_EQ(ini.LitTexte("S", "vide", "d"), "");
  EXPECT_EQ(ini.LitTexte("S", "x", "d"), "d");
  EXPECT_DOUBLE_EQ(ini.LitReel("S", "f", 1), 12.5);
  EXPECT_DOUBLE_EQ(ini.LitReel("S", "fv", 1), 1);  // ',' is not the separator here
  EXPECT_DOUBLE_EQ(ini.LitReel("S", "mot", 1), 1);
  FixeSeparateurDecimal(',');
  EXPECT_DOUBLE_EQ(ini.LitReel("S", "fv", 1), 12.5);
  EXPECT_DOUBLE_EQ(ini.LitReel("S", "f", 1), 12.5);
}

TEST_F(FichierIniTest, ReelsAvecLeSeparateurDuSysteme) {
  FixeSeparateurDecimal(',');
  FichierIni ini(Chemin());
  ini.EcritReel("Frequence", "Maxi", 10000);
  ini.EcritReel("Frequence", "Pas", 0.1);
  ini.EcritReel("Frequence", "Tiers", 1.0 / 3);
  EXPECT_EQ(ini.LitTexte("Frequence", "Maxi", ""), "10000");
  EXPECT_EQ(ini.LitTexte("Frequence", "Pas", ""), "0,1");
  EXPECT_EQ(ini.LitTexte("Frequence", "Tiers", ""), "0,333333333333333");
  EXPECT_DOUBLE_EQ(ini.LitReel("Frequence", "Pas", 0), 0.1);
}

TEST_F(FichierIniTest, AllerRetourParLeDisqueAvecDesOctetsEtDesFinsCRLF) {
  Ecrit("[Constante]\r\nUnit\xE9=\xB5V\r\n[Autre]\r\ncle=valeur\r\n");
  fs::permissions(Chemin(), fs::perms::owner_read | fs::perms::owner_write);
  {
    FichierIni ini(Chemin());
    ASSERT_TRUE(ini.Lu());
    EXPECT_EQ(ini.LitTexte("constante", "UNIT\xE9", ""), "\xB5V");  // bytes match as bytes
    ini.EcritTexte("Constante", "Comm", "deux\nlignes");
    ASSERT_TRUE(ini.Enregistre());
  }
  EXPECT_EQ(Relit(),
            "[Constante]\r\nUnit\xE9=\xB5V\r\nComm=deux lignes\r\n[Autre]\r\ncle=valeur\r\n");
  EXPECT_EQ(Restes(), 0);
  EXPECT_EQ(fs::status(Chemin()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  FichierIni relu(Chemin());
  EXPECT_EQ(relu.LitTexte("Constante", "Comm", ""), "deux lignes");
}

// Failures that hold even for root: the file cannot replace what stands at its name,
// or its folder is not a folder. Nothing is left behind, nothing is changed.
TEST_F(FichierIniTest, UnEchecDEcritureNeLaisseRienEtNeChangeRien) {
  fs::create_directory(Chemin());
  Ecrit2(Chemin() + "/garde", "x");
  FichierIni ini(Chemin());
  ini.EcritEntier("Affichage", "Mode", 2);
  EXPECT_FALSE(ini.Enregistre());
  EXPECT_TRUE(fs::is_directory(Chemin()));
  EXPECT_TRUE(fs::exists(Chemin() + "/garde"));
  EXPECT_EQ(Restes(), 0);

  Ecrit2(Chemin("fichier"), "pas un dossier");
  FichierIni ailleurs(Chemin("fichier/zelm.zlm"));
  EXPECT_FALSE(ailleurs.Lu());
  ailleurs.EcritEntier("A", "b", 1);
  EXPECT_FALSE(ailleurs.Enregistre());
}

// Two copies of the program closing at once each write the whole file.
TEST_F(FichierIniTest, DeuxEcrivainsALaFoisReussissentTousLesDeux) {
  std::atomic<int> echecs{0};
  const auto ecrit = [&](int k) {
    for (int i = 0; i < 100; ++i) {
      FichierIni ini(Chemin());
      ini.EcritEntier("S", "k", k);
      if (!ini.Enregistre()) ++echecs;
    }
  };
  std::thread a(ecrit, 1), b(ecrit, 2);
  a.join();
  b.join();
  EXPECT_EQ(echecs.load(), 0);
  EXPECT_EQ(Restes(), 0);
  const int32_t lu = FichierIni(Chemin()).LitEntier("S", "k", 0);
  EXPECT_TRUE(lu == 1 || lu == 2) << lu;
  const mode_t masque = ::umask(0);
  ::umask(masque);
  EXPECT_EQ(int(fs::status(Chemin()).permissions()), int(0666 & ~masque));  // as a file simply created
}

TEST_F(FichierIniTest, FichierAbsentOuIlliblePrendLesDefauts) {
  FichierIni absent(Chemin());
  EXPECT_FALSE(absent.Lu());
  EXPECT_EQ(absent.LitEntier("Fourier", "Nombre", 4096), 4096);
  EXPECT_EQ(absent.Contenu(), "");

  fs::create_directory(Chemin("dossier"));
  FichierIni dossier(Chemin("dossier"));
  EXPECT_FALSE(dossier.Lu());
  EXPECT_TRUE(dossier.LitBooleen("Oscillo", "AxeY", true));

  absent.EcritEntier("Fourier", "Nombre", 2048);  // a first closing creates it
  ASSERT_TRUE(absent.Enregistre());
  EXPECT_EQ(Relit(), "[Fourier]\nNombre=2048\n");
}

TEST_F(FichierIniTest, SectionsEtClesEnDoubleOuSansFinDeLigne) {
  FichierIni ini(Chemin());
  ini.Charge("[A]\nk=1\n[a]\nk=2\nj=3\n[B]\nk=4");
  EXPECT_EQ(ini.LitEntier("A", "k", 0), 1);  // the first section of that name answers
  EXPECT_EQ(ini.LitEntier("A", "j", 0), 0);
  EXPECT_EQ(ini.LitEntier("B", "k", 0), 4);  // a last line without its end
  EXPECT_TRUE(ini.SectionExiste("b"));
  EXPECT_FALSE(ini.CleExiste("B", "j"));
  ini.EcritEntier("A", "k", 5);
  EXPECT_EQ(ini.Contenu(), "[A]\nk=5\n[a]\nk=2\nj=3\n[B]\nk=4\n");
}

// Line breaks at a value's ends become blanks before the trim: what is in memory is
// what the file gives back (found by fuzzing: "a\n" read "a " then "a").
TEST_F(FichierIniTest, UneValeurSeRelitCommeEnMemoire) {
  for (const char *valeur : {"a\n", "\r\nb", " c \r\n", "\n", "d\ne"}) {
    SCOPED_TRACE(valeur);
    FichierIni ini(Chemin());
    ini.EcritTexte("S", "k", valeur);
    const std::string enMemoire = ini.LitTexte("S", "k", "?");
    ASSERT_TRUE(ini.Enregistre());
    EXPECT_EQ(FichierIni(Chemin()).LitTexte("S", "k", "?"), enMemoire);
  }
}

// Every CR before a line's LF ends the line, so that the text written out reads the same
// (found by fuzzing: "k=1\r\r" in a LF file read "1\r", written out "k=1\r\n", read "1").
TEST_F(FichierIniTest, LesCRAvantLaFinDeLigneEnSontTous) {
  struct Cas { const char *texte, *valeur, *contenu; } cas[] = {
      {"[S]\nk=1\r\r\n", "1", "[S]\nk=1\n"},
      {"[S]\r\nk=2\r\r\r\n", "2", "[S]\r\nk=2\r\n"},
      {"[S]\nk=3\r\r", "3", "[S]\nk=3\n"},
      {"[S]\nk=a\rb\r\n", "a\rb", "[S]\nk=a\rb\n"},  // not at the end: a byte of the value
      {"[S]\n\r\r\nk=4\n", "4", "[S]\n\nk=4\n"},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.texte);
    FichierIni ini(Chemin());
    ini.Charge(c.texte);
    EXPECT_EQ(ini.LitTexte("S", "k", "?"), c.valeur);
    EXPECT_EQ(ini.Contenu(), c.contenu);
    FichierIni relu(Chemin());
    relu.Charge(ini.Contenu());
    EXPECT_EQ(relu.LitTexte("S", "k", "?"), c.valeur);
    EXPECT_EQ(relu.Elements().size(), ini.Elements().size());
    EXPECT_EQ(relu.Elements()[1].sorte, ini.Elements()[1].sorte);
  }
}
