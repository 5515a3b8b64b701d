#include "GenerateurUSB.h"

#include <cmath>

#include "Enregistrements.h"
#include "Erreurs.h"
#include "Horloge.h"

namespace {

// Fixed wait of the generators' protocol around open, close and start.
constexpr int AttenteGenerateurMs = 100;
// Meaning left to the library; the drivers always pass 1.
constexpr int32_t ModeLancement = 1;

void EcritEntier32(uint8_t *p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

}  // namespace

int64_t PlusProche(double x) { return static_cast<int64_t>(std::nearbyint(x)); }

TGenerateurUSB::TGenerateurUSB(const ModeleGenerateur &modele,
                               const EntreesGenerateur *entrees, double amplitude)
    : Amplitude(amplitude), modele_(modele), entrees_(entrees) {}

bool TGenerateurUSB::Ouvre() {
  if (Handle == 0 && entrees_) {
    Handle = entrees_->SetPortOpen(ChaineOle<char16_t>(modele_.noms[0]).c());
    if (Handle == 0) Handle = entrees_->SetPortOpen(ChaineOle<char16_t>(modele_.noms[1]).c());
    Attendre(AttenteGenerateurMs);
  }
  return Handle != 0;
}

void TGenerateurUSB::Ferme() {
  if (Handle != 0 && entrees_) {
    Stoppe();
    entrees_->SetPortClose(Handle);
    Attendre(AttenteGenerateurMs);
  }
  Handle = 0;
}

void TGenerateurUSB::Stoppe() {
  if (entrees_) entrees_->StopGenerateur(Handle);
}

int32_t TGenerateurUSB::CodeAmplitude(double v) const {
  // The division comes last, as the generator's own formula has it: a peak of exactly
  // half a code then rounds to even like the hardware's reference tables.
  const double code =
      std::nearbyint(modele_.signe * v * modele_.codeMax / modele_.etendue) + modele_.codeZero;
  if (std::isnan(code)) return modele_.codeZero;
  if (code <= 0) return 0;
  if (code >= modele_.codeMax) return modele_.codeMax;
  return static_cast<int32_t>(code);
}

void TGenerateurUSB::CalculeTable() {
  // a period longer than the table is a range error, not a silently shorter period
  const auto n = static_cast<int32_t>(VerifieIntervalle(NbPointsPeriode, 0, PointsPeriodeMax));
  for (int32_t i = 0; i < n; ++i)
    Table[i] = CodeAmplitude(std::sin(2 * M_PI * i / n) * Amplitude);
  for (int32_t i = n; i <= PointsPeriodeMax; ++i) Table[i] = modele_.codeZero;
}

bool TGenerateurUSB::LanceAvecHorloge(uint8_t indexHorloge) {
  if (!entrees_) return false;
  Attendre(AttenteGenerateurMs);
  entrees_->StopGenerateur(Handle);
  RemplitEnregistrement(indexHorloge);
  const int32_t lance = entrees_->LanceGenerateur(Handle, ModeLancement, Enregistrement.data());
  Attendre(AttenteGenerateurMs);
  // a refused record is a generator gone: a sweep must not go on as if it played
  if (lance == 0 && Handle != 0) {
    entrees_->SetPortClose(Handle);
    Handle = 0;
  }
  return lance != 0;
}

void TGenerateurUSB::RemplitEnregistrement(uint8_t indexHorloge) {
  uint8_t *e = Enregistrement.data();
  EcritEntier32(e, NbPointsPeriode);
  e[4] = indexHorloge;
  e[5] = e[6] = e[7] = 0;
  EcritEntier32(e + 8, Recharge);
  for (int32_t i = 0; i < PointsPeriodeMax; ++i) EcritEntier32(e + 12 + 4 * i, Table[i]);
}

double TGenerateurUSB::FrequenceLimitee(double f) const {
  if (!(f > modele_.frequenceMin)) return modele_.frequenceMin;
  if (f >= modele_.frequenceMax) return modele_.frequenceMax;
  return f;
}
