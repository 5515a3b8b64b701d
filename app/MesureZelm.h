#pragma once
#include <cstdint>

#include "AccesGenerateurs.h"
#include "Balayage.h"
#include "ListePoints.h"

class FenetreAcquisition;
class TCycleAcquisition;
class TgrapheMesure;
class TgrapheOsc;

// The frequency-response measurement: points taken by hand or by the sweep of
// the generator, each from the values the last frame gave. A sweep point comes
// from a frame armed once the generator plays its frequency and the sweep's
// delay has passed: no point mixes two frequencies.
class TMesureZelm {
 public:
  TMesureZelm(FenetreAcquisition &fenetre, TCycleAcquisition &cycle, const TgrapheOsc &temps,
              TgrapheMesure &zelm);

  // Appends the current values as one point; a refusal is shown and returns false.
  bool AcquiertPoint();
  void UndoBtnClick();
  // Drops every point; with `question`, only when the user says yes.
  void ResetBtnClick(bool question);
  // From point 0, on generator g, with the diagram's sweep settings.
  void DemarreBalayage(GenreGenerateur g);
  // Ends a sweep under way (the caller updates the buttons).
  void ArreteBalayage();
  bool BalayageEnCours() const { return balayage_.EnCours(); }
  const Balayage &BalayageCourant() const { return balayage_; }
  // The cycle has computed the diagram's values of frame `numero`. True while the
  // sweep goes on: it has then armed (or awaits) the frame of its next point.
  bool TimerZelmAutoTimer(uint32_t numero);

  ParametresBalayage ParametresDuDiagramme() const;
  bool Logarithmique = false;  // the sweep's spacing, from the mode dialog
  // Before each sweep point: the time base for two periods of its frequency, and
  // each channel's calibre for the most codes without clipping (a frame is taken
  // again until the calibres hold).
  bool GammesAuto = false;

 private:
  void ReglerFrequence(double f);
  // With GammesAuto: false when the frame's calibres must change first (and a new
  // frame has been asked for).
  bool CalibresTiennent();

  FenetreAcquisition &f_;
  TCycleAcquisition &cycle_;
  const TgrapheOsc &temps_;
  TgrapheMesure &zelm_;
  ListePoints points_;
  Balayage balayage_;
  GenreGenerateur generateur_ = GenreGenerateur::Aucun;
  uint32_t attendue_ = 0;  // the first frame whose values make the next point
  int reprises_ = 0;       // frames taken again for the calibres of this point
};
