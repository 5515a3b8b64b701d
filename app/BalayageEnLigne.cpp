#include "BalayageEnLigne.h"

#include "Boites.h"
#include "CycleAcquisition.h"
#include "FichierIni.h"
#include "LienAppareil.h"
#include "MesureZelm.h"
#include "Texte8.h"

namespace {

// A value as the output writes it: '.' as decimal separator, enough digits for
// 8-bit measurements and for the frequency's fractions of a hertz.
QString Nombre(double v) { return QString::number(v, 'g', 8); }

}  // namespace

BalayageEnLigne::BalayageEnLigne(AccesGenerateurs &generateurs, const BalayageDemande &demande,
                                 std::string fichierConfig)
    : demande_(demande), fichierConfig_(std::move(fichierConfig)),
      image_(320, 200, QImage::Format_RGB32), precedentes_(&BoitesCourantes()) {
  DefinitBoites(&boites_);
  lien_ = std::make_unique<LienAppareil>(generateurs,
                                         [this](ResultatAppareil &&r) { Recoit(std::move(r)); });
  FenetreAcquisition &vue = *this;
  cycle_ = std::make_unique<TCycleAcquisition>(vue, lien_->Travail(), temps_, spectre_, zelm_);
  mesure_ = std::make_unique<TMesureZelm>(vue, *cycle_, temps_, zelm_);
  cycle_->ValeursCalculees = [this](uint32_t numero) { return mesure_->TimerZelmAutoTimer(numero); };
  // the window's start-up settings; the ranges then follow each point
  ReglagesAcquis &r = cycle_->Reglages();
  r = ReglagesAcquis();
  r.SetSynchro(SynchroRelaxe);
  r.SetSens(SensMontant);
  r.SetSeuil(ReglagesAcquis::SeuilMilieu);
  r.SetDuree(0);
  for (int c : {1, 2}) {
    r.SetCouplage(c, CouplageDC);
    r.SetCalibre(c, 5);
  }
  // the output's columns, as the diagram's curves 0..4
  struct Courbe {
    GrandeurMesure grandeur;
    uint8_t mesure, reference;
  } courbes[] = {{GrandeurFrequence, 1, 1},
                 {GrandeurEfficace, 1, 1},
                 {GrandeurEfficace, 2, 1},
                 {GrandeurGain, 2, 1},
                 {GrandeurPhase, 2, 1}};
  for (size_t i = 0; i < 5; ++i) {
    TCourbeMesure &c = zelm_.Courbes[i];
    c.SetGrandeur(courbes[i].grandeur);
    c.VoieMesure = courbes[i].mesure;
    c.VoieReference = courbes[i].reference;
    c.Active = true;
  }
  zelm_.Courbes[0].Mini = demande_.fmin;
  zelm_.Courbes[0].Maxi = demande_.fmax;
  zelm_.NbPointsBalayage = demande_.points;
  zelm_.DelaiBalayage = demande_.delaiMs;
  mesure_->Logarithmique = demande_.logarithmique;
  mesure_->GammesAuto = true;
}

BalayageEnLigne::~BalayageEnLigne() {
  // the device thread ends before the cycle and the graphs it reports to
  lien_->Termine();
  DefinitBoites(precedentes_);
}

QString BalayageEnLigne::EnTete() {
  return QStringLiteral("fréquence (Hz)\tefficace voie 1 (V)\tefficace voie 2 (V)\t"
                        "gain voie 2 / voie 1\tphase voie 2 (°)");
}

void BalayageEnLigne::Demarre() {
  if (Ligne) Ligne(EnTete());
  lien_->Travail().Ouvre();
}

void BalayageEnLigne::Interromps() {
  if (fini_) return;
  Termine(1, QStringLiteral("balayage interrompu après %1 points sur %2")
                 .arg(ecrits_)
                 .arg(demande_.points));
}

void BalayageEnLigne::Recoit(ResultatAppareil &&r) {
  if (fini_) return;
  if (auto *t = std::get_if<Trame>(&r)) cycle_->TrameRecue(std::move(*t));
  else if (auto *e = std::get_if<EtatConnexion>(&r)) Connexion(*e);
  else if (auto *g = std::get_if<GenerateurTrouve>(&r)) Generateur(*g);
  else if (std::holds_alternative<GenerateurPerdu>(r))
    Termine(1, QStringLiteral("générateur débranché après %1 points sur %2")
                   .arg(ecrits_)
                   .arg(demande_.points));
  else if (auto *x = std::get_if<ErreurAppareil>(&r))
    Termine(1, QString::fromStdString(x->message));
}

void BalayageEnLigne::Connexion(const EtatConnexion &e) {
  if (e.debranche) {  // it was there: "not detected" would send the user the wrong way
    Termine(1, QStringLiteral("oscilloscope débranché après %1 points sur %2")
                   .arg(ecrits_)
                   .arg(demande_.points));
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
  lien_->Travail().DetecteGenerateur();
}

void BalayageEnLigne::Generateur(const GenerateurTrouve &g) {
  if (g.genre == GenreGenerateur::Aucun) {
    Termine(1, QStringLiteral("aucun générateur branché"));
    return;
  }
  const PlageFrequences p = PlageGenerateur(g.genre);
  if (demande_.fmin < p.min || demande_.fmax > p.max) {
    Termine(1, QStringLiteral("%1 à %2 Hz sort de la plage du générateur (%3 à %4 Hz)")
                   .arg(Nombre(demande_.fmin), Nombre(demande_.fmax), Nombre(p.min),
                        Nombre(p.max)));
    return;
  }
  generateur_ = g.genre;
  demarre_ = true;
  mesure_->DemarreBalayage(generateur_);
}

void BalayageEnLigne::RepeintZelm() {
  for (; ecrits_ < zelm_.NbPoints; ++ecrits_) {
    QStringList champs;
    for (const TCourbeMesure &c : zelm_.Courbes) champs << Nombre(c.Valeurs[size_t(ecrits_)]);
    if (Ligne) Ligne(champs.join(QLatin1Char('\t')));
    if (Progression)
      Progression(ecrits_ + 1, demande_.points, zelm_.Courbes[0].Valeurs[size_t(ecrits_)]);
  }
}

void BalayageEnLigne::AjusteBoutons() {
  if (!demarre_ || fini_ || mesure_->BalayageEnCours()) return;
  if (ecrits_ >= demande_.points) {
    Termine(0, {});
    return;
  }
  QString pourquoi = boites_.dernier;
  if (erreur_ >= 0 && erreur_ < int(zelm_.Courbes.size()))
    pourquoi += QStringLiteral(" (%1)").arg(VersQt(zelm_.Courbes[size_t(erreur_)].Libelle.vue()));
  Termine(1, QStringLiteral("le point %1 n'a pas pu être mesuré : %2").arg(ecrits_ + 1).arg(pourquoi));
}

void BalayageEnLigne::Termine(int statut, const QString &message) {
  fini_ = true;
  mesure_->ArreteBalayage();
  cycle_->Arrete();
  if (generateur_ != GenreGenerateur::Aucun) lien_->Travail().StoppeGenerateur(generateur_);
  if (Fin) Fin(statut, message);
}
