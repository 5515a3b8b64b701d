// The oscilloscope unplugged while the window acquires, then plugged in again.
#include <gtest/gtest.h>

#include <QStatusBar>
#include <QToolButton>

#include "FenetreBanc.h"
#include "Texte8.h"

namespace {

class Reconnexion : public FenetreBanc {};

}  // namespace

TEST_F(Reconnexion, DebrancheEnAcquisitionUnMessagePuisConnexionReprendAvecLesMemesReglages) {
  TOscillo::TableCorrection correction{};
  correction[1][5][1] = -2;
  f->Appareil().Travail().SetCorrection(correction);
  auto *duree = C<UpDown>("DureeUpDown");
  duree->Pas(+1);
  duree->Pas(+1);  // 50 µs: 2400 points
  f->FormActivate();
  ASSERT_TRUE(Trames());
  auto *connexion = C<QToolButton>("ConnectBtn");
  EXPECT_FALSE(connexion->isEnabled());

  Virtuel().Debranche(true);
  ASSERT_TRUE(Attend([&] { return !f->EstConnecte(); }));
  Calme();
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo débranché"});
  EXPECT_TRUE(connexion->isEnabled());
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  EXPECT_TRUE(C<QStatusBar>("Header")->currentMessage().startsWith("Oscillo débranché : "))
      << C<QStatusBar>("Header")->currentMessage().toStdString();
  f->FormActivate();  // an activation while unplugged does not end the program
  EXPECT_EQ(termine, 0);

  Virtuel().Debranche(false);
  f->ConnectBtnClick();
  ASSERT_TRUE(Attend([&] { return f->EstConnecte(); }));
  EXPECT_FALSE(connexion->isEnabled());
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  ASSERT_TRUE(Trames(2));
  EXPECT_EQ(f->GrapheTemps().NbPoints, 2400);
  EXPECT_EQ(f->Reglages().Duree(), 2);
  EXPECT_EQ(boites.Textes(), QStringList{"Oscillo débranché"});  // said once
  std::promise<TOscillo::TableCorrection> table;
  f->Appareil().Travail().Execute([&](TOscillo *o) { table.set_value(o->Correction()); });
  EXPECT_EQ(table.get_future().get(), correction);
}
