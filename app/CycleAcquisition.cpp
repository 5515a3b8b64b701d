#include "CycleAcquisition.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "Controles.h"
#include "PaintBox.h"
#include "ReglageAuto.h"
#include "TZelmMainForm.h"

double PeriodeEchantillonnage = 1.0;
double PasFrequence = 100.0;

namespace {

constexpr int TrameComplete = TOscillo::NbEchantillonsMax;

// Every sample count the graphs get fits their 8193 slots.
uint16_t CompteBorne(int n) { return uint16_t(std::clamp(n, 0, TrameComplete)); }

void TraiteMessages() { QCoreApplication::processEvents(); }

}  // namespace

void TCycleAcquisition::LanceAcquisition() {
  if (f_.Fermeture || f_.EnCorrection() || !f_.Oscillo) return;
  f_.EnAcquisition = true;
  f_.Header->showMessage(QStringLiteral("Attente de synchronisation"));
  f_.ArmeBtn->hide();
  f_.Oscillo->SetAlim(true);
  f_.ArretDemande = false;
  f_.Oscillo->Lance();
  f_.Timer->start();
}

void TCycleAcquisition::ArreteAcquisition() {
  if (f_.EnAcquisition && f_.Oscillo) {
    f_.ArretDemande = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    f_.Oscillo->Stoppe();
    QApplication::restoreOverrideCursor();
    f_.EnAcquisition = false;
  }
  f_.ArmeBtn->show();
}

void TCycleAcquisition::TimerTimer() {
  // handlers run while the tick lets messages through and may start the timer again
  if (dansTick_ || !f_.Oscillo) return;
  dansTick_ = true;
  f_.Timer->stop();
  TOscillo &o = *f_.Oscillo;
  if (!f_.ArretDemande) {
    int avant;
    do {
      avant = o.NbEchantillons;
      o.LitDonnees();
      TraiteMessages();
    } while (o.NbEchantillons > avant && !f_.ArretDemande);
    if (o.NbEchantillons >= TrameComplete || f_.ArretDemande) {
      o.Stoppe();
      if (!f_.ArretDemande) FinAcquisition();
    }
  }
  if (!f_.ArretDemande && !f_.Fermeture) f_.Timer->start();
  else f_.Timer->stop();
  dansTick_ = false;
  f_.LibereOscilloSiLibre();  // after a close, the oscilloscope the tick held on to
}

void TCycleAcquisition::FinAcquisition() {
  TOscillo &o = *f_.Oscillo;
  f_.ArmeBtn->show();
  TgrapheOsc &g = f_.GrapheTemps;
  o.CalculeSignaux(g.Abscisse.Valeurs.data(), g.Voie(1).Valeurs.data(),
                   g.Voie(2).Valeurs.data());
  g.NbPoints = CompteBorne(o.NbPoints());
  f_.EnAcquisition = false;
  f_.TempsPaintBox->Repeint();
  if (f_.Mode() >= 1) AnalyseTrame();
  f_.AjusteBoutons();
  TraiteMessages();
  if (f_.ReglageAuto) {
    // before the single-shot test: the configuration runs whatever "Monocoup" says
    EtapeReglageAuto();
  } else if (f_.MonocoupCB->isChecked()) {
    if (f_.Oscillo) f_.Oscillo->SetAlim(false);
  } else {
    LanceAcquisition();
  }
}

void TCycleAcquisition::AnalyseTrame() {
  TgrapheOsc &g = f_.GrapheTemps;
  const auto &t = g.Abscisse.Valeurs;
  PeriodeEchantillonnage = t[1] - t[0];
  g.OrigineTemps = -t[0];
  const uint16_t n = CompteBorne(f_.Oscillo->NbEchantillons);
  for (int c : {1, 2}) {
    g.Voie(c).AnalyseCourbe(n);
    f_.GrapheSpectre.Voie(c).Valeurs = g.Voie(c).Spectre;
  }
  f_.GrapheSpectre.NbPoints = CompteBorne(f_.NbHarmoniques);
  const int m = f_.Mode();
  if (m == 1) f_.ZelmPaintBox->Repeint();
  else if (m >= 2) MesuresZelm();
}

