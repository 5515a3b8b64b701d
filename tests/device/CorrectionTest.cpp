#include <cstdlib>
#include <cstring>
#include <string>
#include <memory>

#include "FichierIni.h"
#include "AvecOscillo.h"
#include "TOscillo.h"

namespace {

using Correction = AvecOscillo;
constexpr int CorrectionMax = TOscillo::CorrectionMax;

}  // namespace

TEST_F(Correction, TrouveLOpposeDesErreursDuBancEtRestaureLesReglages) {
  o->SetCalibre(1, 2);
  o->SetCalibre(2, 6);
  o->SetCouplage(1, CouplageAC);
  o->SetZero(2, 100);
  o->SetDuree(9);
  o->SetSynchro(2);
  int appels = 0;
  o->Interrompu = [&] { return ++appels, false; };
  ASSERT_TRUE(o->CorrigeDecalage());
  EXPECT_GT(appels, 6 * 100);  // between the bursts of six steps
  for (int voie : {1, 2})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int colonne : {0, 1}) {
        SCOPED_TRACE(testing::Message() << voie << "/" << calibre << "/" << colonne);
        EXPECT_NEAR(o->Correction()[voie][calibre][colonne],
                    -OscilloVirtuel::ErreurDecalage(voie, calibre, colonne), 1);
      }
  EXPECT_EQ(o->GetCalibre(1), 2);
  EXPECT_EQ(o->GetCalibre(2), 6);
  EXPECT_EQ(o->GetCouplage(1), CouplageAC);
  EXPECT_EQ(o->GetZero(2), 100);
  EXPECT_EQ(o->Duree(), 9);
  EXPECT_EQ(o->Synchro(), 2);
  // the last record sent is channel 2 with its corrected offset
  EXPECT_EQ(o->Commande().Octets[2], 100 + o->Correction()[2][6][0]);
}

TEST_F(Correction, UneMoyenneAPlusDeDixCodesNeCorrigeRien) {
  Virtuel().DeriveDecalage(1, 13);
  ASSERT_TRUE(o->CorrigeDecalage());
  for (int calibre = 0; calibre < 9; ++calibre) {
    // 13 plus the stage's error: 16, 9 and 15 codes off on the three stages
    const int mesure = 13 + OscilloVirtuel::ErreurDecalage(1, calibre, 0);
    if (mesure > 11) {
      EXPECT_EQ(o->Correction()[1][calibre][0], 0) << calibre;
    } else {
      EXPECT_NEAR(o->Correction()[1][calibre][0], -mesure, 1) << calibre;
    }
    EXPECT_NEAR(o->Correction()[2][calibre][0], -OscilloVirtuel::ErreurDecalage(2, calibre, 0), 1);
  }
}

// An offset of exactly the limit is corrected, one code past it is not, on every stage
// and column; the noise moves a frame's mean by hundredths of a code either way.
TEST_F(Correction, ALaLimiteEtUnCodeAuDela) {
  struct Cas { int decalage, correction; } cas[] = {
      {CorrectionMax, -CorrectionMax}, {-CorrectionMax, CorrectionMax},
      {CorrectionMax + 1, 0}, {-CorrectionMax - 1, 0}, {0, 0}};
  for (auto [decalage, correction] : cas)
    for (int calibre : {1, 4, 7})
      for (int colonne : {0, 1})
        for (uint64_t graine : {1u, 2u, 3u}) {
          SCOPED_TRACE(testing::Message() << decalage << " codes, calibre " << calibre
                                          << ", column " << colonne << ", seed " << graine);
          Virtuel().Reensemence(graine);
          Virtuel().DeriveDecalage(1, decalage - OscilloVirtuel::ErreurDecalage(1, calibre, colonne));
          ASSERT_TRUE(o->CorrigeDecalage());
          EXPECT_EQ(o->Correction()[1][calibre][colonne], correction);
        }
}

// A correction that fails leaves the table the user had: none of its steps is
// trusted, whether the device went or the run was cut short.
TEST_F(Correction, UnEchecOuUneInterruptionGardeLaTablePrecedente) {
  TOscillo::TableCorrection sept;
  for (auto &voie : sept)
    for (auto &calibre : voie) calibre = {7, 7};
  struct Cas { const char *nom; bool debranche; } cas[] = {{"débranché", true}, {"interrompu", false}};
  for (auto [nom, debranche] : cas) {
    SCOPED_TRACE(nom);
    Virtuel().Debranche(false);
    o->SetCorrection(sept);
    o->SetDuree(9);
    // during the second measurement (fast time base), after its first burst
    o->Interrompu = [&, debranche = debranche] {
      if (o->Duree() != 0) return false;
      if (debranche) Virtuel().Debranche(true);
      return !debranche;
    };
    EXPECT_FALSE(o->CorrigeDecalage());
    EXPECT_EQ(o->Correction(), sept);
    EXPECT_EQ(o->Duree(), 9);
  }
}

TEST_F(Correction, LaTableVaEtVientDansLeFichierDeReglages) {
  auto valeur = [](int voie, int calibre, int colonne) {
    return (voie * 7 + calibre * 3 + colonne * 5) % 21 - 10;  // all of −10..10
  };
  TOscillo::TableCorrection t{};
  for (int voie : {1, 2})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int colonne : {0, 1}) t[voie][calibre][colonne] = valeur(voie, calibre, colonne);
  o->SetCorrection(t);
  FichierIni fichier("");
  fichier.Charge("[Oscillo]\nAutre=1\n");
  o->EcritCorrection(fichier);
  const std::string contenu = fichier.Contenu();
  EXPECT_NE(contenu.find("Z312=" + std::to_string(valeur(2, 3, 1)) + "\n"), std::string::npos);
  EXPECT_LT(contenu.find("Z001="), contenu.find("Z002="));
  EXPECT_LT(contenu.find("Z002="), contenu.find("Z101="));
  EXPECT_LT(contenu.find("Z802="), contenu.find("Z011="));  // column 0 first
  TOscillo lu;
  lu.LitCorrection(fichier);
  EXPECT_EQ(lu.Correction(), o->Correction());
  // values beyond what the correction can find were never written: they read 0
  fichier.EcritEntier("Oscillo", "Z312", 11);
  fichier.EcritEntier("Oscillo", "z412", -10);  // keys match whatever their case
  fichier.EcritTexte("Oscillo", "Z512", "x");
  lu.LitCorrection(fichier);
  EXPECT_EQ(lu.Correction()[2][3][1], 0);
  EXPECT_EQ(lu.Correction()[2][4][1], -10);
  EXPECT_EQ(lu.Correction()[2][5][1], 0);
  FichierIni vide("");
  lu.LitCorrection(vide);
  EXPECT_EQ(lu.Correction()[2][3][1], 0);
}
