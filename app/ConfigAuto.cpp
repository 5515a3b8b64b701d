// "Config. auto": from ±20 V and the shortest time base, lengthen the time base
// until a channel shows a few periods, then choose calibres, couplings and the
// trigger from the last frame.
#include <span>

#include "CycleAcquisition.h"
#include "FenetreAcquisition.h"
#include "GrapheOsc.h"
#include "ReglageAuto.h"

namespace {
// Below the "500 ms" time base a channel must show 3 level changes.
constexpr int DureeMaxReglage = 14;
constexpr int32_t ChangementsVoulus = 3;
}  // namespace

void TCycleAcquisition::autosetBtnClick() {
  timer_.stop();
  ArreteAcquisition();
  reglages_.SetDuree(0);
  reglages_.SetSynchro(SynchroRelaxe);
  for (int c : {1, 2}) {
    reglages_.SetCouplage(c, CouplageDC);
    reglages_.SetCalibre(c, int(Calibres.size()) - 1);
    reglages_.SetZero(c, 127);
  }
  PrepareEchelles();
  reglageAuto_ = true;
  LanceAcquisition();
}

void TCycleAcquisition::EtapeReglageAuto() {
  bool peu = reglages_.Duree() < DureeMaxReglage;
  std::array<VoieAuto, 3> voies{};
  for (int c : {1, 2}) {
    const TCourbeOsc &courbe = temps_.Voie(c);
    voies[size_t(c)] = AnalyseVoieAuto(
        std::span<const double>(courbe.Valeurs.data(), temps_.NbPoints), courbe.Maxi);
    peu = peu && voies[size_t(c)].Nb < ChangementsVoulus;
  }
  if (peu) {
    reglages_.SetDuree(reglages_.Duree() + 1);
    f_.DesactiveEnregistre();
    LanceAcquisition();
    return;
  }
  DernierPasReglageAuto(voies);
}

void TCycleAcquisition::DernierPasReglageAuto(const std::array<VoieAuto, 3> &voies) {
  reglageAuto_ = false;
  reglages_.SetSynchro(SynchroRelaxe);
  reglages_.SetSeuil(ReglagesAcquis::SeuilMilieu);
  std::array<bool, 3> actives{};
  std::array<int, 3> calibres{};
  for (int c : {1, 2}) {
    const VoieAuto &v = voies[size_t(c)];
    actives[size_t(c)] = v.CreteACrete() > CreteACreteVisible;
    temps_.Voie(c).Active = actives[size_t(c)];
    calibres[size_t(c)] = CalibreAuto(v.Min, v.Max);
    reglages_.SetCalibre(c, calibres[size_t(c)]);
    // the model gets the coupling itself: a group already showing it sends no click
    reglages_.SetCouplage(c, actives[size_t(c)] ? CouplageDC : CouplageGND);
  }
  if (const int c = VoieSynchroAuto(voies, actives); c != 0) {
    reglages_.SetSynchro(c);
    reglages_.SetSeuil(SeuilAuto(voies[size_t(c)].Moy, calibres[size_t(c)]));
  }
  temps_.VoieSeuil = uint8_t(reglages_.VoieSeuil());
  temps_.NiveauSeuil = uint8_t(reglages_.Seuil());
  f_.MontreReglages();
  f_.DecocheMonocoup();
  f_.AjusteAffichage();
}
