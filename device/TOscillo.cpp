#include "TOscillo.h"

#include <algorithm>
#include <cstddef>

#include "Enregistrements.h"
#include "FichierIni.h"
#include "Horloge.h"
#include "Quilink.h"

namespace {

constexpr char16_t NomPeripherique[] = u"QuiloUSB-0";
constexpr int AttenteDemarrageMs = 50;  // the device needs it around a start
constexpr int TailleDetail = 160;

bool HandleValide(int32_t h) { return h != 0 && h != QUILINK_INVALID_HANDLE; }

}  // namespace

TOscillo::TOscillo() {
  trame_ = reglages_;
  Ouvre();
  SetAlim(true);
}

TOscillo::~TOscillo() {
  Stoppe();
  if (EstConnecte()) {
    _SetPortClose(handle_);
    handle_ = 0;
  }
}

void TOscillo::Ouvre() {
  const ChaineOle<char16_t> nom(NomPeripherique);
  handle_ = _SetPortOpen(nom.c());
  diagnostic_.clear();
  if (EstConnecte()) return;
  char detail[TailleDetail];
  const int32_t cause = QuilinkCause(QUILINK_INVALID_HANDLE, detail, sizeof detail);
  diagnostic_ = LigneCause(cause, detail);
}

void TOscillo::Constate(int32_t resultat) {
  if (resultat != 0 || !EstConnecte()) return;
  char detail[TailleDetail];
  const int32_t cause = QuilinkCause(handle_, detail, sizeof detail);
  if (cause != QUILINK_CAUSE_DEBRANCHE) return;
  _SetPortClose(handle_);
  handle_ = 0;
  alim_ = false;
  debranche_ = true;
  diagnostic_ = LigneCause(cause, detail);
}

std::string LigneCause(int32_t cause, std::string_view detail) {
  std::string ligne;
  switch (cause) {
    case QUILINK_CAUSE_AUCUNE: return {};
    case QUILINK_CAUSE_SANS_NOEUD:
      ligne = "Pas de /dev/QuiloUSB-0 : oscillo absent, ou r\xE8gle udev \xE0 installer puis oscillo \xE0 rebrancher";
      break;
    case QUILINK_CAUSE_SANS_DROIT:
      ligne = "Acc\xE8s \xE0 l'oscillo refus\xE9 : ouvrir la session sur le poste lui-m\xEAme, ou entrer dans le groupe plugdev";
      break;
    case QUILINK_CAUSE_OCCUPE:
      ligne = "Oscillo occup\xE9 : un autre programme le tient ; le fermer puis cliquer sur Connexion";
      break;
    case QUILINK_CAUSE_AUTRE_APPAREIL:
      ligne = "/dev/QuiloUSB-0 n'est pas un oscillo Quilo : v\xE9rifier les identifiants de la r\xE8gle udev";
      break;
    case QUILINK_CAUSE_DEBRANCHE:
      ligne = "Oscillo d\xE9" "branch\xE9 : le rebrancher puis cliquer sur Connexion";
      break;
    default: ligne = "Erreur USB avec l'oscillo : le d\xE9" "brancher, le rebrancher puis cliquer sur Connexion";
  }
  if (!detail.empty()) ligne += " (" + std::string(detail) + ")";
  return ligne;
}

bool TOscillo::EstConnecte() const { return HandleValide(handle_); }

void TOscillo::Connecte(bool reconnecte) {
  if (!reconnecte || EstConnecte()) return;
  Ouvre();
  SetAlim(true);
}

void TOscillo::SetAlim(bool alim) {
  if (!EstConnecte()) return;
  int32_t fait = 1;
  if (alim && !alim_) fait = _ConnectAlim(handle_);
  if (!alim && alim_) fait = _CoupeAlim(handle_);
  alim_ = alim;
  Constate(fait);
}

std::string TOscillo::Version() {
  if (!EstConnecte()) return "Oscillo non branch\xE9";  // 8-bit, like every model text
  uint8_t tampon[256] = {};
  if (const int32_t fait = _GetVersion(handle_, tampon); !fait) {
    Constate(fait);
    return {};
  }
  return std::string(reinterpret_cast<const char *>(tampon));
}

