#include <gtest/gtest.h>

#include <QLabel>
#include <QUrl>

#include "BoitesScriptees.h"
#include "ZelmAbout.h"

TEST(TZelmAboutBox, MontreLaVersionAChaqueAffichageEtDitQuandLaPageNeSOuvrePas) {
  int appels = 0;
  QString version = "QuiloSim 1.0";
  QUrl ouverte;
  bool reussit = false;
  TZelmAboutBox box([&] { ++appels; return version; }, nullptr,
                    [&](const QUrl &u) { ouverte = u; return reussit; });
  box.show();
  EXPECT_EQ(box.OscilloLabel->text(), "QuiloSim 1.0");
  box.hide();
  version = "";  // no oscilloscope any more
  box.show();
  EXPECT_EQ(box.OscilloLabel->text(), "");
  EXPECT_EQ(appels, 2);

  BoitesScriptees boites;
  DefinitBoites(&boites);
  box.BitBtn1Click();
  reussit = true;
  box.BitBtn1Click();
  DefinitBoites(nullptr);
  EXPECT_EQ(ouverte.toString(), TZelmAboutBox::PageMiseAJour);
  ASSERT_EQ(boites.vues.size(), 1u);
  EXPECT_EQ(boites.vues[0].texte,
            QString("Impossible d'accéder à ") + TZelmAboutBox::PageMiseAJour);
}
