#include <cstdlib>
#include <memory>

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
