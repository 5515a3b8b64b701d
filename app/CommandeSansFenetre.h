#pragma once
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "AccesGenerateurs.h"
#include "Boites.h"
#include "FenetreAcquisition.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "TravailAppareil.h"

class LienAppareil;
class TCycleAcquisition;

// What `zelm --sweep` and `zelm --acquire` share: the window's acquisition cycle
// on the device thread with no window, lines of text handed over as they come,
// one end. The zero corrections come from the settings file when there is one;
// that file is never written.
class CommandeSansFenetre : protected FenetreAcquisition {
 public:
  ~CommandeSansFenetre() override;

  // The header line, then the command's lines.
  std::function<void(const QString &ligne)> Ligne;
  // Once, at the end: 0 and no message when everything asked for was done.
  std::function<void(int statut, const QString &message)> Fin;

  // Writes the header and opens the oscilloscope (from the event loop).
  void Demarre();
  // Ctrl+C: the command ends, what was written is kept.
  virtual void Interromps() = 0;
  // The graph of what was measured, drawn at `taille` into a .png file; returns
  // what went wrong, or an empty text.
  QString EnregistreImage(const QString &chemin, QSize taille);

  LienAppareil &Appareil() { return *lien_; }
  const TgrapheOsc &Temps() const { return temps_; }
  const TgrapheMesure &Diagramme() const { return zelm_; }

 protected:
  CommandeSansFenetre(AccesGenerateurs &generateurs, std::string fichierConfig);

  virtual QString TexteEnTete() const = 0;
  // The oscilloscope is open, its corrections loaded.
  virtual void Connecte() = 0;
  virtual void Generateur(const GenerateurTrouve &) {}
  virtual void GenerateurDisparu() {}
  // What was done when the command ends early, for its message ("" or " après ...").
  virtual QString Avancement() const { return {}; }
  virtual void Dessine(QImage &image) = 0;
  // What the command stops on the device when it ends.
  virtual void Arrete() = 0;
  void Termine(int statut, const QString &message);
  // Ends the device thread: the first thing a subclass's destructor does, before
  // the parts it reports to go.
  void FinitAppareil();
  bool Fini() const { return fini_; }
  TCycleAcquisition &Cycle() { return *cycle_; }
  // The last box's text: nothing waits on a user here.
  const QString &DerniereBoite() const { return boites_.dernier; }

  // FenetreAcquisition: no controls, nothing shown
  bool Monocoup() const override { return false; }
  int NbHarmoniques() const override { return 4096; }
  bool ArmementPermis() const override { return !fini_; }
  void MontreArme(bool) override {}
  void AfficheStatut(const QString &) override {}
  void RepeintTemps() override {}
  void RepeintZelm() override {}
  QImage &ImageZelm() override { return image_; }
  void MontreImageZelm() override {}
  void AjusteAffichage() override {}
  void AjusteBoutons() override {}
  void DesactiveEnregistre() override {}
  void MontreReglages() override {}
  void DecocheMonocoup() override {}
  void MontreErreurDeMesure(int) override {}
  bool MesuresAEcran() const override { return false; }
  void MontreLectures() override {}

  TgrapheOsc temps_, spectre_;
  TgrapheMesure zelm_;

 private:
  void Recoit(ResultatAppareil &&r);
  void Connexion(const EtatConnexion &e);

  class BoitesEnLigne final : public Boites {
   public:
    QString dernier;
    void Message(const QString &texte) override { dernier = texte; }
    void Erreur(const QString &texte) override { dernier = texte; }
    bool Confirme(const QString &texte) override { return (dernier = texte), true; }
    bool ConfirmeOkAnnuler(const QString &texte) override { return (dernier = texte), true; }
    bool Execute(QDialog &) override { return false; }
  };

  std::string fichierConfig_;
  QImage image_;
  BoitesEnLigne boites_;
  Boites *precedentes_;
  bool fini_ = false;
  std::unique_ptr<LienAppareil> lien_;
  std::unique_ptr<TCycleAcquisition> cycle_;
};
