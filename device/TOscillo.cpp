#include "TOscillo.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "Enregistrements.h"
#include "FichierIni.h"
#include "Horloge.h"
#include "Quilink.h"

namespace {

constexpr char16_t NomPeripherique[] = u"QuiloUSB-0";
constexpr int AttenteDemarrageMs = 50;  // the device needs it around a start

bool HandleValide(int32_t h) { return h != 0 && h != QUILINK_INVALID_HANDLE; }

}  // namespace

TOscillo::TOscillo() {
  Zero[1] = Zero[2] = 127;
  Seuil = 127;
  trame_.zero = Zero;
  Ouvre();
  SetAlim(true);
}

TOscillo::~TOscillo() {
  Stoppe();
  if (EstConnecte()) {
    _SetPortClose(Handle);
    Handle = 0;
  }
}

void TOscillo::Ouvre() {
  const ChaineOle<char16_t> nom(NomPeripherique);
  Handle = _SetPortOpen(nom.c());
}

bool TOscillo::EstConnecte() const { return HandleValide(Handle); }

void TOscillo::Connecte(bool reconnecte) {
  if (!reconnecte || EstConnecte()) return;
  Ouvre();
  SetAlim(true);
}

void TOscillo::SetAlim(bool alim) {
  if (!EstConnecte()) return;
  if (alim && !Alim) _ConnectAlim(Handle);
  if (!alim && Alim) _CoupeAlim(Handle);
  Alim = alim;
}

std::string TOscillo::Version() {
  if (!EstConnecte()) return "Oscillo non branché";
  uint8_t tampon[256] = {};
  if (!_GetVersion(Handle, tampon)) return {};
  return std::string(reinterpret_cast<const char *>(tampon));
}

void TOscillo::EnvoieCommande() {
  if (EstConnecte()) _SendUSBData(Handle, &Commande);
}

void TOscillo::EnvoieReglages() {
  EnvoieSynchro();
  EnvoieDuree();
  EnvoieVoie(1);
  EnvoieVoie(2);
}

void TOscillo::EnvoieSynchro() {
  if (Seuil < 8 || Seuil > 248) Seuil = 127;
  const uint8_t niveau = (Synchro == 1 || Synchro == 2) ? Seuil : 0;
  Commande = {8, {3, uint8_t(Synchro), Sens, niveau, 255, 255, 0, 0}};
  EnvoieCommande();
}

void TOscillo::EnvoieDuree() {
  ModeVoies = ::ModeVoies(Couplage[1], Couplage[2]);
  const auto &base = BasesDeTemps[Duree];
  Commande = {6, {4, base.a, base.b, uint8_t(ModeVoies), base.c, 0}};
  EnvoieCommande();
}

void TOscillo::EnvoieVoie(int voie) {
  const auto v = size_t(voie);
  const int correction = Correction[v][Calibre[v]][ColonneCorrection(Duree)];
  Commande = {3, {uint8_t(voie), CodeCalibre(Calibre[v], Couplage[v]), CodeDecalage(Zero[v], correction)}};
  EnvoieCommande();
}

void TOscillo::SetCalibre(int voie, int calibre) {
  if ((voie == 1 || voie == 2) && calibre >= 0 && calibre < int(Calibres.size()))
    Calibre[size_t(voie)] = uint8_t(calibre);
}

void TOscillo::SetCouplage(int voie, int couplage) {
  if ((voie == 1 || voie == 2) && couplage >= 0 && couplage <= 2)
    Couplage[size_t(voie)] = uint8_t(couplage);
}

void TOscillo::SetZero(int voie, int zero) {
  if ((voie == 1 || voie == 2) && zero >= 0 && zero <= 255) Zero[size_t(voie)] = uint8_t(zero);
}

void TOscillo::SetSynchro(int synchro) {
  if (synchro >= 0 && synchro <= 3) Synchro = int8_t(synchro);
}

void TOscillo::SetSens(int sens) {
  if (sens == 0 || sens == 1) Sens = uint8_t(sens);
}

void TOscillo::SetDuree(int duree) {
  if (duree >= 0 && duree < int(BasesDeTemps.size())) Duree = uint8_t(duree);
}

// Settings out, start, and a fresh frame that remembers what it was acquired with.
void TOscillo::Demarre() {
  EnvoieReglages();
  Attendre(AttenteDemarrageMs);
  _LanceAcqui(Handle, 0);
  Attendre(AttenteDemarrageMs);
  NbEchantillons = 0;
  trame_ = {Calibre, Zero, Duree};
}

void TOscillo::Lance() {
  if (EstConnecte()) Demarre();
}

void TOscillo::Stoppe() {
  if (EstConnecte()) _StopAcqui(Handle);
  SetAlim(false);
}

// One burst. The channel not acquired in modes 1 and 2 gets its zero code, so
// that it reads 0 V rather than the bottom of the range.
void TOscillo::LitDonnees() {
  if (!EstConnecte()) return;
  RecordTrame trame{};
  int r = _GetUSBData(Handle, &trame, ModeVoies);
  if (r <= 0) return;
  if (ModeVoies == 0) r /= 2;
  r = std::min({r, NbEchantillonsMax - NbEchantillons, int(sizeof trame.Zone1)});
  for (int i = 0; i < r; ++i) {
    const size_t n = size_t(NbEchantillons + i);
    Brut1[n] = ModeVoies == 2 ? trame_.zero[1] : trame.Zone1[i];
    Brut2[n] = ModeVoies == 1 ? trame_.zero[2] : trame.Zone2[i];
  }
  NbEchantillons += r;
}

