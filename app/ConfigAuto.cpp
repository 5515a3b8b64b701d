// "Config. auto": from ±20 V and the shortest time base, lengthen the time base
// until a channel shows a few periods, then choose calibres, couplings and the
// trigger from the last frame.
#include <QCheckBox>
#include <QTimer>
#include <QToolButton>
#include <span>

#include "Controles.h"
#include "CycleAcquisition.h"
#include "ReglageAuto.h"
#include "TZelmMainForm.h"

namespace {
// Below the "500 ms" time base a channel must show 3 level changes.
constexpr int DureeMaxReglage = 14;
constexpr int32_t ChangementsVoulus = 3;
}  // namespace

void TCycleAcquisition::autosetBtnClick() {
  if (!f_.Oscillo) return;
  f_.Timer->stop();
  ArreteAcquisition();
  TOscillo &o = *f_.Oscillo;
  f_.GrapheTemps.VoieSeuil = 0;
  o.SetDuree(0);
  o.SetSynchro(0);
  for (int c : {1, 2}) {
    TCourbeOsc &courbe = f_.GrapheTemps.Voie(c);
    courbe.Active = true;
    o.SetCouplage(c, CouplageDC);
    o.SetCalibre(c, int(Calibres.size()) - 1);
    o.SetZero(c, 127);
    courbe.Mini = o.TensionMin(c);
    courbe.Maxi = o.TensionMax(c);
  }
  f_.ReglageAuto = true;
  LanceAcquisition();
}

void TCycleAcquisition::EtapeReglageAuto() {
  TOscillo &o = *f_.Oscillo;
  bool peu = o.Duree < DureeMaxReglage;
  std::array<VoieAuto, 3> voies{};
  for (int c : {1, 2}) {
    const TCourbeOsc &courbe = f_.GrapheTemps.Voie(c);
    voies[size_t(c)] = AnalyseVoieAuto(
        std::span<const double>(courbe.Valeurs.data(), f_.GrapheTemps.NbPoints), courbe.Maxi);
    peu = peu && voies[size_t(c)].Nb < ChangementsVoulus;
  }
  if (peu) {
    o.SetDuree(o.Duree + 1);
    f_.EnregistreBtn->setEnabled(false);
    LanceAcquisition();
    return;
  }
  DernierPasReglageAuto(voies);
}

void TCycleAcquisition::DernierPasReglageAuto(const std::array<VoieAuto, 3> &voies) {
  TOscillo &o = *f_.Oscillo;
  f_.Chargement = true;
  f_.ReglageAuto = false;
  o.SetSynchro(0);
  o.Seuil = 127;
  std::array<bool, 3> actives{};
  std::array<int, 3> calibres{};
  for (int c : {1, 2}) {
    const VoieAuto &v = voies[size_t(c)];
    actives[size_t(c)] = v.CreteACrete() > CreteACreteVisible;
    f_.GrapheTemps.Voie(c).Active = actives[size_t(c)];
    calibres[size_t(c)] = CalibreAuto(v.Min, v.Max);
    f_.UpDownVoie[size_t(c)]->SetPosition(calibres[size_t(c)]);
    o.SetCalibre(c, calibres[size_t(c)]);
    f_.AfficheCalibre(c);
    f_.CouplageVoie[size_t(c)]->SetItemIndex(actives[size_t(c)] ? CouplageDC : CouplageGND);
  }
  if (const int c = VoieSynchroAuto(voies, actives); c != 0) {
    f_.GrapheTemps.VoieSeuil = uint8_t(c);
    f_.SynchroRG->SetItemIndex(c);
    o.SetSynchro(c);
    o.Seuil = SeuilAuto(voies[size_t(c)].Moy, calibres[size_t(c)]);
  }
  f_.SynchroRG->SetItemIndex(o.Synchro);
  f_.GrapheTemps.NiveauSeuil = o.Seuil;
  f_.MonocoupCB->setChecked(false);
  f_.DureeUpDown->SetPosition(o.Duree);
  f_.AfficheDuree();
  f_.Chargement = false;
  f_.AjusteAffichage();
}
