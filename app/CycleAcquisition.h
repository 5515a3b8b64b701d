#pragma once
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "ReglagesAcquis.h"
#include "TravailAppareil.h"

class FenetreAcquisition;
class QImage;
class TgrapheMesure;
class TgrapheOsc;
struct VoieAuto;

// The acquisition cycle: arming, the complete frames the device thread hands
// over, their analysis and display, the 100 ms tick that processes a held frame
// again, and the automatic configuration, a small state machine over frames. It
// keeps the settings the device is armed with and works on the three graphs; it
// reaches the window only through FenetreAcquisition.
class TCycleAcquisition {
 public:
  TCycleAcquisition(FenetreAcquisition &fenetre, TravailAppareil &travail, TgrapheOsc &temps,
                    TgrapheOsc &spectre, TgrapheMesure &zelm);

  // The settings of the next arming; handlers change them, the device gets them then.
  ReglagesAcquis &Reglages() { return reglages_; }
  const ReglagesAcquis &Reglages() const { return reglages_; }

  void LanceAcquisition();
  void ArreteAcquisition();
  // The cycle's part of the stop button: abandon, timer off, no automatic configuration.
  void Arrete();
  // Re-arms an acquisition under way, so that a changed setting reaches the device.
  void ReArme();
  // Arms once generator g plays f and `delaiMs` have passed; returns the arming's
  // number (0: arming is not permitted now): its frame, or a later one, is all at f.
  uint32_t ArmeApresGenerateur(GenreGenerateur g, double f, int delaiMs);
  // Arms again at once, whatever is under way; returns the arming's number (0: not
  // permitted now).
  uint32_t ArmeDeNouveau();
  // Called with a frame's number once the diagram's values of that frame are computed;
  // true when it has armed the next acquisition itself (the cycle then does not).
  std::function<bool(uint32_t numero)> ValeursCalculees;
  // A frame from the device thread; one of an earlier arming is dropped.
  void TrameRecue(Trame trame);
  void TimerTimer();
  // Scales, shown channels and trigger marker of the graphs, from the settings,
  // the mode and the spectrum line count: at each frame and after each change.
  void PrepareEchelles();
  void TempsPaintBoxPaint(QImage &image);
  void ZelmPaintBoxPaint(QImage &image);
  void autosetBtnClick();

  bool EnAcquisition() const { return enAcquisition_; }
  bool ArretDemande() const { return arretDemande_; }
  bool ReglageAuto() const { return reglageAuto_; }
  bool RedessinDiffere() const { return redessinDiffere_; }
  bool TimerActif() const { return timer_.isActive(); }
  // Frames processed since the start (a held frame processed again counts).
  int NbTraitements() const { return nbTraitements_; }
  // Seconds between two samples of the last frame analysed.
  double PeriodeEchantillonnage() const { return periode_; }

 private:
  bool PrepareArmement();
  void FinAcquisition(const Trame &t);
  void AnalyseTrame(const Trame &t);
  void MesuresZelm(uint32_t numero);
  void EtapeReglageAuto();
  void DernierPasReglageAuto(const std::array<VoieAuto, 3> &voies);

  FenetreAcquisition &f_;
  TravailAppareil &travail_;
  TgrapheOsc &temps_, &spectre_;
  TgrapheMesure &zelm_;
  QTimer timer_;
  ReglagesAcquis reglages_;
  std::optional<Trame> tenue_;  // the last complete frame
  uint32_t numero_ = 0;         // of the last arming
  bool enAcquisition_ = false, arretDemande_ = false, reglageAuto_ = false,
       redessinDiffere_ = false;
  double periode_ = 1.0;
  std::optional<uint32_t> dernieresValeurs_;  // the frame whose diagram values were just computed
  int nbTraitements_ = 0;
};
