#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "EntreesGenerateur.h"

// What tells the two kinds of USB function generator apart, as the drivers see them.
struct ModeleGenerateur {
  const char16_t *noms[2];  // device names tried by Ouvre, in order
  double frequenceMin;      // Hz; SetFrequence clamps to [frequenceMin, frequenceMax]
  double frequenceMax;
  int32_t codeMax;          // highest output code
  int32_t codeZero;         // code of 0 V
  double etendue;           // volts over the codes 0..codeMax
  int32_t signe;            // -1 when the output stage inverts the code
};

// Table points of one period at most; the table holds one more slot for the 0 V code.
inline constexpr int32_t PointsPeriodeMax = 16000;
// Generator record: points (4), clock index (1), zero (3), reload (4), 16000 codes of 4 bytes.
inline constexpr std::size_t TailleEnregistrementGenerateur = 12 + 4 * PointsPeriodeMax;

// What both drivers share: the handle, the table of one period and the record handed to
// the library. Each driver adds its own SetFrequence and Lance.
class TGenerateurUSB {
 public:
  int32_t Handle = 0;
  int32_t Recharge = 0;
  std::array<uint8_t, TailleEnregistrementGenerateur> Enregistrement{};
  int32_t NbPointsPeriode = 0;
  std::array<int32_t, PointsPeriodeMax + 1> Table{};
  double Amplitude;  // peak volts

  // Opens the first device name that answers; true when a generator is open.
  bool Ouvre();
  void Ferme();
  void Stoppe();
  // One period of a sine of `Amplitude` over NbPointsPeriode points, then the 0 V code.
  // ERangeError when NbPointsPeriode is outside 0..16000.
  void CalculeTable();
  int32_t CodeAmplitude(double v) const;

 protected:
  // `entrees` null: the library is absent and the driver never opens.
  TGenerateurUSB(const ModeleGenerateur &modele, const EntreesGenerateur *entrees,
                 double amplitude);
  // False when the generator did not take the record: it has gone (unplugged), and the
  // handle is let go, so that the next Ouvre opens the device afresh.
  bool LanceAvecHorloge(uint8_t indexHorloge);
  // f limited to the kind's range (NaN counts as the minimum).
  double FrequenceLimitee(double f) const;

 private:
  void RemplitEnregistrement(uint8_t indexHorloge);

  const ModeleGenerateur &modele_;
  const EntreesGenerateur *entrees_;
};

// Nearest integer, ties to even (x within the 64-bit range).
int64_t PlusProche(double x);
