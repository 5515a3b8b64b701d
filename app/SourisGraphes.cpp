#include "SourisGraphes.h"

#include <QPainter>
#include <utility>

#include "CycleAcquisition.h"
#include "Dessin.h"
#include "FenetreAcquisition.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "PaintBox.h"
#include "SaisieGrecque.h"

namespace {

QString TexteGlissement(GenreGlissement g) {
  switch (g) {
    case GlisseSeuil: return QStringLiteral("Seuil de synchronisation");
    case GlisseMasse1: return QStringLiteral("Masse voie ") + QLatin1Char('1');
    case GlisseMasse2: return QStringLiteral("Masse voie ") + QLatin1Char('2');
    case GlisseEchelle: return QStringLiteral("Modification d'échelle");
    default: return QString();
  }
}

}  // namespace

TSourisGraphes::TSourisGraphes(FenetreAcquisition &fenetre, TCycleAcquisition &cycle,
                               PaintBox &tempsBox, PaintBox &zelmBox, TgrapheOsc &temps,
                               TgrapheOsc &spectre, TgrapheMesure &zelm)
    : f_(fenetre), cycle_(cycle), tempsBox_(tempsBox), zelmBox_(zelmBox), temps_(temps),
      spectre_(spectre), zelm_(zelm) {}

// --- time graph ---

CiblesTemps TSourisGraphes::Cibles() const {
  CiblesTemps c;
  // a grounded channel draws no zero line: there is none to take
  if (temps_.Voie1.Active) c.masse1 = temps_.Voie1.ValeurEnPixel(0);
  if (temps_.Voie2.Active) c.masse2 = temps_.Voie2.ValeurEnPixel(0);
  c.voieSeuil = cycle_.Reglages().VoieSeuil();
  c.ligneSeuil = temps_.LigneSeuil;
  c.gauche = temps_.Client.Left;
  c.droite = temps_.Client.Right;
  return c;
}

void TSourisGraphes::MontreHint(PaintBox &box, GenreGlissement g) {
  const QString texte = TexteGlissement(g);
  const bool change = box.statusTip() != texte;
  if (change) DefinitHint(&box, texte);
  // moving over nothing leaves the status bar to the acquisition's own texts
  if (change || !texte.isEmpty()) f_.AfficheStatut(texte);
}

void TSourisGraphes::PrepareLigne() {
  if (genreTemps_ == GlisseSeuil) {
    const int voie = cycle_.Reglages().VoieSeuil();
    ligne_.couleur = temps_.Voie(voie == 2 ? 2 : 1).Couleur;
    ligne_.fin = temps_.Zone.Left;  // a mark in the left margin
  } else {
    ligne_.couleur = temps_.Voie(genreTemps_ == GlisseMasse2 ? 2 : 1).Couleur;
    ligne_.fin = tempsBox_.Image().width();
  }
}

// Inverting pixels: drawn twice, the line is gone and the picture as it was.
void TSourisGraphes::BasculeLigne() {
  QImage &image = tempsBox_.Image();
  {
    QPainter p(&image);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(QPen(CouleurQt(ligne_.couleur), 1));
    p.drawLine(0, ligne_.y, ligne_.fin, ligne_.y);
  }
  ligne_.tracee = !ligne_.tracee;
  tempsBox_.update();
}

void TSourisGraphes::EffaceLigne() {
  if (ligne_.tracee) BasculeLigne();
}

void TSourisGraphes::TempsRepeint() {
  ligne_.tracee = false;  // a new picture
  if (genreTemps_ == GlisseAucun) return;
  PrepareLigne();
  BasculeLigne();
}

void TSourisGraphes::TempsPaintBoxMouseDown(Qt::MouseButton bouton, Qt::MouseButtons, int32_t x,
                                            int32_t y) {
  if (genreTemps_ != GlisseAucun) return;  // another button during a drag
  ligne_.y = y;
  if (bouton != Qt::LeftButton) return;
  genreTemps_ = PriseTemps(Cibles(), x, y);
  if (genreTemps_ == GlisseAucun) return;
  PrepareLigne();
  BasculeLigne();
  MontreHint(tempsBox_, genreTemps_);
  cycle_.ArreteAcquisition();
}

void TSourisGraphes::TempsPaintBoxMouseMove(Qt::MouseButton, Qt::MouseButtons boutons, int32_t x,
                                            int32_t y) {
  if (genreTemps_ == GlisseAucun) {
    const GenreGlissement g = PriseTemps(Cibles(), x, y);
    tempsBox_.setCursor(g == GlisseAucun ? Qt::ArrowCursor : Qt::SplitVCursor);
    MontreHint(tempsBox_, g);
    return;
  }
  if (!(boutons & Qt::LeftButton)) return;
  EffaceLigne();
  ligne_.y = y;
  BasculeLigne();
}

