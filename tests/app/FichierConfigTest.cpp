#include "FichierConfig.h"

#include <gtest/gtest.h>

#include <functional>

#include "FichierIni.h"
#include "ZelmUtil.h"

namespace {

FichierIni Texte(const std::string &contenu) {
  FichierIni f("");
  f.Charge(contenu);
  return f;
}

// What a file gives, written again: two values are the same when they write the same.
std::string Ecrit(const ReglagesFichier &r) {
  FichierIni f("");
  EcritReglages(f, r);
  return f.Contenu();
}

ReglagesFichier Remarquables() {
  ReglagesFichier r;
  r.dimPoint = 4;
  r.nbHarmoniques = 512;
  r.axeYOscillo = false;
  r.analLog = true;
  r.axeYMesure = false;
  r.frequenceMaxi = 2500.5;
  for (int i = 0; i < 5; ++i) r.mesures[size_t(i)] = {i % 2 == 0, i + 2, 2, 1 + i % 2, 0x123456u + uint32_t(i), i % 4};
  r.mesures[0].grandeur = 0;
  r.couplage = {1, 0, 2};
  r.mode = 1, r.synchro = 2, r.sens = 1, r.seuil = 200, r.monocoup = true, r.duree = 17;
  r.calibre = {5, 0, 8};
  for (int v : {1, 2})
    for (int k = 0; k < 9; ++k)
      for (int c : {0, 1}) r.correction[size_t(v)][size_t(k)][size_t(c)] = (v * 7 + k * 3 + c * 5) % 21 - 10;
  r.frequenceMini = 150;
  r.pointsBalayage = 64, r.delaiBalayage = 250;
  r.logarithmique = true, r.gammesAuto = true;
  r.amplitude = {0, 7.5, 3};
  r.fenetre = 2;
  return r;
}

}  // namespace

TEST(FichierConfig, ToutCeQuiEstEcritSeRelit) {
  FixeSeparateurDecimal(',');  // as in a French session: the file says "2500,5"
  const ReglagesFichier r = Remarquables();
  FichierIni f = Texte("; à la main\n[Etrangere]\ncle=1\n[Oscillo]\nAutre=x\n");
  EcritReglages(f, r);
  const std::string contenu = f.Contenu();
  const ReglagesFichier lu = LitReglages(f, ReglagesFichier{});
  EXPECT_EQ(Ecrit(lu), Ecrit(r));
  EXPECT_TRUE(lu.amplitudeLue[1] && lu.amplitudeLue[2]);
  // the sections in the order first written, after those already there; foreign lines kept
  EXPECT_EQ(contenu.find("; à la main\n[Etrangere]\ncle=1\n[Oscillo]\nAutre=x\nAxeY=0\nAnalLog=1\n"), 0u);
  EXPECT_NE(contenu.find("Maxi=2500,5\n"), std::string::npos);
  std::size_t avant = 0;
  for (const char *s : {"[Graphe]\nDimPoint=4", "[Fourier]", "[Mesure]", "[Frequence]", "[Mesure0]",
                        "[Mesure4]", "[Voie2]\nCouplage=2", "[Voie1]", "[Affichage]", "[Synchro]\nMode=2\nSens=1\nSeuil=200\nMonocoup=1",
                        "[Temps]", "[Reprise]"}) {
    const std::size_t ici = contenu.find(s);
    EXPECT_NE(ici, std::string::npos) << s;
    EXPECT_GT(ici, avant) << s;
    avant = ici;
  }
  EXPECT_NE(contenu.find("Couplage=2\nCalibre=8\n"), std::string::npos);  // Voie2's keys together
  FixeSeparateurDecimal('.');
}

TEST(FichierConfig, UnFichierVideOuAbsurdeDonneLesDefauts) {
  const ReglagesFichier defauts;
  EXPECT_EQ(Ecrit(LitReglages(Texte(""), defauts)), Ecrit(defauts));
  std::string absurde;
  for (const char *s : {"Graphe", "Fourier", "Oscillo", "Mesure", "Frequence", "Mesure1", "Mesure2",
                        "Mesure3", "Mesure4", "Voie1", "Voie2", "Affichage", "Synchro", "Temps", "Reprise"}) {
    absurde += std::string("[") + s + "]\n";
    for (const char *k : {"DimPoint", "Nombre", "AxeY", "AnalLog", "Maxi", "active", "mesure",
                          "Couplage", "Calibre", "Mode", "Sens", "Seuil", "Monocoup", "Duree",
                          "Z312", "FreqMini", "Points", "Attente", "AmplitudeGBF", "Fenetre",
                          "Voie1", "Reference1", "Couleur1", "Motif1"})
      absurde += std::string(k) + "=n'importe quoi\n";
  }
  const ReglagesFichier lu = LitReglages(Texte(absurde), defauts);
  EXPECT_EQ(Ecrit(lu), Ecrit(defauts));
  EXPECT_FALSE(lu.amplitudeLue[1]);
}

