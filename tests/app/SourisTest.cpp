#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMouseEvent>
#include <QSlider>
#include <QStatusBar>

#include "FenetreBanc.h"
#include "PaintBox.h"
#include "SourisGraphes.h"

namespace {

void Souris(QWidget *w, QEvent::Type type, int x, int y, Qt::MouseButton bouton,
            Qt::MouseButtons boutons) {
  const QPointF p(x, y);
  QMouseEvent e(type, p, w->mapToGlobal(p), bouton, boutons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}
void Appuie(QWidget *w, int x, int y) {
  Souris(w, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
}
void Deplace(QWidget *w, int x, int y, Qt::MouseButtons boutons = Qt::LeftButton) {
  Souris(w, QEvent::MouseMove, x, y, Qt::NoButton, boutons);
}
void Relache(QWidget *w, int x, int y) {
  Souris(w, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
}
void Glisse(QWidget *w, int x0, int y0, int x1, int y1) {
  Appuie(w, x0, y0);
  Deplace(w, x1, y1);
  Relache(w, x1, y1);
}

QImage Rangee(const QImage &image, int y) { return image.copy(0, y, image.width(), 1); }

// The time graph in single shot with nothing armed, the zero lines of the two
// channels apart from each other and from the trigger marker (level 127, mid-height).
class Glissement : public FenetreBanc {
 protected:
  void SetUp() override {
    FenetreBanc::SetUp();
    C<QCheckBox>("MonocoupCB")->click();
    temps = C<PaintBox>("TempsPaintBox");
    zelm = C<PaintBox>("ZelmPaintBox");
    Zeros(60, 190);
    ASSERT_GT(f->GrapheTemps().Voie1.PixelMin, 200);
  }
  void Zeros(int z1, int z2) {
    f->Cycle().Reglages().SetZero(1, z1);
    f->Cycle().Reglages().SetZero(2, z2);
    f->AjusteAffichage();
  }
  void Seuil(int niveau) {
    f->Cycle().Reglages().SetSeuil(niveau);
    f->AjusteAffichage();
  }
  // Row of 0 V of a channel, and of the trigger marker at `niveau`, as drawn.
  int Masse(int voie) const { return f->GrapheTemps().Voie(voie).ValeurEnPixel(0); }
  int Repere(int niveau = 127) const {
    const TCourbeOsc &v = f->GrapheTemps().Voie1;
    return LigneSeuil(uint8_t(niveau), v.PixelMin, v.PixelMax);
  }
  QString Statut() { return C<QStatusBar>("Header")->currentMessage(); }
  void Mode(ModeAffichage m) {
    C<RadioGroupe>("ModeRG")->SetItemIndex(int(m));
    QCoreApplication::processEvents();  // the lower box shown gets its size
    zelm->Repeint();                    // and is drawn, as the next frame does
  }
  // The lower graph's abscissa maximum and the graph area it is drawn in.
  double Maximum(ModeAffichage m) {
    return m == ModeAffichage::Spectre ? f->NbHarmoniques() : f->GrapheZelm().Courbes[0].Maxi;
  }
  Rectangle ZoneBas(ModeAffichage m) {
    return m == ModeAffichage::Spectre ? f->GrapheSpectre().Zone : f->GrapheZelm().Zone;
  }
  int PremiereEtiquette(ModeAffichage m) {
    const PositionsEtiquettes &p =
        m == ModeAffichage::Spectre ? f->GrapheSpectre().Positions : f->GrapheZelm().Positions;
    EXPECT_GT(p.Nombre(), 0);
    return p.Nombre() > 0 ? p.Emplacements()[0] : -100;
  }

  PaintBox *temps = nullptr, *zelm = nullptr;
};

}  // namespace

TEST_F(Glissement, UneLigneDeMasseSePrendATroisPixelsPasAQuatre) {
  struct Cas { int voie, dy; bool prend; } cas[] = {
      {1, 3, true}, {1, -3, true}, {1, 4, false}, {1, -4, false},
      {2, 3, true}, {2, -3, true}, {2, 4, false}, {2, -4, false},
  };
  for (auto [voie, dy, prend] : cas) {
    SCOPED_TRACE(testing::Message() << "channel " << voie << ", " << dy << " px");
    Zeros(60, 190);
    const int y = Masse(voie) + dy;
    Appuie(temps, 300, y);
    EXPECT_EQ(Statut(), prend ? QString("Masse voie %1").arg(voie) : QString());
    Deplace(temps, 300, y - 40);
    Relache(temps, 300, y - 40);
    EXPECT_EQ(f->Reglages().Zero(voie) != (voie == 1 ? 60 : 190), prend);
    EXPECT_EQ(f->Reglages().Zero(3 - voie), voie == 1 ? 190 : 60);
  }
}

TEST_F(Glissement, UneVoieALaMasseNOffrePasSaLigne) {
  C<RadioGroupe>("CouplageRG2")->SetItemIndex(CouplageGND);
  f->AjusteAffichage();
  Glisse(temps, 300, Masse(2), 300, Masse(2) - 40);
  EXPECT_EQ(f->Reglages().Zero(2), 190);
  Glisse(temps, 300, Masse(1), 300, Masse(1) - 40);  // the other channel's still is
  EXPECT_NE(f->Reglages().Zero(1), 60);
}

TEST_F(Glissement, LeRepereSePrendPresDeSonBordEtSuitLaSouris) {
  const int W = f->GrapheTemps().Client.Right;
  struct Cas { int synchro, x; bool prend; } cas[] = {
      {SynchroVoie1, 5, true},      {SynchroVoie1, 15, true},     {SynchroVoie1, 16, false},
      {SynchroVoie1, W - 5, false}, {SynchroVoie2, W - 5, true},  {SynchroVoie2, W - 15, true},
      {SynchroVoie2, W - 16, false}, {SynchroVoie2, 5, false},    {SynchroRelaxe, 5, false},
      {SynchroRelaxe, W - 5, false}, {SynchroExterne, 5, false},  {SynchroExterne, W - 5, false},
  };
  for (auto [synchro, x, prend] : cas) {
    SCOPED_TRACE(testing::Message() << "trigger " << synchro << ", x " << x);
    C<RadioGroupe>("SynchroRG")->SetItemIndex(synchro);
    Seuil(127);
    const int y = Repere();
    Appuie(temps, x, y + 2);
    EXPECT_EQ(Statut() == "Seuil de synchronisation", prend);
    Deplace(temps, x, y - 60);
    Relache(temps, x, y - 60);
    EXPECT_EQ(f->Reglages().Seuil() != 127, prend);
    if (prend) {
      EXPECT_EQ(f->GrapheTemps().NiveauSeuil, f->Reglages().Seuil());
      EXPECT_NEAR(f->GrapheTemps().LigneSeuil, y - 60, 1);  // redrawn where it was let go
    }
    EXPECT_EQ(f->Reglages().Zero(1), 60);
    EXPECT_EQ(f->Reglages().Zero(2), 190);
  }
}

TEST_F(Glissement, LeSeuilLacheHorsDuGrapheResteDansCeQueLOscilloPrend) {
  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroVoie1);
  const TCourbeOsc &v = f->GrapheTemps().Voie1;
  struct Cas { int y, niveau; } cas[] = {
      {v.PixelMin + 150, 8}, {-300, 248},  // below and above the box
      {v.PixelMin, 8},       {v.PixelMax, 248},
  };
  for (auto [y, niveau] : cas) {
    SCOPED_TRACE(testing::Message() << "row " << y);
    Seuil(127);
    Glisse(temps, 5, Repere(), 5, y);
    EXPECT_EQ(f->Reglages().Seuil(), niveau);
    EXPECT_EQ(f->Souris().GlissementTemps(), GlisseAucun);
  }
  EXPECT_TRUE(boites.vues.empty());
}

TEST_F(Glissement, LaMasseLacheeAuxLimitesDeLAffichageDonneZeroEt255) {
  const TCourbeOsc &v = f->GrapheTemps().Voie1;
  const int milieu = (v.PixelMin + v.PixelMax) / 2;
  struct Cas { int y, code; } cas[] = {
      {v.PixelMin, 0},       {v.PixelMax, 255},
      {v.PixelMin + 150, 0}, {-300, 255},  // below and above the box
  };
  for (auto [y, code] : cas) {
    SCOPED_TRACE(testing::Message() << "row " << y);
    Zeros(60, 190);
    Glisse(temps, 300, Masse(1), 300, y);
    EXPECT_EQ(f->Reglages().Zero(1), code);
  }
  Zeros(60, 190);
  Glisse(temps, 300, Masse(1), 300, milieu);
  EXPECT_NEAR(Masse(1), milieu, 1);  // the zero line is drawn where it was let go
  EXPECT_TRUE(boites.vues.empty());
}

TEST_F(Glissement, LaLigneGlisseeSEffaceEnSeRetracantMemeSurUneImageRepeinte) {
  f->FormActivate();
  ASSERT_TRUE(Trames());  // one frame, held: each tick draws it again
  const QImage avant = temps->Image().copy();
  const QImage &image = temps->Image();
  const int y = Masse(1);
  Appuie(temps, 300, y);
  for (int x : {0, image.width() - 1})  // across the whole box
    EXPECT_NE(image.pixel(x, y), avant.pixel(x, y)) << x;
  ASSERT_TRUE(Trames(2));
  EXPECT_NE(Rangee(image, y), Rangee(avant, y));  // on the new picture too
  Deplace(temps, 300, y + 30);
  EXPECT_EQ(Rangee(image, y), Rangee(avant, y));
  EXPECT_NE(Rangee(image, y + 30), Rangee(avant, y + 30));
  temps->Repeint();  // once more, by itself
  Deplace(temps, 300, y + 31);
  EXPECT_EQ(Rangee(image, y + 30), Rangee(avant, y + 30));
  EXPECT_NE(Rangee(image, y + 31), Rangee(avant, y + 31));
  Relache(temps, 300, y + 31);
  const QImage apres = image.copy();
  temps->Repeint();
  EXPECT_EQ(image, apres);  // nothing of the line is left

  // the trigger level's line is a mark in the left margin
  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroVoie1);
  const QImage avantSeuil = image.copy();
  const int ys = f->GrapheTemps().LigneSeuil, gauche = f->GrapheTemps().Zone.Left;
  Appuie(temps, 5, ys);
  EXPECT_NE(image.pixel(gauche, ys), avantSeuil.pixel(gauche, ys));
  EXPECT_EQ(image.copy(gauche + 1, ys, image.width() - gauche - 1, 1),
            avantSeuil.copy(gauche + 1, ys, image.width() - gauche - 1, 1));
  Relache(temps, 5, ys);
}

TEST_F(Glissement, LeSurvolDitCeQuiSeGlisse) {
  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroVoie1);
  struct Cas { int x, y; const char *texte; Qt::CursorShape curseur; } cas[] = {
      {300, Masse(1) + 3, "Masse voie 1", Qt::SplitVCursor},
      {300, Masse(1) + 4, "", Qt::ArrowCursor},
      {300, Masse(2) - 3, "Masse voie 2", Qt::SplitVCursor},
      {5, Repere(), "Seuil de synchronisation", Qt::SplitVCursor},
      {300, Repere(), "", Qt::ArrowCursor},
  };
  for (auto [x, y, texte, curseur] : cas) {
    SCOPED_TRACE(testing::Message() << x << ", " << y);
    Deplace(temps, x, y, Qt::NoButton);
    EXPECT_EQ(temps->statusTip(), texte);
    EXPECT_EQ(temps->toolTip(), texte);
    EXPECT_EQ(Statut(), texte);
    EXPECT_EQ(temps->cursor().shape(), curseur);
  }
  // an arming writes its own text; the next move along the line shows the line's again
  Deplace(temps, 300, Masse(1), Qt::NoButton);
  C<QStatusBar>("Header")->showMessage("Attente de synchronisation");
  Deplace(temps, 301, Masse(1), Qt::NoButton);
  EXPECT_EQ(Statut(), "Masse voie 1");
  Deplace(temps, 301, Masse(1) + 20, Qt::NoButton);
  C<QStatusBar>("Header")->showMessage("Attente de synchronisation");
  Deplace(temps, 302, Masse(1) + 20, Qt::NoButton);  // over nothing: left alone
  EXPECT_EQ(Statut(), "Attente de synchronisation");

