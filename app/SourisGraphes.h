#pragma once
#include <Qt>
#include <cstdint>
#include <functional>
#include <optional>

#include "FenetreAcquisition.h"
#include "Glissements.h"

class PaintBox;
class TCycleAcquisition;
class TgrapheMesure;
class TgrapheOsc;

// The mouse on the two paint boxes. On the time graph the trigger marker and the
// zero line of each channel shown are dragged up or down, the acquisition paused
// meanwhile; on the lower graph an abscissa label is dragged sideways to change the
// abscissa's maximum (spectrum lines, end frequency). Hovering tells what can be
// taken, in the box's hint, the status bar and the cursor. The settings go to the
// cycle's copy: the device gets them at the next arming.
class TSourisGraphes {
 public:
  TSourisGraphes(FenetreAcquisition &fenetre, TCycleAcquisition &cycle, PaintBox &tempsBox,
                 PaintBox &zelmBox, TgrapheOsc &temps, TgrapheOsc &spectre, TgrapheMesure &zelm);

  // How the window takes a new spectrum line count.
  std::function<void(int)> ChangeNbHarmoniques;

  void TempsPaintBoxMouseDown(Qt::MouseButton bouton, Qt::MouseButtons boutons, int32_t x, int32_t y);
  void TempsPaintBoxMouseMove(Qt::MouseButton bouton, Qt::MouseButtons boutons, int32_t x, int32_t y);
  void TempsPaintBoxMouseUp(Qt::MouseButton bouton, Qt::MouseButtons boutons, int32_t x, int32_t y);
  void ZelmPaintBoxMouseDown(Qt::MouseButton bouton, Qt::MouseButtons boutons, int32_t x, int32_t y);
  void ZelmPaintBoxMouseMove(Qt::MouseButton bouton, Qt::MouseButtons boutons, int32_t x, int32_t y);
  void ZelmPaintBoxMouseUp(Qt::MouseButton bouton, Qt::MouseButtons boutons, int32_t x, int32_t y);

  // The time graph was drawn again: the drag line under way goes on the new picture.
  void TempsRepeint();

  GenreGlissement GlissementTemps() const { return genreTemps_; }
  GenreGlissement GlissementZelm() const { return genreZelm_; }

 private:
  CiblesTemps Cibles() const;
  // Colour and end of the drag line, from the drag's kind and the graph as drawn.
  void PrepareLigne();
  // Draws or erases (the same call again) the drag line at the drag point.
  void BasculeLigne();
  void EffaceLigne();
  void MontreHint(PaintBox &box, GenreGlissement g);
  void PasEchelle(int32_t x);
  // The lower graph of the mode, none in the oscilloscope mode.
  bool ToucheEtiquette(int32_t x, int32_t y) const;

  FenetreAcquisition &f_;
  TCycleAcquisition &cycle_;
  PaintBox &tempsBox_, &zelmBox_;
  TgrapheOsc &temps_, &spectre_;
  TgrapheMesure &zelm_;

  GenreGlissement genreTemps_ = GlisseAucun, genreZelm_ = GlisseAucun;
  struct Ligne {
    int32_t y = 0;          // row of the drag point
    uint32_t couleur = 0;   // 0x00BBGGRR
    int32_t fin = 0;        // last column
    bool tracee = false;    // on the picture now
  } ligne_;
  GlissementEchelle echelle_;
  ModeAffichage modeEchelle_ = ModeAffichage::Spectre;  // the mode the scale drag began in
  bool surEtiquette_ = false;  // hovering showed the scale text
};