void TOscillo::CalculeEchelle(int voie, int calibre, int zero) {
  Echelle[size_t(voie)] = Calibres[size_t(calibre)].span / 255;
  Decalage[size_t(voie)] = -zero * Echelle[size_t(voie)];
}

double TOscillo::TensionMin(int voie) {
  CalculeEchelle(voie, Calibre[size_t(voie)], Zero[size_t(voie)]);
  return Decalage[size_t(voie)];
}

double TOscillo::TensionMax(int voie) {
  CalculeEchelle(voie, Calibre[size_t(voie)], Zero[size_t(voie)]);
  return 255 * Echelle[size_t(voie)] + Decalage[size_t(voie)];
}

void TOscillo::CalculeSignaux(double *temps, double *tension1, double *tension2) {
  const double periode = 1 / BasesDeTemps[trame_.duree].frequence;
  for (int voie : {1, 2}) CalculeEchelle(voie, trame_.calibre[size_t(voie)], trame_.zero[size_t(voie)]);
  for (int i = 0; i < TailleTableaux; ++i) {
    temps[i] = i * periode;
    const bool mesure = i < NbEchantillons;
    tension1[i] = mesure ? Brut1[size_t(i)] * Echelle[1] + Decalage[1] : 0;
    tension2[i] = mesure ? Brut2[size_t(i)] * Echelle[2] + Decalage[2] : 0;
  }
}

uint16_t TOscillo::NbPoints() const { return BasesDeTemps[trame_.duree].points; }

// One calibre step: a grounded frame on calibre k; each channel's mean offset
// from its zero, negated, corrects calibres k−1..k+1 in the column. A mean more
// than CorrectionMax codes away is not an offset error: no correction. False
// when no sample came.
bool TOscillo::EtapeCalibre(int calibre, int colonne) {
  Calibre[1] = Calibre[2] = uint8_t(calibre);
  Demarre();
  int avant;
  do {
    avant = NbEchantillons;
    LitDonnees();
    if (TraiteMessages) TraiteMessages();
  } while (NbEchantillons < NbEchantillonsMax && NbEchantillons > avant);
  const bool recu = NbEchantillons > 0;
  for (int voie = 1; recu && voie <= 2; ++voie) {
    const auto &brut = voie == 1 ? Brut1 : Brut2;
    int64_t somme = 0;
    for (int i = 0; i < NbEchantillons; ++i) somme += brut[size_t(i)];
    int d = int(somme / NbEchantillons) - Zero[size_t(voie)];
    if (d > CorrectionMax || d < -CorrectionMax) d = 0;
    for (int c = calibre - 1; c <= calibre + 1; ++c) Correction[voie][c][colonne] = -d;
  }
  _StopAcqui(Handle);
  Attendre(AttenteDemarrageMs);
  return recu;
}

bool TOscillo::CorrigeDecalage() {
  if (!EstConnecte()) return false;
  const uint8_t duree = Duree;
  const int8_t synchro = Synchro;
  const auto couplage = Couplage, zero = Zero, calibre = Calibre;
  int32_t avant[3][9][2];
  std::memcpy(avant, Correction, sizeof avant);
  Synchro = 0;
  for (int voie : {1, 2}) {
    Couplage[size_t(voie)] = CouplageGND;
    Zero[size_t(voie)] = 127;
    for (auto &colonnes : Correction[voie]) colonnes[0] = colonnes[1] = 0;
  }
  SetAlim(true);
  bool reussi = true;
  constexpr struct { uint8_t duree; int colonne; } Mesures[] = {{4, 0}, {0, 1}};
  for (auto [base, colonne] : Mesures) {
    Duree = base;
    for (int k : {7, 4, 1}) {
      if (EtapeCalibre(k, colonne)) continue;
      reussi = false;  // a step that got nothing leaves its entries as they were
      for (int voie : {1, 2})
        for (int c = k - 1; c <= k + 1; ++c) Correction[voie][c][colonne] = avant[voie][c][colonne];
    }
  }
  Duree = duree;
  Synchro = synchro;
  Couplage = couplage;
  Calibre = calibre;
  Zero = zero;
  EnvoieReglages();
  return reussi;
}

namespace {

std::string CleCorrection(int calibre, int colonne, int voie) {
  return {'Z', char('0' + calibre), char('0' + colonne), char('0' + voie)};
}

}  // namespace

void TOscillo::LitCorrection(const FichierIni &fichier) {
  for (int colonne : {0, 1})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int voie : {1, 2}) {
        const int32_t lu = fichier.LitEntier("Oscillo", CleCorrection(calibre, colonne, voie), 0);
        Correction[voie][calibre][colonne] = std::clamp(lu, -CorrectionMax, CorrectionMax);
      }
}

void TOscillo::EcritCorrection(FichierIni &fichier) const {
  for (int colonne : {0, 1})
    for (int calibre = 0; calibre < 9; ++calibre)
      for (int voie : {1, 2})
        fichier.EcritEntier("Oscillo", CleCorrection(calibre, colonne, voie),
                            Correction[voie][calibre][colonne]);
}