  // the lower graph: the labels of the graph the mode shows
  for (ModeAffichage m : {ModeAffichage::Spectre, ModeAffichage::Zelm}) {
    SCOPED_TRACE(int(m));
    Mode(m);
    const int x = PremiereEtiquette(m), bas = ZoneBas(m).Bottom;
    Deplace(zelm, x + 3, bas + 5, Qt::NoButton);
    EXPECT_EQ(Statut(), "Modification d'échelle");
    EXPECT_EQ(zelm->cursor().shape(), Qt::SplitHCursor);
    Deplace(zelm, x + 3, bas - 5, Qt::NoButton);  // above the axis
    EXPECT_EQ(Statut(), "");
    EXPECT_EQ(zelm->cursor().shape(), Qt::ArrowCursor);
  }
}

TEST_F(Glissement, UnClicSurLeGrapheTemporelRelanceEnModeLibre) {
  Virtuel().SynchroAbsente(true);  // no frame ever completes: only the click arms
  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroVoie1);
  C<QCheckBox>("MonocoupCB")->click();  // free-running
  ASSERT_TRUE(f->Cycle().EnAcquisition());
  auto *statut = C<QStatusBar>("Header");
  statut->clearMessage();
  Appuie(temps, 300, 20);
  Relache(temps, 300, 20);
  EXPECT_EQ(Statut(), "Attente de synchronisation");
  EXPECT_TRUE(f->Cycle().EnAcquisition());
  statut->clearMessage();
  Appuie(temps, 300, Masse(1));  // a drag stops the acquisition, its release arms again
  EXPECT_FALSE(f->Cycle().EnAcquisition());
  Deplace(temps, 300, Masse(1) - 40);
  Relache(temps, 300, Masse(1) - 40);
  EXPECT_EQ(Statut(), "Attente de synchronisation");
  EXPECT_TRUE(f->Cycle().EnAcquisition());

  C<QCheckBox>("MonocoupCB")->click();
  f->ArreteAcquisition();
  statut->clearMessage();
  Appuie(temps, 300, 20);
  Relache(temps, 300, 20);
  EXPECT_EQ(Statut(), "");  // single shot: nothing armed
  EXPECT_FALSE(f->Cycle().EnAcquisition());
}

