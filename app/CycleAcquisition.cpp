#include "CycleAcquisition.h"

#include <QImage>
#include <algorithm>
#include <utility>

#include "FenetreAcquisition.h"
#include "GrapheMesure.h"
#include "GrapheOsc.h"
#include "Protege.h"

namespace {

constexpr int TrameComplete = TOscillo::NbEchantillonsMax;

// Every sample count the graphs get fits their 8193 slots.
uint16_t CompteBorne(int n) { return uint16_t(std::clamp(n, 0, TrameComplete)); }

}  // namespace

TCycleAcquisition::TCycleAcquisition(FenetreAcquisition &fenetre, TravailAppareil &travail,
                                     TgrapheOsc &temps, TgrapheOsc &spectre, TgrapheMesure &zelm)
    : f_(fenetre), travail_(travail), temps_(temps), spectre_(spectre), zelm_(zelm) {
  timer_.setInterval(100);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Protege([this] { TimerTimer(); }); });
}

// What every arming does on this side; false when arming is not permitted now.
bool TCycleAcquisition::PrepareArmement() {
  if (!f_.ArmementPermis()) return false;
  enAcquisition_ = true;
  f_.AfficheStatut(QStringLiteral("Attente de synchronisation"));
  f_.MontreArme(false);
  arretDemande_ = false;
  // what the device will do with a level it cannot take, so that the screen agrees
  reglages_.NormaliseSeuil();
  timer_.start();
  ++numero_;
  return true;
}

void TCycleAcquisition::LanceAcquisition() {
  if (PrepareArmement()) travail_.Arme(numero_, reglages_);
}

void TCycleAcquisition::ArreteAcquisition() {
  if (enAcquisition_) {
    arretDemande_ = true;
    travail_.Arrete();
    enAcquisition_ = false;
  }
  f_.MontreArme(true);
}

void TCycleAcquisition::Arrete() {
  ArreteAcquisition();
  // also when pressed while a complete frame is shown: no tick may start it again
  arretDemande_ = true;
  timer_.stop();
  reglageAuto_ = false;
}

void TCycleAcquisition::ReArme() {
  if (!enAcquisition_) return;
  ArreteAcquisition();
  LanceAcquisition();
}

uint32_t TCycleAcquisition::ArmeDeNouveau() {
  ArreteAcquisition();
  if (!PrepareArmement()) return 0;
  travail_.Arme(numero_, reglages_);
  return numero_;
}

uint32_t TCycleAcquisition::ArmeApresGenerateur(GenreGenerateur g, double f, int delaiMs) {
  if (!PrepareArmement()) return 0;
  travail_.Balaye(g, f, delaiMs, numero_, reglages_);
  return numero_;
}

void TCycleAcquisition::TrameRecue(Trame trame) {
  if (!enAcquisition_ || arretDemande_ || trame.numero != numero_) return;
  tenue_ = std::move(trame);
  FinAcquisition(*tenue_);
}

// A held frame (single shot, or the last of the automatic configuration) is
// processed again at each tick, for instance after a change of mode.
void TCycleAcquisition::TimerTimer() {
  if (arretDemande_) {
    timer_.stop();
    return;
  }
  if (!enAcquisition_ && tenue_) FinAcquisition(*tenue_);
}

void TCycleAcquisition::FinAcquisition(const Trame &t) {
  ++nbTraitements_;
  f_.MontreArme(true);
  std::copy(t.temps.begin(), t.temps.end(), temps_.Abscisse.Valeurs.begin());
  std::copy(t.tension1.begin(), t.tension1.end(), temps_.Voie1.Valeurs.begin());
  std::copy(t.tension2.begin(), t.tension2.end(), temps_.Voie2.Valeurs.begin());
  temps_.NbPoints = CompteBorne(t.nbPoints);
  enAcquisition_ = false;
  PrepareEchelles();
  f_.RepeintTemps();
  if (AnalyseLesTrames(f_.Mode()) || f_.MesuresAEcran()) {
    AnalyseTrame(t);
    if (f_.MesuresAEcran()) f_.MontreLectures();
  }
  f_.AjusteBoutons();
  const std::optional<uint32_t> valeurs = std::exchange(dernieresValeurs_, std::nullopt);
  if (reglageAuto_) {
    // before the single-shot test: the configuration runs whatever "Monocoup" says
    EtapeReglageAuto();
    if (valeurs && ValeursCalculees) ValeursCalculees(*valeurs);
    return;
  }
  // a sweep arms its own next frame: arming here as well would cost the device's
  // two waits for a frame nobody takes
  if (valeurs && ValeursCalculees && ValeursCalculees(*valeurs)) return;
  if (f_.Monocoup()) travail_.CoupeAlim();
  else LanceAcquisition();
}

