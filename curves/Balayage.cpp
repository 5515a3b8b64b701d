#include "Balayage.h"

#include <cmath>

double Balayage::Demarre(const ParametresBalayage &p) {
  p_ = p;
  if (p_.points <= 0) p_.points = PointsParDefaut;
  if (p_.delaiMs <= 0) p_.delaiMs = DelaiParDefautMs;
  enCours_ = true;
  return Frequence(0);
}

double Balayage::Frequence(int k) const {
  const double x = double(k) / p_.points;
  if (p_.logarithmique && p_.fmin > 0 && p_.fmax > 0)
    return p_.fmin * std::pow(p_.fmax / p_.fmin, x);
  return p_.fmin + k * (p_.fmax - p_.fmin) / p_.points;
}

std::optional<double> Balayage::Suivante(int nombre) {
  if (!enCours_ || nombre >= p_.points) {
    enCours_ = false;
    return std::nullopt;
  }
  return Frequence(nombre);
}