TEST_F(Glissement, UneGraduationTireeJusquAuBordGaucheNeChangeRien) {
  C<QSlider>("FFTtrackBar")->setValue(3);  // 512 lines
  struct Cas { ModeAffichage m; double plafond; } cas[] = {{ModeAffichage::Spectre, 4096},
                                                          {ModeAffichage::Zelm, 100000}};
  for (auto [m, plafond] : cas) {
    SCOPED_TRACE(int(m));
    Mode(m);
    const double avant = Maximum(m);
    const int gauche = ZoneBas(m).Left, y = ZoneBas(m).Bottom + 5;
    Appuie(zelm, PremiereEtiquette(m), y);
    EXPECT_EQ(Statut(), "Modification d'échelle");
    EXPECT_EQ(zelm->cursor().shape(),
              m == ModeAffichage::Spectre ? Qt::SplitHCursor : Qt::SizeHorCursor);
    for (int x : {gauche, gauche - 10, 0, -40}) {
      Deplace(zelm, x, y);
      EXPECT_EQ(Maximum(m), avant) << "x " << x;
    }
    Deplace(zelm, gauche + 1, y);  // just right of it: the stretch is at its largest
    EXPECT_EQ(Maximum(m), plafond);
    Relache(zelm, gauche + 1, y);
    EXPECT_EQ(Statut(), "");
    EXPECT_EQ(zelm->cursor().shape(), Qt::ArrowCursor);
  }
}

