#include "ListePoints.h"

#include "ZelmUtil.h"

ListePoints::Resultat ListePoints::AcquiertPoint() {
  for (int i = 0; i < int(courbes_.size()); ++i) {
    const TCourbeMesure &c = courbes_[size_t(i)];
    if (c.Active && c.Valeur == ValeurIndefinie) return {Refus::ValeurIncorrecte, i};
  }
  if (nombre_ >= NbMax) return {Refus::Plein, -1};
  for (TCourbeMesure &c : courbes_) c.Valeurs[nombre_] = c.Active ? c.Valeur : ValeurIndefinie;
  ++nombre_;
  return {};
}

bool ListePoints::Defaire() {
  if (nombre_ == 0) return false;
  --nombre_;
  return true;
}
