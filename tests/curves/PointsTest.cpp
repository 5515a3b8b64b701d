#include <gtest/gtest.h>

#include <cmath>

#include "Balayage.h"
#include "ListePoints.h"
#include "ZelmUtil.h"

namespace {

struct Diagramme {
  std::array<TCourbeMesure, 5> courbes{TCourbeMesure("F", 0, "Hz"), TCourbeMesure("VA", 1, "V"),
                                       TCourbeMesure("VB", 2, "V"), TCourbeMesure("VC", 3, "V"),
                                       TCourbeMesure("VD", 4, "V")};
  uint16_t nombre = 0;
  ListePoints points{courbes, nombre};
  Diagramme() {
    for (size_t i = 0; i < courbes.size(); ++i) courbes[i].Active = i <= 1;
  }
};

}  // namespace

TEST(ListePoints, UnPointPrendLesValeursCourantesEtRienDePerime) {
  Diagramme d;
  d.courbes[3].Valeurs[0] = 42;  // a stale sample of a curve not shown
  d.courbes[0].Valeur = 1000;
  d.courbes[1].Valeur = 0.7;
  ASSERT_EQ(d.points.AcquiertPoint().refus, ListePoints::Refus::Aucun);
  EXPECT_EQ(d.nombre, 1);
  EXPECT_EQ(d.courbes[0].Valeurs[0], 1000);
  EXPECT_EQ(d.courbes[1].Valeurs[0], 0.7);
  EXPECT_EQ(d.courbes[3].Valeurs[0], ValeurIndefinie);
}

TEST(ListePoints, UneVoieMontreeSansValeurRefuseLePointEtLeDit) {
  Diagramme d;
  d.courbes[0].Valeur = 1000;
  d.courbes[1].Valeur = ValeurIndefinie;
  d.courbes[4].Valeur = ValeurIndefinie;  // not shown: no matter
  const auto r = d.points.AcquiertPoint();
  EXPECT_EQ(r.refus, ListePoints::Refus::ValeurIncorrecte);
  EXPECT_EQ(r.courbe, 1);
  EXPECT_EQ(d.nombre, 0);
}

TEST(ListePoints, AuDelaDe8192PointsLePointEstRefuseSansRienEcrire) {
  Diagramme d;
  d.courbes[0].Valeur = 1;
  d.courbes[1].Valeur = 2;
  d.nombre = ListePoints::NbMax - 1;
  EXPECT_EQ(d.points.AcquiertPoint().refus, ListePoints::Refus::Aucun);
  EXPECT_EQ(d.nombre, 8192);
  d.courbes[0].Valeurs[8192] = 5;
  EXPECT_EQ(d.points.AcquiertPoint().refus, ListePoints::Refus::Plein);
  EXPECT_EQ(d.nombre, 8192);
  EXPECT_EQ(d.courbes[0].Valeurs[8192], 5);  // the spare slot untouched
}

TEST(ListePoints, DefaireAZeroNeFaitRien) {
  Diagramme d;
  EXPECT_FALSE(d.points.Defaire());
  EXPECT_EQ(d.nombre, 0);
  d.nombre = 3;
  EXPECT_TRUE(d.points.Defaire());
  EXPECT_EQ(d.nombre, 2);
  d.points.Efface();
  EXPECT_EQ(d.nombre, 0);
}

TEST(Balayage, LesFrequencesLineairesNAtteignentPasLeMaximum) {
  Balayage b;
  EXPECT_EQ(b.Demarre({100, 1000, 16, 500}), 100);
  const double attendues[] = {156.25, 212.5, 268.75};
  for (int n = 1; n <= 3; ++n) EXPECT_DOUBLE_EQ(*b.Suivante(n), attendues[n - 1]) << n;
  EXPECT_DOUBLE_EQ(*b.Suivante(15), 943.75);
  EXPECT_TRUE(b.EnCours());
  EXPECT_FALSE(b.Suivante(16).has_value());
  EXPECT_FALSE(b.EnCours());
}

TEST(Balayage, LeKiemePointLogarithmique) {
  Balayage b;
  b.Demarre({100, 10000, 64, 100, true});
  struct Cas { int k; double f; } cas[] = {{0, 100}, {32, 1000}, {16, 100 * std::sqrt(10.0)}, {63, 100 * std::pow(100.0, 63.0 / 64)}};
  for (auto [k, f] : cas) EXPECT_NEAR(b.Frequence(k), f, f * 1e-12) << k;
}

TEST(Balayage, UnNombreOuUnDelaiNulPrendLesValeursParDefaut) {
  Balayage b;
  b.Demarre({100, 1000, 0, 0});
  EXPECT_EQ(b.Parametres().points, 256);
  EXPECT_EQ(b.Parametres().delaiMs, 500);
  b.Arrete();
  EXPECT_FALSE(b.Suivante(1).has_value());
}
