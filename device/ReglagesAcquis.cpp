#include "ReglagesAcquis.h"

ReglagesAcquis::ReglagesAcquis() {
  calibre_.fill(5);
  couplage_.fill(CouplageDC);
  zero_.fill(127);
}

namespace {
bool Voie(int voie) { return voie == 1 || voie == 2; }
}  // namespace

void ReglagesAcquis::SetCalibre(int voie, int calibre) {
  if (Voie(voie) && calibre >= 0 && calibre < int(Calibres.size()))
    calibre_[Indice(voie)] = uint8_t(calibre);
}

void ReglagesAcquis::SetCouplage(int voie, int couplage) {
  if (Voie(voie) && couplage >= CouplageAC && couplage <= CouplageGND)
    couplage_[Indice(voie)] = Couplage(couplage);
}

void ReglagesAcquis::SetZero(int voie, int zero) {
  if (Voie(voie) && zero >= 0 && zero <= 255) zero_[Indice(voie)] = uint8_t(zero);
}

void ReglagesAcquis::SetSynchro(int synchro) {
  if (synchro >= SynchroRelaxe && synchro <= SynchroExterne) synchro_ = ModeSynchro(synchro);
}

void ReglagesAcquis::SetSens(int sens) {
  if (sens == SensMontant || sens == SensDescendant) sens_ = SensSynchro(sens);
}

void ReglagesAcquis::SetDuree(int duree) {
  if (duree >= 0 && duree < int(BasesDeTemps.size())) duree_ = uint8_t(duree);
}

void ReglagesAcquis::SetSeuil(int seuil) {
  if (seuil >= 0 && seuil <= 255) seuil_ = uint8_t(seuil);
}

void ReglagesAcquis::NormaliseSeuil() {
  if (seuil_ < SeuilMin || seuil_ > SeuilMax) seuil_ = SeuilMilieu;
}

int ReglagesAcquis::VoieSeuil() const {
  return synchro_ == SynchroVoie1 || synchro_ == SynchroVoie2 ? int(synchro_) : 0;
}

double ReglagesAcquis::TensionMin(int voie) const {
  return ::TensionMin(Calibre(voie), Zero(voie));
}

double ReglagesAcquis::TensionMax(int voie) const {
  return ::TensionMax(Calibre(voie), Zero(voie));
}

// Scale and offset as the conversion of a frame computes them, so that limits
// and samples agree to the last bit.
double TensionMin(int calibre, int zero) {
  const double echelle = Calibres[std::size_t(calibre)].span / 255;
  return -zero * echelle;
}

double TensionMax(int calibre, int zero) {
  const double echelle = Calibres[std::size_t(calibre)].span / 255;
  return 255 * echelle + -zero * echelle;
}
