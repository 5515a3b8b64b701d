#include "CommandeSansFenetre.h"

#include <QSaveFile>

#include "CycleAcquisition.h"
#include "FichierIni.h"
#include "LienAppareil.h"

CommandeSansFenetre::CommandeSansFenetre(AccesGenerateurs &generateurs, std::string fichierConfig)
    : fichierConfig_(std::move(fichierConfig)), image_(320, 200, QImage::Format_RGB32),
      precedentes_(&BoitesCourantes()) {
  DefinitBoites(&boites_);
  lien_ = std::make_unique<LienAppareil>(generateurs,
                                         [this](ResultatAppareil &&r) { Recoit(std::move(r)); });
  FenetreAcquisition &vue = *this;
  cycle_ = std::make_unique<TCycleAcquisition>(vue, lien_->Travail(), temps_, spectre_, zelm_);
}

CommandeSansFenetre::~CommandeSansFenetre() {
  FinitAppareil();
  DefinitBoites(precedentes_);
}

void CommandeSansFenetre::FinitAppareil() { lien_->Termine(); }

void CommandeSansFenetre::Demarre() {
  if (Ligne) Ligne(TexteEnTete());
  lien_->Travail().Ouvre();
}

QString CommandeSansFenetre::EnregistreImage(const QString &chemin, QSize taille) {
  QImage image(taille, QImage::Format_RGB32);
  Dessine(image);
  QSaveFile fichier(chemin);
  if (fichier.open(QIODevice::WriteOnly) && image.save(&fichier, "PNG") && fichier.commit())
    return {};
  return QStringLiteral("impossible d'écrire « %1 » : %2").arg(chemin, fichier.errorString());
}

void CommandeSansFenetre::Recoit(ResultatAppareil &&r) {
  if (fini_) return;
  if (auto *t = std::get_if<Trame>(&r)) cycle_->TrameRecue(std::move(*t));
  else if (auto *e = std::get_if<EtatConnexion>(&r)) Connexion(*e);
  else if (auto *g = std::get_if<GenerateurTrouve>(&r)) Generateur(*g);
  else if (std::holds_alternative<GenerateurPerdu>(r)) GenerateurDisparu();
  else if (auto *x = std::get_if<ErreurAppareil>(&r))
    Termine(1, QString::fromStdString(x->message));
}

void CommandeSansFenetre::Connexion(const EtatConnexion &e) {
  if (e.debranche) {  // it was there: "not detected" would send the user the wrong way
    Termine(1, QStringLiteral("oscilloscope débranché") + Avancement());
    return;
  }
  if (!e.connecte) {
    Termine(1, QStringLiteral("oscilloscope non détecté"));
    return;
  }
  // a settings file that is not there leaves the corrections at 0, as the window does
  auto fichier = std::make_shared<const FichierIni>(fichierConfig_);
  if (fichier->Lu())
    lien_->Travail().Execute([fichier](TOscillo *o) {
      if (o) o->LitCorrection(*fichier);
    });
  Connecte();
}

void CommandeSansFenetre::Termine(int statut, const QString &message) {
  if (fini_) return;
  fini_ = true;
  Arrete();
  cycle_->Arrete();
  if (Fin) Fin(statut, message);
}
