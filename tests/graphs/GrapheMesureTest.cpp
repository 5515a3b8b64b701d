#include "GrapheMesure.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Dessin.h"
#include "Images.h"

namespace {

const QColor bleu = CouleurQt(0x00FF0000), rouge = CouleurQt(0x000000FF);

// Records what the cursor writes in the value labels.
struct Etiquettes : EtiquettesValeurs {
  std::map<int, std::string> textes;
  void AfficheValeur(int i, const Texte32 &texte) override { textes[i] = texte.str(); }
};

// A diagram of 0..10 kHz with curve 1 (VA) on 0..10 V and curve 2 (VB) on -5..5 V, and
// three points.
struct Diagramme {
  std::unique_ptr<TgrapheMesure> g = std::make_unique<TgrapheMesure>();
  QImage image{500, 400, QImage::Format_RGB32};
  Diagramme() {
    g->Courbes[1].Maxi = 10;
    g->Courbes[2].Active = true;
    g->Courbes[2].Mini = -5;
    g->Courbes[2].Maxi = 5;
    const double f[] = {1000, 4000, 7000}, va[] = {2, 5, 8}, vb[] = {-2, 0, 2};
    for (int k = 0; k < 3; ++k) {
      g->Courbes[0].Valeurs[k] = f[k];
      g->Courbes[1].Valeurs[k] = va[k];
      g->Courbes[2].Valeurs[k] = vb[k];
    }
    g->NbPoints = 3;
  }
};

}  // namespace

TEST(GrapheMesure, LeCurseurDessineDeuxFoisRestaureLImage) {
  Diagramme d;
  Etiquettes e;
  d.g->Afficheur = &e;
  d.g->Courbes[0].Valeur = 5000;
  d.g->Courbes[1].Valeur = 6;
  d.g->Courbes[2].Valeur = 1;
  d.g->Draw(d.image);  // ends with the cursor drawn
  const QImage avec = d.image.copy();
  d.g->Cursor(d.image);  // erases it
  const QImage sans = d.image.copy();
  ASSERT_NE(sans, avec);
  const int32_t x = d.g->Courbes[0].ValeurEnPixel(5000), y = d.g->Courbes[1].ValeurEnPixel(6);
  EXPECT_NE(avec.pixel(x + 8, y), sans.pixel(x + 8, y));  // on an arm, inverted
  d.g->Cursor(d.image);
  EXPECT_EQ(d.image, avec);
  d.g->Cursor(d.image);
  EXPECT_EQ(d.image, sans);
  EXPECT_EQ(e.textes[0], "f=5 kHz");
  EXPECT_EQ(e.textes[1], "VA=6 V");
  EXPECT_EQ(e.textes.count(3), 0u);  // curve 3 is not shown
}

TEST(GrapheMesure, UneBoiteCacheeNePeintRienMaisLesValeursSAffichent) {
  Diagramme d;
  Etiquettes e;
  d.g->Afficheur = &e;
  d.g->Courbes[1].Valeur = 0.25;
  QImage vide;
  d.g->Draw(vide);
  d.g->Cursor(vide);
  EXPECT_EQ(e.textes[1], "VA=250 mV");
  EXPECT_FALSE(d.g->ToucheEtiquette(0, 1));
}

TEST(GrapheMesure, UnPointIndefiniNEstPasDessine) {
  Diagramme avec, sans;
  avec.g->Courbes[1].Valeurs[3] = ValeurIndefinie;  // a fourth point: y undefined
  avec.g->Courbes[0].Valeurs[3] = 9000;
  avec.g->Courbes[2].Valeurs[3] = ValeurIndefinie;
  avec.g->NbPoints = 4;
  avec.g->Draw(avec.image);
  sans.g->Draw(sans.image);
  EXPECT_EQ(avec.image, sans.image);
  EXPECT_TRUE(EstDe(sans.image, sans.g->Courbes[0].ValeurEnPixel(1000),
                    sans.g->Courbes[1].ValeurEnPixel(2), bleu));  // the others are drawn
}

TEST(DessineMotif, ChaqueMotifCouvreSesPixels) {
  struct Cas {
    uint8_t motif;
    std::vector<QPoint> allumes, eteints;  // relative to the centre, half-size 2
  } cas[] = {
      {MotifCroix, {{-2, 0}, {2, 0}, {0, -2}, {0, 2}, {0, 0}}, {{1, 1}, {-2, -2}, {3, 0}}},
      {MotifCroixDiag, {{-2, -2}, {2, 2}, {2, -2}, {-2, 2}, {0, 0}}, {{2, 0}, {0, -2}, {3, 3}}},
      {MotifCercle, {{0, 0}, {-2, 0}, {2, 0}, {0, -2}, {0, 2}, {1, 1}}, {{-2, -2}, {2, 2}, {3, 0}}},
      {MotifCarre, {{-2, -2}, {1, 1}, {-2, 1}, {0, 0}}, {{2, 2}, {2, 0}, {0, 2}, {-3, 0}}},
  };
  for (const auto &k : cas) {
    SCOPED_TRACE(int(k.motif));
    QImage image(21, 21, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter p(&image);
      Stylo(p, rouge);
      p.setBrush(rouge);
      DessineMotif(p, k.motif, 10, 10, 2);
    }
    for (QPoint q : k.allumes)
      EXPECT_TRUE(EstDe(image, 10 + q.x(), 10 + q.y(), rouge)) << q.x() << "," << q.y();
    for (QPoint q : k.eteints)
      EXPECT_TRUE(EstDe(image, 10 + q.x(), 10 + q.y(), Qt::white)) << q.x() << "," << q.y();
  }
}

TEST(GrapheMesure, SansCourbeVisiblePasDAxeVertical) {
  Diagramme d;
  EXPECT_TRUE(d.g->Etiquettes.AxeY);  // "Axe vertical" is on at a first run
  EXPECT_EQ(d.g->CourbeAxe(), 1);
  d.g->Courbes[1].Active = false;
  d.g->Courbes[2].Active = false;
  d.g->Courbes[4].PasGraduation = 0;  // never laid out: a graduation loop would not end
  d.g->Courbes[4].Mini = 0;
  d.g->Courbes[4].Maxi = 0;
  EXPECT_EQ(d.g->CourbeAxe(), -1);
  d.g->Draw(d.image);  // returns
  const QRect marge(0, 0, d.g->Zone.Left, d.g->Zone.Bottom);
  EXPECT_EQ(CompteCouleur(d.image, marge, Qt::black), 0);  // no ordinate axis, labels, title
  d.g->Courbes[4].Active = true;
  EXPECT_EQ(d.g->CourbeAxe(), 4);
  d.g->Draw(d.image);
  EXPECT_GT(CompteCouleur(d.image, marge, Qt::black), 20);
}

TEST(GrapheMesure, EtiquettesDeFrequenceDessineesEtTouchees) {
  Diagramme d;
  d.g->Draw(d.image);
  ASSERT_GE(d.g->Positions.Nombre(), 4);  // 0..10 kHz by 2 kHz, not dense at 500 pixels
  const int32_t x = d.g->Positions.Emplacements()[0];
  EXPECT_EQ(x, d.g->Courbes[0].ValeurEnPixel(2000));  // 0 sits on the area's edge: no label
  EXPECT_TRUE(d.g->ToucheEtiquette(x - 3, d.g->Zone.Bottom + 4));
  EXPECT_FALSE(d.g->ToucheEtiquette(2, d.g->Zone.Bottom + 4));
}