void TCycleAcquisition::MesuresZelm() {
  if (f_.RedessinDiffere) f_.ZelmPaintBox->Repeint();
  TgrapheMesure &z = f_.GrapheZelm;
  QImage &image = f_.ZelmPaintBox->Image();
  const TgrapheOsc &g = f_.GrapheTemps;
  z.Cursor(image);  // erases the crosses of the previous values
  for (auto &c : z.Courbes)
    if (c.Active) c.CalculMesure(g.Voie1, g.Voie2, PeriodeEchantillonnage);
  z.Cursor(image);  // draws the new ones and writes the value labels
  f_.ZelmPaintBox->update();
}

void TCycleAcquisition::TempsPaintBoxPaint() {
  if (!f_.Oscillo) return;
  TOscillo &o = *f_.Oscillo;
  TgrapheOsc &g = f_.GrapheTemps;
  for (int c : {1, 2}) {
    g.Voie(c).Maxi = o.TensionMax(c);
    g.Voie(c).Mini = o.TensionMin(c);
    g.Voie(c).Active = o.Couplage[size_t(c)] != CouplageGND;
  }
  g.NiveauSeuil = o.Seuil;
  g.VoieSeuil = o.Synchro == 1 || o.Synchro == 2 ? uint8_t(o.Synchro) : 0;
  if (g.NbPoints > 0) {
    g.Abscisse.Mini = g.Abscisse.Valeurs[0];
    g.Abscisse.Maxi = g.Abscisse.Valeurs[g.NbPoints - 1u];
    if (g.Abscisse.Maxi - g.Abscisse.Mini <= 1e-6) g.Abscisse.Maxi = g.Abscisse.Mini + 1e-6;
  }
  g.Draw(f_.TempsPaintBox->Image());
}

void TCycleAcquisition::ZelmPaintBoxPaint() {
  if (f_.EnAcquisition) {
    f_.RedessinDiffere = true;
    return;
  }
  if (!f_.Oscillo) return;
  const int m = f_.Mode();
  if (m == 0) return;  // nothing drawn: a repaint still owed stays owed
  TOscillo &o = *f_.Oscillo;
  if (m == 1) {
    TgrapheOsc &s = f_.GrapheSpectre;
    PasFrequence = s.NbPoints > 0 ? 1 / (TrameComplete * PeriodeEchantillonnage) : 1.0;
    s.PasFrequence = PasFrequence;
    s.Abscisse.Mini = 0;
    s.Abscisse.Maxi = f_.NbHarmoniques * PasFrequence;
    for (int c : {1, 2}) {
      s.Voie(c).Active = o.Couplage[size_t(c)] != CouplageGND;
      s.Voie(c).Mini = 0;
      s.Voie(c).Maxi = (o.TensionMax(c) - o.TensionMin(c)) / 2;
    }
    s.Draw(f_.ZelmPaintBox->Image());
  } else {
    TgrapheMesure &z = f_.GrapheZelm;
    for (size_t i = 1; i < z.Courbes.size(); ++i) {
      TCourbeMesure &c = z.Courbes[i];
      if (!c.Active) continue;
      const TCourbeOsc &v = f_.GrapheTemps.Voie(c.VoieMesure);
      c.Mini = 0;
      switch (c.Grandeur) {
        case 1: case 3: c.Maxi = v.Maxi; break;
        case 2: c.Mini = -180; c.Maxi = 180; break;
        case 4: c.Maxi = 1; break;
        case 5: c.Maxi = v.Maxi - v.Mini; break;
        case 6: case 7: c.Maxi = f_.GrapheTemps.Abscisse.Maxi; break;
        default: break;
      }
      if (c.Maxi == 0) c.Maxi = 1;
    }
    z.Draw(f_.ZelmPaintBox->Image());
  }
  f_.RedessinDiffere = false;
}
