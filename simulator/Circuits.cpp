#include "Circuits.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Sources.h"

PasseBasRC::PasseBasRC(double frequenceCoupure)
    : tau_(1 / (2 * std::numbers::pi * frequenceCoupure)) {}

// Exact solution of tau·y' = u − y for u linear over the step.
double PasseBasRC::Pas(double e0, double e1, double dt) {
  if (dt <= 0) return sortie_;
  const double pente = (e1 - e0) / dt;
  if (dt != dtPrecedent_) {  // the bench steps at a few fixed sizes: spare the exp
    dtPrecedent_ = dt;
    attenuation_ = std::exp(-dt / tau_);
  }
  const double a = attenuation_;
  sortie_ = e1 - pente * tau_ + (sortie_ - e0 + pente * tau_) * a;
  return sortie_;
}

SuiviCircuit::SuiviCircuit(std::shared_ptr<Circuit> circuit,
                           std::shared_ptr<const Source> source)
    : circuit_(std::move(circuit)), source_(std::move(source)) {}

void SuiviCircuit::Repart(double t) {
  circuit_->Reinitialise();
  t_ = t;
  entree_ = source_->Tension(t);
  sortie_ = 0;
  demarre_ = true;
}

double SuiviCircuit::Sortie(double t) {
  const double etablissement = circuit_->DureeEtablissement();
  if (!demarre_ || t < t_ || t - t_ > etablissement) Repart(t - etablissement);
  const double pasMax = std::min(circuit_->PasMaximal(), source_->PasMaximal());
  while (t > t_) {
    const double pas = std::min(pasMax, t - t_);
    const double suivant = t - t_ - pas <= pasMax * 1e-9 ? t : t_ + pas;
    const double entree = source_->Tension(suivant);
    sortie_ = circuit_->Pas(entree_, entree, suivant - t_);
    t_ = suivant;
    entree_ = entree;
  }
  return sortie_;
}
