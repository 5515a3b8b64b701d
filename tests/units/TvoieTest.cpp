#include <gtest/gtest.h>

#include "Erreurs.h"
#include "Tvoie.h"

TEST(Tvoie, UneSerieNeuveEstVideEtPrendLaCouleurDeSonIndex) {
  const uint32_t attendues[] = {0x000000, 0xFF0000, 0x0000FF, 0x008000, 0x000000};
  for (int i = 0; i <= 4; ++i) {
    SCOPED_TRACE(i);
    Tvoie v(i);
    EXPECT_EQ(v.Couleur, attendues[i]);
    EXPECT_EQ(v.Mini, -5);
    EXPECT_EQ(v.Maxi, 5);
    EXPECT_TRUE(v.Libelle.empty());
    EXPECT_FALSE(v.Active);
    EXPECT_EQ(v.Motif, 0);
    EXPECT_TRUE(v.Correcte);
    EXPECT_EQ(v.Valeurs.size(), 8193u);
    for (double x : v.Valeurs) ASSERT_EQ(x, 0.0);
  }
  EXPECT_THROW(Tvoie(5), ERangeError);
  EXPECT_THROW(Tvoie(-1), ERangeError);
}
