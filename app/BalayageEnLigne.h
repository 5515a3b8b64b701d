#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "CommandeSansFenetre.h"
#include "OptionsLancement.h"

class TMesureZelm;

// The frequency-response sweep of `zelm --sweep`: the window's sweep on the device
// thread, automatic ranges, each point handed over as a line of text as soon as it
// is taken.
class BalayageEnLigne final : public CommandeSansFenetre {
 public:
  BalayageEnLigne(AccesGenerateurs &generateurs, const BalayageDemande &demande,
                  std::string fichierConfig);
  ~BalayageEnLigne() override;

  // Lines after the header: measured frequency (Hz), RMS of channel 1 and 2 (V),
  // gain 2/1, phase of channel 2 against 1 (degrees).
  static QString EnTete();
  // Point k of n is taken.
  std::function<void(int k, int n, double frequence)> Progression;

  void Interromps() override;

 private:
  QString TexteEnTete() const override { return EnTete(); }
  void Connecte() override;
  void Generateur(const GenerateurTrouve &g) override;
  void GenerateurDisparu() override;
  QString Avancement() const override;
  void Dessine(QImage &image) override;
  void Arrete() override;

  ModeAffichage Mode() const override { return ModeAffichage::ZelmAutomatique; }
  void RepeintZelm() override;  // a point may have been taken
  void AjusteBoutons() override;  // the sweep may have ended
  void MontreErreurDeMesure(int i) override { erreur_ = i; }

  BalayageDemande demande_;
  GenreGenerateur generateur_ = GenreGenerateur::Aucun;
  int ecrits_ = 0;     // points handed over
  int erreur_ = -1;    // the curve of the last refused point
  bool demarre_ = false;
  std::unique_ptr<TMesureZelm> mesure_;
};
