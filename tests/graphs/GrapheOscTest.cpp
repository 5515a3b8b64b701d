#include "GrapheOsc.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <cmath>
#include <memory>

#include "Dessin.h"
#include "Images.h"

namespace {

const QColor bleu = CouleurQt(0x00FF0000), rouge = CouleurQt(0x000000FF);

// A time graph of n samples 1 µs apart, channel 1 shown on -5..5 V.
struct Ecran {
  std::unique_ptr<TgrapheOsc> g = std::make_unique<TgrapheOsc>();
  QImage image;
  Ecran(int w, int h, int n) : image(w, h, QImage::Format_RGB32) {
    for (int i = 0; i < NbValeursVoie; ++i) g->Abscisse.Valeurs[i] = i * 1e-6;
    g->Abscisse.Mini = 0;
    g->Abscisse.Maxi = std::max(n - 1, 1) * 1e-6;
    g->Voie1.Active = true;
    g->NbPoints = uint16_t(n);
  }
  void Dessine() { g->Draw(image); }
  // The area without its edges and the ticks that reach into it.
  QRect Interieur() const {
    const int marge = g->Police.Graduation + 1;
    return QRect(QPoint(g->Zone.Left + marge, g->Zone.Top + marge),
                 QPoint(g->Zone.Right - marge, g->Zone.Bottom - marge));
  }
};

}  // namespace

TEST(PoliceGraphe, DejaVuSansMontreLesSignesDeLaTable) {
  const QFont police = PoliceGraphe(16);
  EXPECT_EQ(QFontInfo(police).family(), "DejaVu Sans");
  const QFontMetrics m(police);
  for (char32_t c : {U'µ', U'Ω', U'°', U'²', U'↗', U'↘', U'φ'}) {
    SCOPED_TRACE(uint32_t(c));
    EXPECT_TRUE(m.inFontUcs4(c));
  }
}

TEST(GrapheOsc, SansEchantillonRienQueLesAxesLesEtiquettesEtLesMarqueurs) {
  Ecran vide(600, 400, 0), plein(600, 400, 0);
  for (int i = 0; i < NbValeursVoie; ++i) plein.g->Voie1.Valeurs[i] = 4 * std::sin(i * 0.01);
  for (Ecran *e : {&vide, &plein}) {
    e->g->Abscisse.Maxi = 1e-3;
    e->g->Voie1.Mini = 0;  // zero on the area's bottom: no zero line inside
    e->g->VoieSeuil = 1;
    e->g->NiveauSeuil = 200;
    e->Dessine();
  }
  EXPECT_EQ(vide.image, plein.image);  // the samples are not drawn at all
  EXPECT_EQ(CompteCouleur(vide.image, vide.Interieur(), bleu), 0);
  EXPECT_GT(CompteCouleur(vide.image, vide.image.rect(), bleu), 50);  // axis, ticks, marker
  plein.g->NbPoints = 1000;
  plein.Dessine();
  EXPECT_GT(CompteCouleur(plein.image, plein.Interieur(), bleu), 300);
}

TEST(GrapheOsc, HuitMilleEchantillonsSurSixCentsPixelsJoignentUnSurTreize) {
  Ecran e(600, 400, 8192);
  // every 13th sample on 0 V, the others at +4 V: only a wrong step reaches up there
  for (int i = 0; i < 8192; ++i) e.g->Voie1.Valeurs[i] = i % 13 == 0 ? 0 : 4;
  e.Dessine();
  const int32_t y0 = e.g->Voie1.ValeurEnPixel(0);
  const QRect haut(QPoint(e.Interieur().left(), e.g->Zone.Top),
                   QPoint(e.Interieur().right(), y0 - 2));
  EXPECT_EQ(CompteCouleur(e.image, haut, bleu), 0);
  // and the trace runs along the zero row from the left to the right of the area
  EXPECT_TRUE(EstDe(e.image, e.g->Zone.Left + 1, y0, bleu));
  EXPECT_TRUE(EstDe(e.image, e.g->Zone.Right - 2, y0, bleu));
}

