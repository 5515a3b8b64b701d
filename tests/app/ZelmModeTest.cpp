#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>

#include "FenetreBanc.h"
#include "ZelmMode.h"
#include "ZelmUtil.h"

TEST(TZelmModeDlg, UneDecadeAuMoinsEntreLeDebutEtLaFin) {
  ReglagesDiagramme r;
  TZelmModeDlg d(r, GenreGenerateur::GBF, 2.5, {});
  d.FreqMinEdit->setValue(300);
  EXPECT_EQ(d.FreqMaxEdit->minimum(), 3000);
  EXPECT_EQ(d.FreqMaxEdit->value(), 3000);  // pushed up with it
  d.FreqMaxEdit->setValue(25000);
  EXPECT_EQ(d.FreqMinEdit->maximum(), 2500);
  d.FreqMinEdit->setValue(3200);  // past the new limit
  EXPECT_EQ(d.FreqMinEdit->value(), 2500);
}

// The very-low-frequency generator ends at 2000 Hz: a start above 200 Hz would leave
// no decade below it.
TEST(TZelmModeDlg, LeGTBFFinitA2000HzEtCommenceAuPlusA200) {
  ReglagesDiagramme r;
  r.fmin = 300;
  r.fmax = 3000;
  TZelmModeDlg d(r, GenreGenerateur::GTBF, 1, {});
  EXPECT_EQ(d.FreqMaxEdit->maximum(), 2000);
  EXPECT_EQ(d.FreqMinEdit->maximum(), 200);
  EXPECT_EQ(d.FreqMinEdit->value(), 200);
  EXPECT_EQ(d.FreqMaxEdit->value(), 2000);
  EXPECT_LE(d.FreqMinEdit->value() * 10, d.FreqMaxEdit->value());
  d.FreqMaxEdit->setValue(2000);
  EXPECT_EQ(d.FreqMinEdit->maximum(), 200);
}

TEST(TZelmModeDlg, LAmplitudeSAppliqueToutDeSuite) {
  struct Cas { GenreGenerateur g; int position; double volts; const char *texte; } cas[] = {
      {GenreGenerateur::GBF, 200, 10, "10 V"}, {GenreGenerateur::GBF, 0, 0, "0V"},  // as the units write 0
      {GenreGenerateur::GBF, 50, 2.5, "2,5 V"}, {GenreGenerateur::GTBF, 50, 1, "1 V"},
      {GenreGenerateur::GTBF, 200, 4, "4 V"},
  };
  for (auto c : cas) {
    SCOPED_TRACE(testing::Message() << int(c.g) << "/" << c.position);
    ReglagesDiagramme r;
    double regle = -1;
    TZelmModeDlg d(r, c.g, 1.5, [&](double v) { regle = v; });
    EXPECT_TRUE(d.AmplitudeGB->isVisibleTo(&d));
    d.AmplitudeScroll->setValue(c.position == 50 ? 51 : 50);
    d.AmplitudeScroll->setValue(c.position);
    EXPECT_DOUBLE_EQ(regle, c.volts);  // at once: Abandon would not undo it
    EXPECT_DOUBLE_EQ(AmplitudePosition(c.g, c.position), c.volts);
    // the value with its unit, in the system's decimal separator
    EXPECT_EQ(d.AmplitudeEdit->text(), QString(c.texte).replace(',', QChar(SeparateurDecimal())));
  }
  ReglagesDiagramme r;
  TZelmModeDlg sans(r, GenreGenerateur::Aucun, 0, {});
  EXPECT_FALSE(sans.AmplitudeGB->isVisibleTo(&sans));
}

TEST(TZelmModeDlg, OKRendLesReglagesEtAucuneVoieChoisieEstLaVoie1) {
  ReglagesDiagramme r;
  r.voie = 2;
  TZelmModeDlg d(r, GenreGenerateur::GBF, 2.5, {});
  EXPECT_EQ(d.VoieQuiloCB->currentIndex(), 1);
  EXPECT_EQ(d.NombreSE->value(), 256);
  EXPECT_EQ(d.DelaySE->value(), 500);
  d.AxeCB->setChecked(false);
  d.DimPointSE->setValue(4);
  d.FreqMinEdit->setValue(200);
  d.FreqMaxEdit->setValue(20000);
  d.NombreSE->setValue(64);
  d.DelaySE->setValue(100);
  d.LogCB->setChecked(true);
  EXPECT_FALSE(d.GammesCB->isChecked());  // off unless asked for
  d.GammesCB->setChecked(true);
  d.VoieQuiloCB->setCurrentIndex(-1);
  d.OKBtnClick();
  EXPECT_FALSE(r.axeVertical);
  EXPECT_EQ(r.dimPoint, 4);
  EXPECT_EQ(r.fmin, 200);
  EXPECT_EQ(r.fmax, 20000);
  EXPECT_EQ(r.voie, 1);
  EXPECT_EQ(r.points, 64);
  EXPECT_EQ(r.delaiMs, 100);
  EXPECT_TRUE(r.logarithmique);
  EXPECT_TRUE(r.gammesAuto);
}

namespace {
class ModeFenetre : public FenetreBanc {};
}  // namespace

TEST_F(ModeFenetre, LaBoiteDeFrequenceRegleLeDiagrammeEtReprend) {
  f->FormActivate();
  C<RadioGroupe>("ModeRG")->SetItemIndex(2);
  boites.remplit = [](QDialog &d) {
    auto &m = static_cast<TZelmModeDlg &>(d);
    m.FreqMinEdit->setValue(200);
    m.FreqMaxEdit->setValue(5000);
    m.NombreSE->setValue(32);
    m.VoieQuiloCB->setCurrentIndex(1);
  };
  f->VoieFreqClick();
  ASSERT_EQ(boites.Textes(), QStringList{"Mesure de fréquence"});
  const TgrapheMesure &z = f->GrapheZelm();
  EXPECT_EQ(z.Courbes[0].Mini, 200);
  EXPECT_EQ(z.Courbes[0].Maxi, 5000);
  EXPECT_EQ(z.Courbes[0].VoieMesure, 2);
  EXPECT_EQ(z.NbPointsBalayage, 32);
  EXPECT_EQ(z.DelaiBalayage, 500);
  EXPECT_TRUE(f->Cycle().EnAcquisition());  // paused, then resumed
  // abandoned: nothing changes
  boites.reponses = {false};
  boites.remplit = [](QDialog &d) { static_cast<TZelmModeDlg &>(d).NombreSE->setValue(99); };
  f->VoieFreqClick();
  EXPECT_EQ(z.NbPointsBalayage, 32);
}