void TOscillo::EnvoieCommande() {
  if (EstConnecte()) Constate(_SendUSBData(handle_, &commande_));
}

void TOscillo::EnvoieReglages() {
  EnvoieSynchro();
  EnvoieDuree();
  EnvoieVoie(1);
  EnvoieVoie(2);
}

void TOscillo::EnvoieSynchro() {
  reglages_.NormaliseSeuil();
  const ReglagesAcquis &r = reglages_;
  const uint8_t niveau = r.VoieSeuil() != 0 ? uint8_t(r.Seuil()) : 0;
  commande_ = {8, {3, uint8_t(r.Synchro()), uint8_t(r.Sens()), niveau, 255, 255, 0, 0}};
  EnvoieCommande();
}

void TOscillo::EnvoieDuree() {
  modeVoies_ = ::ModeVoies(reglages_.CouplageVoie(1), reglages_.CouplageVoie(2));
  const auto &base = BasesDeTemps[size_t(reglages_.Duree())];
  commande_ = {6, {4, base.a, base.b, uint8_t(modeVoies_), base.c, 0}};
  EnvoieCommande();
}

void TOscillo::EnvoieVoie(int voie) {
  const ReglagesAcquis &r = reglages_;
  const int correction =
      correction_[size_t(voie)][size_t(r.Calibre(voie))][size_t(ColonneCorrection(r.Duree()))];
  commande_ = {3, {uint8_t(voie), CodeCalibre(r.Calibre(voie), r.CouplageVoie(voie)),
                   CodeDecalage(r.Zero(voie), correction)}};
  EnvoieCommande();
}

// Settings out, start, and a fresh frame that remembers what it was acquired with.
void TOscillo::Demarre() {
  EnvoieReglages();
  Attendre(AttenteDemarrageMs);
  Constate(_LanceAcqui(handle_, 0));
  Attendre(AttenteDemarrageMs);
  nbEchantillons_ = 0;
  trame_ = reglages_;
}

void TOscillo::Lance() {
  if (EstConnecte()) Demarre();
}

void TOscillo::Stoppe() {
  if (EstConnecte()) Constate(_StopAcqui(handle_));
  SetAlim(false);
}

// One burst. The channel not acquired in modes 1 and 2 gets its zero code, so
// that it reads 0 V rather than the bottom of the range.
void TOscillo::LitDonnees() {
  if (!EstConnecte()) return;
  RecordTrame trame{};
  int r = _GetUSBData(handle_, &trame, modeVoies_);
  if (r <= 0) {
    Constate(r);
    return;
  }
  if (modeVoies_ == 0 && r % 2 != 0) {
    // the odd byte is lost: every later pair would take channel 2 for channel 1, and the
    // frame would wait for ever for its last sample, so it starts over
    Demarre();
    return;
  }
  if (modeVoies_ == 0) r /= 2;
  r = std::min({r, NbEchantillonsMax - nbEchantillons_, int(sizeof trame.Zone1)});
  for (int i = 0; i < r; ++i) {
    const size_t n = size_t(nbEchantillons_ + i);
    brut1_[n] = modeVoies_ == 2 ? uint8_t(trame_.Zero(1)) : trame.Zone1[i];
    brut2_[n] = modeVoies_ == 1 ? uint8_t(trame_.Zero(2)) : trame.Zone2[i];
  }
  nbEchantillons_ += r;
}

void TOscillo::CalculeSignaux(double *temps, double *tension1, double *tension2) const {
  const double periode = 1 / BasesDeTemps[size_t(trame_.Duree())].frequence;
  double echelle[3], decalage[3];
  for (int voie : {1, 2}) {
    echelle[voie] = Calibres[size_t(trame_.Calibre(voie))].span / 255;
    decalage[voie] = -trame_.Zero(voie) * echelle[voie];
  }
  for (int i = 0; i < TailleTableaux; ++i) {
    temps[i] = i * periode;
    const bool mesure = i < nbEchantillons_;
    tension1[i] = mesure ? brut1_[size_t(i)] * echelle[1] + decalage[1] : 0;
    tension2[i] = mesure ? brut2_[size_t(i)] * echelle[2] + decalage[2] : 0;
  }
}

