#include "MesureZelm.h"

#include "Boites.h"
#include "CycleAcquisition.h"
#include "FenetreAcquisition.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "ReglageAuto.h"

namespace {
// A calibre chosen from a frame settles in one or two frames; past this the point is
// taken as it is.
constexpr int RepriseMax = 4;
}  // namespace

TMesureZelm::TMesureZelm(FenetreAcquisition &fenetre, TCycleAcquisition &cycle,
                         const TgrapheOsc &temps, TgrapheMesure &zelm)
    : f_(fenetre), cycle_(cycle), temps_(temps), zelm_(zelm), points_(zelm.Courbes, zelm.NbPoints) {}

bool TMesureZelm::AcquiertPoint() {
  const ListePoints::Resultat r = points_.AcquiertPoint();
  switch (r.refus) {
    case ListePoints::Refus::Aucun:
      f_.RepeintZelm();
      return true;
    case ListePoints::Refus::ValeurIncorrecte:
      f_.MontreErreurDeMesure(r.courbe);
      BoitesCourantes().Message(QStringLiteral("Valeur courante incorrecte"));
      return false;
    case ListePoints::Refus::Plein:
      BoitesCourantes().Message(QStringLiteral("Nombre maximal de points atteint (%1)")
                                    .arg(ListePoints::NbMax));
      return false;
  }
  return false;
}

void TMesureZelm::UndoBtnClick() {
  if (!points_.Defaire()) return;
  f_.RepeintZelm();
  f_.AjusteBoutons();
}

void TMesureZelm::ResetBtnClick(bool question) {
  if (question && !BoitesCourantes().Confirme(QStringLiteral("Suppression de l'acquisition courante")))
    return;
  points_.Efface();
  f_.RepeintZelm();
  f_.AjusteBoutons();
}

ParametresBalayage TMesureZelm::ParametresDuDiagramme() const {
  const TCourbeMesure &f = zelm_.Courbes[0];
  return {f.Mini, f.Maxi, zelm_.NbPointsBalayage, zelm_.DelaiBalayage, Logarithmique};
}

void TMesureZelm::DemarreBalayage(GenreGenerateur g) {
  generateur_ = g;
  f_.DesactiveEnregistre();
  points_.Efface();
  f_.RepeintZelm();
  ReglerFrequence(balayage_.Demarre(ParametresDuDiagramme()));
}

void TMesureZelm::ArreteBalayage() { balayage_.Arrete(); }

// The generator to f (clamped to its range), then a frame armed after the delay: its
// values make the point.
void TMesureZelm::ReglerFrequence(double f) {
  reprises_ = 0;
  if (GammesAuto) {
    cycle_.Reglages().SetDuree(DureePourFrequence(f));
    f_.MontreReglages();
  }
  attendue_ = cycle_.ArmeApresGenerateur(generateur_, FrequenceLimitee(generateur_, f),
                                         balayage_.Parametres().delaiMs);
  if (attendue_ == 0) ArreteBalayage();  // closing, or the zero correction under way
}

bool TMesureZelm::TimerZelmAutoTimer(uint32_t numero) {
  if (!balayage_.EnCours()) return false;
  if (numero < attendue_) return true;
  if (GammesAuto && !CalibresTiennent()) return balayage_.EnCours();
  // a refused point ends the sweep: its box would otherwise come back at every step
  if (!AcquiertPoint()) ArreteBalayage();
  else if (const auto suivante = balayage_.Suivante(points_.Nombre())) ReglerFrequence(*suivante);
  if (!balayage_.EnCours()) f_.AjusteBoutons();  // "Acquisition" may start another
  return balayage_.EnCours();
}

bool TMesureZelm::CalibresTiennent() {
  if (reprises_ >= RepriseMax) return true;
  ReglagesAcquis &r = cycle_.Reglages();
  bool change = false;
  for (int c : {1, 2}) {
    if (r.CouplageVoie(c) == CouplageGND) continue;
    const TCourbeOsc &v = temps_.Voie(c);
    // within half a code of an end code: the frame shows the end, not the signal
    const double demiCode = Calibres[size_t(r.Calibre(c))].span / 255 / 2;
    const bool coupe = v.Maximum >= r.TensionMax(c) - demiCode || v.Minimum <= r.TensionMin(c) + demiCode;
    const int k = CalibrePourSignal(v.Minimum, v.Maximum, r.Calibre(c), coupe);
    if (k != r.Calibre(c)) {
      r.SetCalibre(c, k);
      change = true;
    }
  }
  if (!change) return true;
  ++reprises_;
  f_.MontreReglages();
  attendue_ = cycle_.ArmeDeNouveau();
  if (attendue_ == 0) ArreteBalayage();
  return false;
}