void TCycleAcquisition::AnalyseTrame(const Trame &t) {
  periode_ = t.temps[1] - t.temps[0];
  temps_.OrigineTemps = -t.temps[0];
  const uint16_t n = CompteBorne(t.nbEchantillons);
  for (int c : {1, 2}) {
    temps_.Voie(c).AnalyseCourbe(n);
    spectre_.Voie(c).Valeurs = temps_.Voie(c).Spectre;
  }
  spectre_.NbPoints = CompteBorne(f_.NbHarmoniques());
  PrepareEchelles();
  const ModeAffichage m = f_.Mode();
  if (m == ModeAffichage::Spectre) f_.RepeintZelm();
  else if (MontreLeDiagramme(m)) MesuresZelm(t.numero);
}

void TCycleAcquisition::MesuresZelm(uint32_t numero) {
  if (redessinDiffere_) f_.RepeintZelm();
  QImage &image = f_.ImageZelm();
  zelm_.Cursor(image);  // erases the crosses of the previous values
  for (auto &c : zelm_.Courbes)
    if (c.Active) c.CalculMesure(temps_.Voie1, temps_.Voie2, periode_);
  zelm_.Cursor(image);  // draws the new ones and writes the value labels
  f_.MontreImageZelm();
  dernieresValeurs_ = numero;
}

// The settings shown are those of the next arming: a setting the device uses
// re-arms at once, so they are the shown frame's in free-running, and in single
// shot the held frame is shown on the scales the user has just chosen.
void TCycleAcquisition::PrepareEchelles() {
  const ReglagesAcquis &r = reglages_;
  for (int c : {1, 2}) {
    TCourbeOsc &v = temps_.Voie(c);
    v.Maxi = r.TensionMax(c);
    v.Mini = r.TensionMin(c);
    v.Active = r.CouplageVoie(c) != CouplageGND;
  }
  temps_.NiveauSeuil = uint8_t(reglages_.Seuil());
  temps_.VoieSeuil = uint8_t(reglages_.VoieSeuil());
  if (temps_.NbPoints > 0) {
    TCourbe &a = temps_.Abscisse;
    a.Mini = a.Valeurs[0];
    a.Maxi = a.Valeurs[temps_.NbPoints - 1u];
    if (a.Maxi - a.Mini <= 1e-6) a.Maxi = a.Mini + 1e-6;
  }
  // the spectrum: one line is 1 / (8192 sampling periods)
  spectre_.PasFrequence = spectre_.NbPoints > 0 ? 1 / (TrameComplete * periode_) : 1.0;
  spectre_.Abscisse.Mini = 0;
  spectre_.Abscisse.Maxi = f_.NbHarmoniques() * spectre_.PasFrequence;
  for (int c : {1, 2}) {
    TCourbeOsc &s = spectre_.Voie(c);
    s.Active = r.CouplageVoie(c) != CouplageGND;
    s.Mini = 0;
    s.Maxi = (r.TensionMax(c) - r.TensionMin(c)) / 2;
  }
  // the diagram's quantities; curve 0, the frequency, keeps its limits
  for (size_t i = 1; i < zelm_.Courbes.size(); ++i) {
    TCourbeMesure &c = zelm_.Courbes[i];
    if (!c.Active) continue;
    const TCourbeOsc &v = temps_.Voie(c.VoieMesure);
    c.Mini = 0;
    switch (c.Grandeur) {
      case GrandeurEfficace: case GrandeurMoyenne: c.Maxi = v.Maxi; break;
      case GrandeurPhase: c.Mini = -180; c.Maxi = 180; break;
      case GrandeurRapportCyclique: c.Maxi = 1; break;
      case GrandeurCreteACrete: c.Maxi = v.Maxi - v.Mini; break;
      case GrandeurMontee: case GrandeurDescente: c.Maxi = temps_.Abscisse.Maxi; break;
      default: break;  // the gain keeps its limits
    }
    if (c.Maxi == 0) c.Maxi = 1;
  }
}

void TCycleAcquisition::TempsPaintBoxPaint(QImage &image) { temps_.Draw(image); }

void TCycleAcquisition::ZelmPaintBoxPaint(QImage &image) {
  if (enAcquisition_) {
    redessinDiffere_ = true;
    return;
  }
  const ModeAffichage m = f_.Mode();
  if (m == ModeAffichage::Oscilloscope) return;  // nothing drawn: a repaint owed stays owed
  if (m == ModeAffichage::Spectre) spectre_.Draw(image);
  else zelm_.Draw(image);
  redessinDiffere_ = false;
}