uint16_t TOscillo::NbPoints() const { return BasesDeTemps[size_t(trame_.Duree())].points; }

void TOscillo::SetCorrection(const TableCorrection &t) {
  for (size_t voie = 0; voie < t.size(); ++voie)
    for (size_t calibre = 0; calibre < t[voie].size(); ++calibre)
      for (size_t colonne = 0; colonne < 2; ++colonne)
        correction_[voie][calibre][colonne] =
            std::clamp(t[voie][calibre][colonne], -CorrectionMax, CorrectionMax);
}

// One calibre step: a grounded frame on calibre k; each channel's mean offset
// from its zero, negated, corrects calibres k−1..k+1 in the column. A mean more
// than CorrectionMax codes away is not an offset error: no correction. False
// when no sample came or the step was cut short.
bool TOscillo::EtapeCalibre(int calibre, int colonne) {
  reglages_.SetCalibre(1, calibre);
  reglages_.SetCalibre(2, calibre);
  Demarre();
  int avant;
  do {
    avant = nbEchantillons_;
    LitDonnees();
  } while (nbEchantillons_ < NbEchantillonsMax && nbEchantillons_ > avant && !DoitInterrompre());
  const bool recu = nbEchantillons_ > 0 && !DoitInterrompre();
  for (int voie = 1; recu && voie <= 2; ++voie) {
    const auto &brut = Brut(voie);
    int64_t somme = 0;
    for (int i = 0; i < nbEchantillons_; ++i) somme += brut[size_t(i)];
    // the mean rounded to the nearest code: cut down, an offset of a whole number of codes
    // reads one less half the time, and -10 reads -11 and goes uncorrected
    int d = int((2 * somme + nbEchantillons_) / (2 * nbEchantillons_)) - reglages_.Zero(voie);
    if (d > CorrectionMax || d < -CorrectionMax) d = 0;
    for (int c = calibre - 1; c <= calibre + 1; ++c)
      correction_[size_t(voie)][size_t(c)][size_t(colonne)] = -d;
  }
  Constate(_StopAcqui(handle_));
  Attendre(AttenteDemarrageMs);
  return recu;
}

bool TOscillo::CorrigeDecalage() {
  if (!EstConnecte()) return false;
  const ReglagesAcquis avantReglages = reglages_;
  const TableCorrection avant = correction_;
  reglages_.SetSynchro(SynchroRelaxe);
  for (int voie : {1, 2}) {
    reglages_.SetCouplage(voie, CouplageGND);
    reglages_.SetZero(voie, 127);
    for (auto &colonnes : correction_[size_t(voie)]) colonnes = {0, 0};
  }
  SetAlim(true);
  bool reussi = true;
  constexpr struct { uint8_t duree; int colonne; } Mesures[] = {{4, 0}, {0, 1}};
  for (auto [base, colonne] : Mesures) {
    reglages_.SetDuree(base);
    for (int k : {7, 4, 1}) {
      // after a step that got nothing the corrections found are not trusted
      if (!reussi || !EtapeCalibre(k, colonne)) reussi = false;
    }
  }
  if (!reussi) correction_ = avant;
  reglages_ = avantReglages;
  EnvoieReglages();
  return reussi;
}

namespace {

std::string CleCorrection(int calibre, int colonne, int voie) {
  return {'Z', char('0' + calibre), char('0' + colonne), char('0' + voie)};
}

}  // namespace

TOscillo::TableCorrection TOscillo::LitTableCorrection(const FichierIni &fichier) {
  TableCorrection t{};
  for (int colonne : {0, 1})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int voie : {1, 2}) {
        const int32_t lu = fichier.LitEntier("Oscillo", CleCorrection(calibre, colonne, voie), 0);
        t[size_t(voie)][size_t(calibre)][size_t(colonne)] =
            lu >= -CorrectionMax && lu <= CorrectionMax ? lu : 0;
      }
  return t;
}

void TOscillo::EcritTableCorrection(FichierIni &fichier, const TableCorrection &t) {
  for (int colonne : {0, 1})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int voie : {1, 2})
        fichier.EcritEntier("Oscillo", CleCorrection(calibre, colonne, voie),
                            t[size_t(voie)][size_t(calibre)][size_t(colonne)]);
}
