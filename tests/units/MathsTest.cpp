#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "Erreurs.h"
#include "Maths.h"

TEST(PuissanceReel, ExposantsPositifsNegatifsEtNul) {
  struct Cas { double x; int n; double attendu; } cas[] = {
      {2, 10, 1024}, {2, 0, 1}, {0, 0, 1}, {-3, 3, -27}, {2, -2, 0.25},
      {10, -3, 1e-3}, {1.5, 1, 1.5}, {-1, INT_MIN, 1},  // INT_MIN has no positive twin
  };
  for (auto [x, n, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << x << "^" << n);
    EXPECT_DOUBLE_EQ(PuissanceReel(x, n), attendu);
  }
  EXPECT_DOUBLE_EQ(Puissance10(-6), 1e-6);
  EXPECT_EQ(Puissance10(400), HUGE_VAL);
}

TEST(Log10, SuitLeLogarithmeDecimal) {
  EXPECT_NEAR(Log10(1000), 3, 1e-15);
  EXPECT_NEAR(Log10(2e-7), std::log10(2e-7), 1e-14);
}

TEST(PlancherPlafond, ArrondissentVersLeBasEtLeHaut) {
  struct Cas { double x; int32_t plancher, plafond; } cas[] = {
      {-2.5, -3, -2}, {-2, -2, -2}, {2.1, 2, 3}, {0, 0, 0}, {-0.1, -1, 0},
      {2147483647.0, INT32_MAX, INT32_MAX}, {-2147483648.0, INT32_MIN, INT32_MIN},
  };
  for (auto [x, plancher, plafond] : cas) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Plancher(x), plancher);
    EXPECT_EQ(Plafond(x), plafond);
  }
}

TEST(PlancherPlafond, HorsDesTrenteDeuxBitsSontDesErreursDIntervalle) {
  EXPECT_THROW(Plancher(-2147483648.5), ERangeError);  // floor gives -2^31 - 1
  EXPECT_EQ(Plafond(-2147483648.5), INT32_MIN);
  EXPECT_THROW(Plafond(2147483647.5), ERangeError);
  EXPECT_EQ(Plancher(2147483647.5), INT32_MAX);
  EXPECT_THROW(Plancher(1e300), ERangeError);
  EXPECT_THROW(Plafond(NAN), ERangeError);
  EXPECT_THROW(Plancher(-INFINITY), ERangeError);
}

TEST(Angle, DansLesQuatreQuadrantsEtSurLesAxes) {
  struct Cas { double x, y, attendu; } cas[] = {
      {1, 0, 0},      {1, 1, 45},       {-1, 1, 135},   {-1, -1, -135},
      {1, -1, -45},   {-1, 0, 180},     {0, 5, 90},     {0, -5, -90},
      {-1, -0.0001, -179.9942704220678}, {-1, -0.0, 180},
  };
  for (auto [x, y, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ")");
    EXPECT_NEAR(Angle(x, y), attendu, 1e-9);
  }
}

TEST(Angle, LOrigineNAPasDeDirection) {
  EXPECT_THROW(Angle(0, 0), EInvalidOp);
  EXPECT_THROW(Angle(-0.0, 0), EInvalidOp);
}

TEST(PuissanceEntiere, MultiplieEtSignaleLeDebordement) {
  struct Cas { int32_t i, n, attendu; } cas[] = {
      {2, 10, 1024}, {3, 0, 1}, {5, -4, 1}, {-2, 31, INT32_MIN}, {2, 30, 1 << 30},
      {1, INT32_MAX, 1}, {-1, INT32_MAX, -1}, {0, 7, 0},
  };
  for (auto [i, n, attendu] : cas) {
    SCOPED_TRACE(testing::Message() << i << "^" << n);
    EXPECT_EQ(PuissanceEntiere(i, n), attendu);
  }
  EXPECT_THROW(PuissanceEntiere(2, 31), EIntOverflow);
  EXPECT_THROW(PuissanceEntiere(10, 10), EIntOverflow);
  EXPECT_THROW(PuissanceEntiere(-2, 32), EIntOverflow);
}

TEST(Erreurs, VerificationsDIntervalleEtDeDebordement) {
  EXPECT_EQ(EnOctetSigne(-128), -128);
  EXPECT_EQ(EnOctetSigne(127), 127);
  EXPECT_THROW(EnOctetSigne(128), ERangeError);
  EXPECT_THROW(EnOctetSigne(-129), ERangeError);
  EXPECT_EQ(EnEntier16(-32768), -32768);
  EXPECT_THROW(EnEntier16(32768), ERangeError);
  EXPECT_THROW(EnEntier32(int64_t{INT32_MAX} + 1), ERangeError);
  EXPECT_EQ(VerifieIntervalle(255, 0, 255), 255);
  EXPECT_THROW(VerifieIntervalle(256, 0, 255), ERangeError);
  EXPECT_THROW(VerifieIntervalleReel(NAN, -1, 1), ERangeError);

  EXPECT_EQ(SommeVerifiee(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_THROW(SommeVerifiee(INT32_MAX, 1), EIntOverflow);
  EXPECT_THROW(DifferenceVerifiee(INT32_MIN, 1), EIntOverflow);
  EXPECT_THROW(ProduitVerifie(65536, 32768), EIntOverflow);
  EXPECT_EQ(ProduitVerifie(-65536, 32768), INT32_MIN);
  EXPECT_THROW(OpposeVerifie(INT32_MIN), EIntOverflow);
  // each is caught as the standard family it belongs to
  EXPECT_THROW(EnOctetSigne(200), std::out_of_range);
  EXPECT_THROW(SommeVerifiee(INT32_MIN, -1), std::overflow_error);
}
