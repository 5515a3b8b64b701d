#pragma once
#include <QString>
#include <string>

#include "CommandeSansFenetre.h"

// One frame of both channels for `zelm --acquire`: "Config. auto" chooses the
// calibres, couplings and trigger (and the time base unless one is given), then the
// next frame is written, a sample per line, and drawn on request as the time graph.
class AcquisitionEnLigne final : public CommandeSansFenetre {
 public:
  // `baseDeTemps`: an index of the time-base table, or -1 for the automatic one.
  AcquisitionEnLigne(AccesGenerateurs &generateurs, int baseDeTemps, std::string fichierConfig);
  ~AcquisitionEnLigne() override;

  // Lines after the header: time (s), channel 1 (V), channel 2 (V).
  static QString EnTete();
  void Interromps() override;

 private:
  enum class Etape { Ouverture, Reglage, Mesure };

  QString TexteEnTete() const override { return EnTete(); }
  void Connecte() override;
  void Dessine(QImage &image) override;
  void Arrete() override {}

  ModeAffichage Mode() const override { return ModeAffichage::Oscilloscope; }
  bool Monocoup() const override { return etape_ == Etape::Mesure; }
  void MontreReglages() override;  // the automatic configuration is over
  void RepeintTemps() override;    // a frame is there

  int baseDeTemps_;
  Etape etape_ = Etape::Ouverture;
};
