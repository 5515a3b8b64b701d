#pragma once
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "AccesGenerateurs.h"
#include "Boites.h"
#include "FenetreAcquisition.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "OptionsLancement.h"
#include "TravailAppareil.h"

class LienAppareil;
class TCycleAcquisition;
class TMesureZelm;

// The frequency-response sweep of `zelm --sweep`, with no window: the window's
// acquisition cycle and sweep on the device thread, automatic ranges, each point
// handed over as a line of text as soon as it is taken. The zero corrections come
// from the settings file when there is one; that file is never written.
class BalayageEnLigne : private FenetreAcquisition {
 public:
  BalayageEnLigne(AccesGenerateurs &generateurs, const BalayageDemande &demande,
                  std::string fichierConfig);
  ~BalayageEnLigne() override;

  // The header line, then one line per point: measured frequency (Hz), RMS of
  // channel 1 and 2 (V), gain 2/1, phase of channel 2 against 1 (degrees).
  std::function<void(const QString &ligne)> Ligne;
  // Point k of n is taken.
  std::function<void(int k, int n, double frequence)> Progression;
  // Once, at the end: 0 and no message when every point was taken.
  std::function<void(int statut, const QString &message)> Fin;

  // Opens the oscilloscope, finds the generator and sweeps (from the event loop).
  void Demarre();
  // Ctrl+C: the sweep ends, the points taken are kept.
  void Interromps();

  static QString EnTete();
  const TgrapheMesure &Diagramme() const { return zelm_; }
  LienAppareil &Appareil() { return *lien_; }

 private:
  void Recoit(ResultatAppareil &&r);
  void Connexion(const EtatConnexion &e);
  void Generateur(const GenerateurTrouve &g);
  void Termine(int statut, const QString &message);

  // FenetreAcquisition: no controls, nothing drawn
  ModeAffichage Mode() const override { return ModeAffichage::ZelmAutomatique; }
  bool Monocoup() const override { return false; }
  int NbHarmoniques() const override { return 4096; }
  bool ArmementPermis() const override { return !fini_; }
  void MontreArme(bool) override {}
  void AfficheStatut(const QString &) override {}
  void RepeintTemps() override {}
  void RepeintZelm() override;  // a point may have been taken
  QImage &ImageZelm() override { return image_; }
  void MontreImageZelm() override {}
  void AjusteAffichage() override {}
  void AjusteBoutons() override;  // the sweep may have ended
  void DesactiveEnregistre() override {}
  void MontreReglages() override {}
  void DecocheMonocoup() override {}
  void MontreErreurDeMesure(int i) override { erreur_ = i; }
  bool MesuresAEcran() const override { return false; }
  void MontreLectures() override {}

  // What would be a box in the window ends in the final message; nothing waits on a user.
  class BoitesEnLigne final : public Boites {
   public:
    QString dernier;
    void Message(const QString &texte) override { dernier = texte; }
    void Erreur(const QString &texte) override { dernier = texte; }
    bool Confirme(const QString &texte) override { return (dernier = texte), true; }
    bool ConfirmeOkAnnuler(const QString &texte) override { return (dernier = texte), true; }
    bool Execute(QDialog &) override { return false; }
  };

  BalayageDemande demande_;
  std::string fichierConfig_;
  GenreGenerateur generateur_ = GenreGenerateur::Aucun;
  TgrapheOsc temps_, spectre_;
  TgrapheMesure zelm_;
  QImage image_;
  BoitesEnLigne boites_;
  Boites *precedentes_;
  int ecrits_ = 0;     // points handed over
  int erreur_ = -1;    // the curve of the last refused point
  bool demarre_ = false, fini_ = false;
  std::unique_ptr<LienAppareil> lien_;
  std::unique_ptr<TCycleAcquisition> cycle_;
  std::unique_ptr<TMesureZelm> mesure_;
};