void TSourisGraphes::TempsPaintBoxMouseUp(Qt::MouseButton bouton, Qt::MouseButtons, int32_t,
                                          int32_t y) {
  if (genreTemps_ != GlisseAucun && bouton != Qt::LeftButton) return;
  EffaceLigne();
  DefinitHint(&tempsBox_, QString());
  f_.AfficheStatut(QString());
  const GenreGlissement g = std::exchange(genreTemps_, GlisseAucun);
  ReglagesAcquis &r = cycle_.Reglages();
  if (g == GlisseSeuil) {
    if (const int voie = r.VoieSeuil()) {
      const int niveau = NiveauSeuilPixel(temps_.Voie(voie), y);
      r.SetSeuil(niveau);
      f_.AjusteAffichage();  // the marker is drawn from the settings
    }
  } else if (g == GlisseMasse1 || g == GlisseMasse2) {
    const int voie = g == GlisseMasse1 ? 1 : 2;
    if (const std::optional<int> code = CodeZeroPixel(temps_.Voie(voie), y)) r.SetZero(voie, *code);
    f_.AjusteAffichage();
  }
  // dragged or not: a click starts the acquisition again
  if (!f_.Monocoup()) {
    cycle_.ArreteAcquisition();
    cycle_.LanceAcquisition();
  }
}

// --- lower graph ---

bool TSourisGraphes::ToucheEtiquette(int32_t x, int32_t y) const {
  const ModeAffichage m = f_.Mode();
  if (m == ModeAffichage::Spectre) return spectre_.ToucheEtiquette(x, y);
  return MontreLeDiagramme(m) && zelm_.ToucheEtiquette(x, y);
}

void TSourisGraphes::ZelmPaintBoxMouseDown(Qt::MouseButton bouton, Qt::MouseButtons, int32_t x,
                                           int32_t y) {
  if (genreZelm_ != GlisseAucun) return;  // another button during a drag
  zelmBox_.setCursor(Qt::ArrowCursor);
  f_.AfficheStatut(QString());
  surEtiquette_ = false;
  if (bouton != Qt::LeftButton) return;
  const ModeAffichage m = f_.Mode();
  if (m == ModeAffichage::Spectre && spectre_.ToucheEtiquette(x, y)) {
    echelle_ = {x, x, spectre_.Zone.Left, spectre_.Abscisse.Maxi};
    zelmBox_.setCursor(Qt::SplitHCursor);
  } else if (MontreLeDiagramme(m) && zelm_.ToucheEtiquette(x, y)) {
    echelle_ = {x, x, zelm_.Zone.Left, zelm_.Courbes[0].Maxi};
    zelmBox_.setCursor(Qt::SizeHorCursor);
  } else {
    return;
  }
  genreZelm_ = GlisseEchelle;
  modeEchelle_ = m;
  f_.AfficheStatut(TexteGlissement(GlisseEchelle));
}

void TSourisGraphes::PasEchelle(int32_t x) {
  const std::optional<double> r = RapportEchelle(echelle_, x);
  const ModeAffichage m = f_.Mode();
  if (!r || m != modeEchelle_) return;  // a mode changed under the drag keeps its own scale
  if (m == ModeAffichage::Spectre) {
    if (ChangeNbHarmoniques)
      ChangeNbHarmoniques(NbHarmoniquesEchelle(echelle_.maxiDebut, *r, spectre_.PasFrequence));
    cycle_.PrepareEchelles();
  } else {
    TCourbeMesure &frequence = zelm_.Courbes[0];
    const std::optional<double> maxi = FrequenceMaxEchelle(echelle_.maxiDebut, frequence.Mini, *r);
    if (!maxi) return;
    frequence.Maxi = *maxi;
  }
  echelle_.xCourant = x;
  zelmBox_.Repeint();
}

void TSourisGraphes::ZelmPaintBoxMouseMove(Qt::MouseButton, Qt::MouseButtons boutons, int32_t x,
                                           int32_t y) {
  const QString texte = TexteGlissement(GlisseEchelle);
  if (genreZelm_ == GlisseEchelle && (boutons & Qt::LeftButton)) {
    f_.AfficheStatut(texte);
    PasEchelle(x);
  }
  if (ToucheEtiquette(x, y)) {
    f_.AfficheStatut(texte);
    zelmBox_.setCursor(Qt::SplitHCursor);
    surEtiquette_ = true;
  } else if (genreZelm_ == GlisseAucun && surEtiquette_) {
    // off the label again: nothing left to drag
    zelmBox_.setCursor(Qt::ArrowCursor);
    f_.AfficheStatut(QString());
    surEtiquette_ = false;
  }
}

void TSourisGraphes::ZelmPaintBoxMouseUp(Qt::MouseButton bouton, Qt::MouseButtons, int32_t,
                                         int32_t) {
  if (genreZelm_ != GlisseAucun && bouton != Qt::LeftButton) return;
  zelmBox_.setCursor(Qt::ArrowCursor);
  genreZelm_ = GlisseAucun;
  surEtiquette_ = false;
  f_.AfficheStatut(QString());
}
