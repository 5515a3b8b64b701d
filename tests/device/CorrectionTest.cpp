#include <cstdlib>
#include <cstring>
#include <string>
#include <memory>

#include "FichierIni.h"
#include "SurLeBanc.h"
#include "TOscillo.h"

namespace {

class Correction : public SurLeBanc {
 protected:
  void SetUp() override {
    SurLeBanc::SetUp();
    o = std::make_unique<TOscillo>();
    ASSERT_TRUE(o->EstConnecte());
  }
  void TearDown() override {
    o.reset();
    SurLeBanc::TearDown();
  }
  std::unique_ptr<TOscillo> o;
};

}  // namespace

TEST_F(Correction, TrouveLOpposeDesErreursDuBancEtRestaureLesReglages) {
  o->SetCalibre(1, 2);
  o->SetCalibre(2, 6);
  o->SetCouplage(1, CouplageAC);
  o->SetZero(2, 100);
  o->SetDuree(9);
  o->SetSynchro(2);
  int appels = 0;
  o->TraiteMessages = [&] { ++appels; };
  ASSERT_TRUE(o->CorrigeDecalage());
  EXPECT_GT(appels, 6 * 100);  // between the bursts of six steps
  for (int voie : {1, 2})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int colonne : {0, 1}) {
        SCOPED_TRACE(testing::Message() << voie << "/" << calibre << "/" << colonne);
        EXPECT_NEAR(o->Correction[voie][calibre][colonne],
                    -OscilloVirtuel::ErreurDecalage(voie, calibre, colonne), 1);
      }
  EXPECT_EQ(o->GetCalibre(1), 2);
  EXPECT_EQ(o->GetCalibre(2), 6);
  EXPECT_EQ(o->Couplage[1], CouplageAC);
  EXPECT_EQ(o->Zero[2], 100);
  EXPECT_EQ(o->Duree, 9);
  EXPECT_EQ(o->Synchro, 2);
  // the last record sent is channel 2 with its corrected offset
  EXPECT_EQ(o->Commande.Octets[2], 100 + o->Correction[2][6][0]);
}

TEST_F(Correction, UneMoyenneAPlusDeDixCodesNeCorrigeRien) {
  Virtuel().DeriveDecalage(1, 13);
  ASSERT_TRUE(o->CorrigeDecalage());
  for (int calibre = 0; calibre < 9; ++calibre) {
    // 13 plus the stage's error: 16, 9 and 15 codes off on the three stages
    const int mesure = 13 + OscilloVirtuel::ErreurDecalage(1, calibre, 0);
    if (mesure > 11) {
      EXPECT_EQ(o->Correction[1][calibre][0], 0) << calibre;
    } else {
      EXPECT_NEAR(o->Correction[1][calibre][0], -mesure, 1) << calibre;
    }
    EXPECT_NEAR(o->Correction[2][calibre][0], -OscilloVirtuel::ErreurDecalage(2, calibre, 0), 1);
  }
}

TEST_F(Correction, UneEtapeSansEchantillonRemetSesEntrees) {
  for (auto &voie : o->Correction)
    for (auto &calibre : voie) calibre[0] = calibre[1] = 7;
  // the device goes during the second measurement (fast time base), after
  // the first burst of its first step
  o->TraiteMessages = [&] {
    if (o->Duree == 0) Virtuel().Debranche(true);
  };
  EXPECT_FALSE(o->CorrigeDecalage());
  for (int voie : {1, 2})
    for (int calibre = 0; calibre < 9; ++calibre) {
      SCOPED_TRACE(testing::Message() << voie << "/" << calibre);
      EXPECT_NEAR(o->Correction[voie][calibre][0], -OscilloVirtuel::ErreurDecalage(voie, calibre, 0), 1);
      if (calibre >= 6)  // the step that had its first burst
        EXPECT_NEAR(o->Correction[voie][calibre][1], -OscilloVirtuel::ErreurDecalage(voie, calibre, 1), 1);
      else
        EXPECT_EQ(o->Correction[voie][calibre][1], 7);
    }
}

TEST_F(Correction, LaTableVaEtVientDansLeFichierDeReglages) {
  auto valeur = [](int voie, int calibre, int colonne) {
    return (voie * 7 + calibre * 3 + colonne * 5) % 21 - 10;  // all of −10..10
  };
  for (int voie : {1, 2})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int colonne : {0, 1}) o->Correction[voie][calibre][colonne] = valeur(voie, calibre, colonne);
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
  EXPECT_EQ(std::memcmp(lu.Correction, o->Correction, sizeof lu.Correction), 0);
  // values out of what the correction can find are kept within ±10
  fichier.EcritEntier("Oscillo", "Z312", 25);
  fichier.EcritEntier("Oscillo", "z412", -40);  // keys match whatever their case
  lu.LitCorrection(fichier);
  EXPECT_EQ(lu.Correction[2][3][1], 10);
  EXPECT_EQ(lu.Correction[2][4][1], -10);
  FichierIni vide("");
  lu.LitCorrection(vide);
  EXPECT_EQ(lu.Correction[2][3][1], 0);
}