// Each value the program would not write takes the default; the time base, the
// calibres and the level are limited to their tables.
TEST(FichierConfig, ChaqueValeurVerifiee) {
  const ReglagesFichier d;
  struct Cas {
    const char *fichier;
    std::function<double(const ReglagesFichier &)> valeur;
    double attendu;
  } cas[] = {
      {"[Affichage]\nMode=1", [](auto &r) { return r.mode; }, 1},
      {"[Affichage]\nMode=3", [](auto &r) { return r.mode; }, 3},  // the window makes it 2
      {"[Affichage]\nMode=4", [](auto &r) { return r.mode; }, 0},
      {"[Fourier]\nNombre=8", [](auto &r) { return r.nbHarmoniques; }, 8},
      {"[Fourier]\nNombre=7", [](auto &r) { return r.nbHarmoniques; }, 4096},
      {"[Fourier]\nNombre=4097", [](auto &r) { return r.nbHarmoniques; }, 4096},
      {"[Mesure2]\nmesure=8", [](auto &r) { return r.mesures[2].grandeur; }, 8},
      {"[Mesure2]\nmesure=9", [](auto &r) { return r.mesures[2].grandeur; }, 1},
      {"[Mesure2]\nmesure=0", [](auto &r) { return r.mesures[2].grandeur; }, 1},
      {"[Mesure0]\nmesure=5", [](auto &r) { return r.mesures[0].grandeur; }, double(d.mesures[0].grandeur)},
      {"[Synchro]\nMode=3", [](auto &r) { return r.synchro; }, 3},
      {"[Synchro]\nMode=4", [](auto &r) { return r.synchro; }, 0},
      {"[Synchro]\nSens=2", [](auto &r) { return r.sens; }, 0},
      {"[Voie1]\nCouplage=3", [](auto &r) { return r.couplage[1]; }, 1},
      {"[Voie1]\nCouplage=-1", [](auto &r) { return r.couplage[1]; }, 1},
      {"[Voie2]\nCouplage=0", [](auto &r) { return r.couplage[2]; }, 0},
      {"[Temps]\nDuree=40", [](auto &r) { return r.duree; }, 17},
      {"[Temps]\nDuree=-3", [](auto &r) { return r.duree; }, 0},
      {"[Voie2]\nCalibre=9", [](auto &r) { return r.calibre[2]; }, 8},
      {"[Voie1]\nCalibre=-70000", [](auto &r) { return r.calibre[1]; }, 0},
      {"[Synchro]\nSeuil=300", [](auto &r) { return r.seuil; }, 255},
      {"[Synchro]\nSeuil=-1", [](auto &r) { return r.seuil; }, 0},
      {"[Frequence]\nMaxi=2500,5", [](auto &r) { return r.frequenceMaxi; }, 2500.5},
      {"[Frequence]\nMaxi=2500.5", [](auto &r) { return r.frequenceMaxi; }, 2500.5},
      {"[Frequence]\nMaxi=9", [](auto &r) { return r.frequenceMaxi; }, 10000},
      {"[Frequence]\nMaxi=100001", [](auto &r) { return r.frequenceMaxi; }, 10000},
      {"[Frequence]\nMaxi=inf", [](auto &r) { return r.frequenceMaxi; }, 10000},
      {"[Frequence]\nMaxi=1e3x", [](auto &r) { return r.frequenceMaxi; }, 10000},
      {"[Oscillo]\nZ312=-10", [](auto &r) { return r.correction[2][3][1]; }, -10},
      {"[Oscillo]\nZ312=11", [](auto &r) { return r.correction[2][3][1]; }, 0},
      {"[Graphe]\nDimPoint=5", [](auto &r) { return r.dimPoint; }, 5},
      {"[Graphe]\nDimPoint=6", [](auto &r) { return r.dimPoint; }, 2},
      {"[Affichage]\nDimPoint=5", [](auto &r) { return r.dimPoint; }, 2},  // one section only
      {"[Reprise]\nAmplitudeGBF=10", [](auto &r) { return r.amplitude[1]; }, 10},
      {"[Reprise]\nAmplitudeGTBF=4.5", [](auto &r) { return r.amplitude[2]; }, 1},
      {"[Reprise]\nFreqMini=20000", [](auto &r) { return r.frequenceMini; }, 100},  // above Maxi
      {"[Reprise]\nFenetre=3", [](auto &r) { return r.fenetre; }, 0},
      {"[Reprise]\nVoie3=3", [](auto &r) { return r.mesures[3].voieMesure; }, 1},
      {"[Reprise]\nMotif2=3", [](auto &r) { return r.mesures[2].motif; }, 3},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.fichier);
    EXPECT_EQ(c.valeur(LitReglages(Texte(c.fichier), d)), c.attendu);
  }
}
