#include "AcquisitionEnLigne.h"

#include "CycleAcquisition.h"
#include "NombresEnLigne.h"

AcquisitionEnLigne::AcquisitionEnLigne(AccesGenerateurs &generateurs, int baseDeTemps,
                                       std::string fichierConfig)
    : CommandeSansFenetre(generateurs, std::move(fichierConfig)), baseDeTemps_(baseDeTemps) {}

AcquisitionEnLigne::~AcquisitionEnLigne() { FinitAppareil(); }

QString AcquisitionEnLigne::EnTete() {
  return QStringLiteral("temps (s)\tvoie 1 (V)\tvoie 2 (V)");
}

void AcquisitionEnLigne::Interromps() {
  Termine(1, etape_ == Etape::Mesure ? QStringLiteral("acquisition interrompue")
                                     : QStringLiteral("acquisition interrompue pendant le réglage"));
}

void AcquisitionEnLigne::Connecte() {
  etape_ = Etape::Reglage;
  Cycle().autosetBtnClick();
}

// The configuration's last frame was taken on its own trial settings: the frame
// written is the next one, armed here on the settings chosen.
void AcquisitionEnLigne::MontreReglages() {
  if (etape_ != Etape::Reglage) return;
  etape_ = Etape::Mesure;
  if (baseDeTemps_ >= 0) Cycle().Reglages().SetDuree(baseDeTemps_);
  if (Cycle().ArmeDeNouveau() == 0) Termine(1, QStringLiteral("acquisition impossible"));
}

void AcquisitionEnLigne::RepeintTemps() {
  if (etape_ != Etape::Mesure || Fini()) return;
  // frames of another arming are dropped before they come here
  for (int k = 0; k < temps_.NbPoints; ++k) {
    const size_t i = size_t(k);
    if (Ligne)
      Ligne(NombreEnLigne(temps_.Abscisse.Valeurs[i]) + QLatin1Char('\t') +
            NombreEnLigne(temps_.Voie1.Valeurs[i]) + QLatin1Char('\t') +
            NombreEnLigne(temps_.Voie2.Valeurs[i]));
  }
  Termine(0, {});
}

// The time graph as the window shows it after the frame.
void AcquisitionEnLigne::Dessine(QImage &image) { temps_.Draw(image); }