TEST(GrapheOsc, BoiteEtroiteSansEtiquettesNiAxeDesAbscisses) {
  // font 13, character 8: 20 characters are 160 pixels
  for (auto [largeur, axe] : {std::pair{160, false}, std::pair{161, true}}) {
    SCOPED_TRACE(largeur);
    Ecran e(largeur, 400, 100);
    e.Dessine();
    EXPECT_EQ(e.g->Etiquettes.EtiquettesX, axe);
    // the abscissa axis, its labels and its title are the only black things drawn
    EXPECT_EQ(CompteCouleur(e.image, e.image.rect(), Qt::black) > 0, axe);
    EXPECT_EQ(e.g->Positions.Nombre() > 0, axe);
  }
}

TEST(GrapheOsc, LeMarqueurDeSeuilTombeSurLaLigneDeSonNiveau) {
  struct Cas {
    uint8_t voie, niveau;
    bool superposition;
  } cas[] = {{1, 0, false}, {1, 128, false}, {2, 255, false}, {2, 100, true}, {1, 100, true}};
  for (auto [voie, niveau, superposition] : cas) {
    SCOPED_TRACE(testing::Message() << int(voie) << "/" << int(niveau) << "/" << superposition);
    Ecran e(600, 400, 0);
    e.g->Voie2.Active = true;
    e.g->Superposition = superposition;
    e.g->VoieSeuil = voie;
    e.g->NiveauSeuil = niveau;
    e.Dessine();
    const TCourbeOsc &v = e.g->Voie(voie);
    const int32_t y = v.PixelMin - int32_t(std::lround(niveau * (v.PixelMin - v.PixelMax) / 255.0));
    EXPECT_EQ(e.g->LigneSeuil, y);
    const int x = voie == 1 ? 1 : 598;
    EXPECT_TRUE(EstDe(e.image, x, y, voie == 1 ? bleu : rouge));
    EXPECT_FALSE(EstDe(e.image, x, y - 2, voie == 1 ? bleu : rouge));
    if (superposition && voie == 2) {
      EXPECT_GT(y, e.g->Zone.Top + e.g->Zone.Hauteur() / 2);
    }
  }
}

TEST(GrapheOsc, SuperpositionUneBandeParVoieVisible) {
  Ecran e(600, 400, 0);
  e.g->Superposition = true;
  e.g->NbBandes = 0;  // as the main window leaves it before its count
  e.Dessine();        // one band: channel 1 alone
  EXPECT_EQ(e.g->NbBandes, 1);
  EXPECT_EQ(e.g->Voie1.PixelMin, e.g->Zone.Bottom);
  e.g->Voie2.Active = true;  // channel 2 leaves GND after the count
  e.Dessine();
  EXPECT_EQ(e.g->NbBandes, 2);
  EXPECT_LT(e.g->Voie1.PixelMin, e.g->Voie2.PixelMax);
  EXPECT_LE(e.g->Voie2.PixelMin, e.g->Zone.Bottom);  // the second band inside the graph
}

TEST(GrapheOsc, LesBarresPartentDeLaLigneDeZero) {
  auto g = std::make_unique<TgrapheOsc>();
  QImage image(600, 400, QImage::Format_RGB32);
  g->ModeBarres = true;
  g->PasFrequence = 100;
  g->Abscisse.Mini = 0;
  g->Abscisse.Maxi = 1600;
  g->Voie1.Active = true;
  g->Voie1.Mini = -1;
  g->Voie1.Maxi = 1;
  g->Voie1.Valeurs[4] = 0.5;
  g->Voie2.Mini = -1;
  g->Voie2.Maxi = 1;
  g->Voie2.Valeurs[8] = 0.5;
  g->NbPoints = 16;
  g->Draw(image);
  const int32_t x = g->Abscisse.ValeurEnPixel(400), y0 = g->Voie1.ValeurEnPixel(0);
  const int32_t y = g->Voie1.ValeurEnPixel(0.5);
  ASSERT_LT(y, y0 - 20);
  EXPECT_EQ(CompteCouleur(image, QRect(x, y, 1, y0 - y + 1), bleu), y0 - y + 1);  // y .. y0
  EXPECT_FALSE(EstDe(image, x, y - 1, bleu));
  EXPECT_FALSE(EstDe(image, x, y0 + 1, bleu));
  EXPECT_FALSE(EstDe(image, g->Abscisse.ValeurEnPixel(500), y, bleu));  // bin 5 is empty
  // channel 2, same scale, a bar on bin 8: it starts 3 pixels to the right on the zero
  // row and ends 3 pixels higher
  g->Voie2.Active = true;
  g->Draw(image);
  ASSERT_EQ(g->Voie2.ValeurEnPixel(0.5), y);
  const int32_t x2 = g->Abscisse.ValeurEnPixel(800);
  EXPECT_TRUE(EstDe(image, x2 + 3, y0, rouge));
  EXPECT_TRUE(EstDe(image, x2, y - 3, rouge));
  EXPECT_FALSE(EstDe(image, x2, y - 4, rouge));
  EXPECT_FALSE(EstDe(image, x2 + 3, y0 + 1, rouge));
}