TEST_F(Glissement, UnPasDEchelleAttendQuatrePixelsDepuisLeDernier) {
  C<QSlider>("FFTtrackBar")->setValue(3);
  for (ModeAffichage m : {ModeAffichage::Spectre, ModeAffichage::Zelm}) {
    SCOPED_TRACE(int(m));
    Mode(m);
    const double avant = Maximum(m);
    const int x = PremiereEtiquette(m), y = ZoneBas(m).Bottom + 5;
    Appuie(zelm, x, y);
    Deplace(zelm, x + 3, y);
    EXPECT_EQ(Maximum(m), avant);
    Deplace(zelm, x + 4, y);
    const double apres = Maximum(m);
    EXPECT_LT(apres, avant);
    Deplace(zelm, x + 7, y);  // 3 from the step, 7 from the start
    EXPECT_EQ(Maximum(m), apres);
    Deplace(zelm, x + 4, y, Qt::NoButton);  // a move without the button steps nothing
    Deplace(zelm, x + 30, y, Qt::NoButton);
    EXPECT_EQ(Maximum(m), apres);
    Relache(zelm, x + 30, y);
  }
}

TEST_F(Glissement, UneGraduationTireeResteDansSesLimites) {
  struct Cas { ModeAffichage m; double plancher, plafond; } cas[] = {
      {ModeAffichage::Spectre, 16, 4096}, {ModeAffichage::Zelm, 10, 100000}};
  for (auto [m, plancher, plafond] : cas) {
    SCOPED_TRACE(int(m));
    Mode(m);
    const int y = ZoneBas(m).Bottom + 5, droite = zelm->width() - 2;
    // to the right, drag after drag: the maximum comes down to its floor and stays there
    for (int i = 0; i < 12; ++i) {
      Glisse(zelm, PremiereEtiquette(m), y, droite, y);
      EXPECT_GE(Maximum(m), plancher);
    }
    EXPECT_EQ(Maximum(m), plancher);
    // and to the left: up to the ceiling, not past it
    for (int i = 0; i < 6; ++i) {
      Glisse(zelm, PremiereEtiquette(m), y, ZoneBas(m).Left + 1, y);
      EXPECT_LE(Maximum(m), plafond);
    }
    EXPECT_EQ(Maximum(m), plafond);
  }
}
