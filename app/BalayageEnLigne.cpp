#include "BalayageEnLigne.h"

#include "CycleAcquisition.h"
#include "LienAppareil.h"
#include "MesureZelm.h"
#include "NombresEnLigne.h"
#include "Texte8.h"

BalayageEnLigne::BalayageEnLigne(AccesGenerateurs &generateurs, const BalayageDemande &demande,
                                 std::string fichierConfig)
    : CommandeSansFenetre(generateurs, std::move(fichierConfig)), demande_(demande) {
  FenetreAcquisition &vue = *this;
  mesure_ = std::make_unique<TMesureZelm>(vue, Cycle(), temps_, zelm_);
  Cycle().ValeursCalculees = [this](uint32_t numero) { return mesure_->TimerZelmAutoTimer(numero); };
  // the window's start-up settings; the ranges then follow each point
  ReglagesAcquis &r = Cycle().Reglages();
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

// the device thread ends before the sweep it reports to
BalayageEnLigne::~BalayageEnLigne() { FinitAppareil(); }

QString BalayageEnLigne::EnTete() {
  return QStringLiteral("fréquence (Hz)\tefficace voie 1 (V)\tefficace voie 2 (V)\t"
                        "gain voie 2 / voie 1\tphase voie 2 (°)");
}

QString BalayageEnLigne::Avancement() const {
  return QStringLiteral(" après %1 points sur %2").arg(ecrits_).arg(demande_.points);
}

void BalayageEnLigne::Interromps() { Termine(1, QStringLiteral("balayage interrompu") + Avancement()); }

void BalayageEnLigne::GenerateurDisparu() {
  Termine(1, QStringLiteral("générateur débranché") + Avancement());
}

void BalayageEnLigne::Connecte() { Appareil().Travail().DetecteGenerateur(); }

void BalayageEnLigne::Generateur(const GenerateurTrouve &g) {
  if (g.genre == GenreGenerateur::Aucun) {
    Termine(1, QStringLiteral("aucun générateur branché"));
    return;
  }
  const PlageFrequences p = PlageGenerateur(g.genre);
  if (demande_.fmin < p.min || demande_.fmax > p.max) {
    Termine(1, QStringLiteral("%1 à %2 Hz sort de la plage du générateur (%3 à %4 Hz)")
                   .arg(NombreEnLigne(demande_.fmin), NombreEnLigne(demande_.fmax),
                        NombreEnLigne(p.min), NombreEnLigne(p.max)));
    return;
  }
  generateur_ = g.genre;
  demarre_ = true;
  mesure_->DemarreBalayage(generateur_);
}

void BalayageEnLigne::RepeintZelm() {
  for (; ecrits_ < zelm_.NbPoints; ++ecrits_) {
    QStringList champs;
    for (const TCourbeMesure &c : zelm_.Courbes)
      champs << NombreEnLigne(c.Valeurs[size_t(ecrits_)]);
    if (Ligne) Ligne(champs.join(QLatin1Char('\t')));
    if (Progression)
      Progression(ecrits_ + 1, demande_.points, zelm_.Courbes[0].Valeurs[size_t(ecrits_)]);
  }
}

void BalayageEnLigne::AjusteBoutons() {
  if (!demarre_ || Fini() || mesure_->BalayageEnCours()) return;
  if (ecrits_ >= demande_.points) {
    Termine(0, {});
    return;
  }
  QString pourquoi = DerniereBoite();
  if (erreur_ >= 0 && erreur_ < int(zelm_.Courbes.size()))
    pourquoi += QStringLiteral(" (%1)").arg(VersQt(zelm_.Courbes[size_t(erreur_)].Libelle.vue()));
  Termine(1, QStringLiteral("le point %1 n'a pas pu être mesuré : %2").arg(ecrits_ + 1).arg(pourquoi));
}

// The diagram as the window shows it at the end of a sweep.
void BalayageEnLigne::Dessine(QImage &image) { zelm_.Draw(image); }

void BalayageEnLigne::Arrete() {
  mesure_->ArreteBalayage();
  if (generateur_ != GenreGenerateur::Aucun) Appareil().Travail().StoppeGenerateur(generateur_);
}
