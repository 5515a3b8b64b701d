#include "Courbe.h"

#include <cmath>
#include <exception>
#include <span>

#include "Erreurs.h"

TCourbeMesure::TCourbeMesure(std::string_view nom, int index, std::string_view unite)
    : TCourbe(nom, index, unite) {
  Mini = 0;
}

void TCourbeMesure::SetGrandeur(uint8_t grandeur) {
  VerifieIntervalle(grandeur, 0, NbGrandeurs - 1);
  Grandeur = grandeur;
  SetNomUnite(UnitesGrandeurs[grandeur]);
  Valeur = ValeurIndefinie;
}

void TCourbeMesure::ChoisitVoies(uint8_t mesure, uint8_t reference) {
  VoieMesure = mesure;
  VoieReference = reference;
  Valeur = ValeurIndefinie;
}

std::optional<double> TCourbeMesure::Dephasage(const TCourbeOsc &voie1,
                                               const TCourbeOsc &voie2) const {
  if (VoieReference != 1 && VoieReference != 2) return std::nullopt;
  const TCourbeOsc &r = VoieReference == 1 ? voie1 : voie2;
  // the samples analysed, not the points shown
  const std::size_t count = std::min(voie1.NbAnalyses, voie2.NbAnalyses);
  return ::Dephasage(std::span<const double>(voie1.Valeurs.data(), count),
                     std::span<const double>(voie2.Valeurs.data(), count), r.DebutPeriode,
                     r.FinPeriode, r.PeriodeFine);
}

namespace {

// The quotient, or NaN when the divisor is 0 (which a division would not report).
double Quotient(double a, double b) { return b == 0 ? NAN : a / b; }

int Duree(uint16_t debut, uint16_t fin) { return int(fin) - int(debut); }

}  // namespace

double TCourbeMesure::Mesure(const TCourbeOsc &c, const TCourbeOsc &r, const TCourbeOsc &voie1,
                             const TCourbeOsc &voie2, double te) const {
  const int periode = Duree(c.DebutPeriode, c.FinPeriode);
  switch (Grandeur) {
    // the period interpolated and averaged over the frame, as the phase uses it: one
    // whole-sample period between noisy crossings is off by a few tenths of a percent
    case GrandeurFrequence: return Quotient(1.0, (periode > 0 ? c.PeriodeFine : 0.0) * te);
    case GrandeurEfficace: return c.Efficace;
    case GrandeurPhase: {
      const std::optional<double> d = Dephasage(voie1, voie2);
      if (!d) return NAN;
      return VoieReference == 2 ? *d : -*d;
    }
    case GrandeurMoyenne: return c.Moyenne;
    // a fraction 0..1, as the diagram's scale for it; a display in % multiplies by 100
    case GrandeurRapportCyclique: return Quotient(Duree(c.DebutHaut, c.FinHaut), periode);
    case GrandeurCreteACrete: return c.CreteACrete;
    case GrandeurMontee: return Duree(c.DebutMontee, c.FinMontee) * te;
    case GrandeurDescente: return Duree(c.DebutDescente, c.FinDescente) * te;
    case GrandeurGain: return Quotient(c.Efficace, r.Efficace);
    default: return NAN;
  }
}

void TCourbeMesure::CalculMesure(const TCourbeOsc &voie1, const TCourbeOsc &voie2,
                                 double periodeEchantillonnage) {
  const auto voie = [&](uint8_t n) { return n == 1 ? &voie1 : n == 2 ? &voie2 : nullptr; };
  const TCourbeOsc *c = voie(VoieMesure), *r = voie(VoieReference);
  Valeur = ValeurIndefinie;
  if (!c || !r || c->NbAnalyses == 0 || r->NbAnalyses == 0) return;
  try {
    const double v = Mesure(*c, *r, voie1, voie2, periodeEchantillonnage);
    if (std::isfinite(v)) Valeur = v;
  } catch (const std::exception &) {
    // any error of the computation leaves the value undefined, and goes no further
  }
}
