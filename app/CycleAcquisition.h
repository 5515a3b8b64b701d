#pragma once
#include <array>

class TZelmMainForm;
struct VoieAuto;

// Seconds between two samples of the last frame analysed, and hertz per spectrum line.
extern double PeriodeEchantillonnage;
extern double PasFrequence;

// The acquisition cycle of the main window: arming, the 100 ms tick that
// gathers bursts, the processing of a complete frame, the two paint handlers
// and the automatic configuration, a small state machine over frames. It works
// on the window's flags, controls, oscilloscope and graphs.
class TCycleAcquisition {
 public:
  explicit TCycleAcquisition(TZelmMainForm &f) : f_(f) {}

  void LanceAcquisition();
  void ArreteAcquisition();
  void TimerTimer();
  void FinAcquisition();
  void TempsPaintBoxPaint();
  void ZelmPaintBoxPaint();
  void autosetBtnClick();
  void EtapeReglageAuto();

  // A tick is running (possibly paused in the processing of pending messages).
  bool DansTick() const { return dansTick_; }

 private:
  void AnalyseTrame();
  void MesuresZelm();
  void DernierPasReglageAuto(const std::array<VoieAuto, 3> &voies);
  TZelmMainForm &f_;
  bool dansTick_ = false;
};