TEST(GrapheOsc, DesValeursHorsDePorteeNeFontPasEchouerLeDessin) {
  Ecran e(600, 400, 100);
  e.g->Voie1.Valeurs[50] = 1e30;  // far beyond 32 bits of pixels
  e.g->Voie1.Valeurs[51] = std::nan("");
  e.g->Voie2.Active = true;
  e.g->Voie2.Mini = 3;
  e.g->Voie2.Maxi = 3;      // an empty scale
  e.g->Abscisse.Maxi = -1;  // a reversed one
  EXPECT_NO_THROW(e.Dessine());
  EXPECT_EQ(e.g->Voie2.Maxi, 4);
  EXPECT_GT(e.g->Voie2.PasGraduation, 0);
}

TEST(GrapheOsc, LesEtiquettesDessineesSeulesSontTouchees) {
  Ecran e(600, 400, 100);
  EXPECT_TRUE(e.g->Etiquettes.AxeY);  // the voltage labels show on a first run
  e.Dessine();
  ASSERT_GT(e.g->Positions.Nombre(), 2);
  const int32_t x = e.g->Positions.Emplacements()[1], bas = e.g->Zone.Bottom;
  EXPECT_TRUE(e.g->ToucheEtiquette(x + 3, bas + 5));
  EXPECT_FALSE(e.g->ToucheEtiquette(x + 4, bas + 5));
  EXPECT_FALSE(e.g->ToucheEtiquette(x, bas - 5));
  EXPECT_FALSE(e.g->ToucheEtiquette(1, bas + 5));  // no label at 0
}

TEST(TexteEtiquette, ZeroSelonLaFractionDeLAxe) {
  TCourbe c("U", 1, "V");
  c.Mini = 0;
  c.Maxi = 1;
  c.CalculGraduation(false);
  EXPECT_NE(TexteEtiquette(c, 1e-17, 0), "0");  // the time axis prints it like any value
  EXPECT_EQ(TexteEtiquette(c, 1e-17, FractionZeroOrdonnee), "0");
  EXPECT_NE(TexteEtiquette(c, 0.005, FractionZeroOrdonnee), "0");
  EXPECT_EQ(TexteEtiquette(c, 0.005, FractionZeroFrequence), "0");
  EXPECT_EQ(TexteEtiquette(c, 0.5, FractionZeroFrequence), c.TexteGraduation(0.5));
}

TEST(GrapheOsc, LeSymboleDuMarqueurSuitLeSens) {
  Ecran montant(600, 400, 0), descendant(600, 400, 0);
  for (Ecran *e : {&montant, &descendant}) {
    e->g->VoieSeuil = 1;
    e->g->NiveauSeuil = 128;
  }
  descendant.g->SensSeuil = 1;
  montant.Dessine();
  descendant.Dessine();
  const int c = montant.g->Police.Caractere, y = montant.g->LigneSeuil;
  const QRect symbole(0, y - c, 4 * c, 2 * c);
  EXPECT_GT(CompteCouleur(montant.image, symbole, bleu), 4 * c);  // line and glyph
  EXPECT_NE(montant.image.copy(symbole), descendant.image.copy(symbole));
  EXPECT_EQ(montant.image.copy(montant.Interieur()), descendant.image.copy(montant.Interieur()));
}
