#pragma once
#include <QString>

class QImage;

// The display mode: the mode list's item index, and the settings file's value.
enum class ModeAffichage : int { Oscilloscope = 0, Spectre = 1, Zelm = 2, ZelmAutomatique = 3 };

// Modes that analyse each frame, and those that show the response diagram.
inline bool AnalyseLesTrames(ModeAffichage m) { return m != ModeAffichage::Oscilloscope; }
inline bool MontreLeDiagramme(ModeAffichage m) {
  return m == ModeAffichage::Zelm || m == ModeAffichage::ZelmAutomatique;
}

// What the acquisition cycle and the frequency-response measurement need of the
// window that shows them: the few controls
// it reads or shows, the two paint boxes, and the window's own updates.
class FenetreAcquisition {
 public:
  virtual ~FenetreAcquisition() = default;

  virtual ModeAffichage Mode() const = 0;
  virtual bool Monocoup() const = 0;     // "Monocoup" is checked
  virtual int NbHarmoniques() const = 0;  // spectrum lines shown
  // False while closing or while the zero-offset correction runs.
  virtual bool ArmementPermis() const = 0;

  virtual void MontreArme(bool visible) = 0;  // the play button
  virtual void AfficheStatut(const QString &texte) = 0;
  virtual void RepeintTemps() = 0;
  virtual void RepeintZelm() = 0;
  // The lower paint box's image, for the cursor's inverting drawing, then shown.
  virtual QImage &ImageZelm() = 0;
  virtual void MontreImageZelm() = 0;

  virtual void AjusteAffichage() = 0;
  virtual void AjusteBoutons() = 0;
  virtual void DesactiveEnregistre() = 0;
  // The settings panel shows the cycle's settings, without running its handlers.
  virtual void MontreReglages() = 0;
  virtual void DecocheMonocoup() = 0;
  // The value label of measurement curve i says that its channel gave no value.
  virtual void MontreErreurDeMesure(int i) = 0;
  // "Mesures à l'écran": frames are analysed in every mode, and their readouts shown.
  virtual bool MesuresAEcran() const = 0;
  virtual void MontreLectures() = 0;
};
