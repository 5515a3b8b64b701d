#pragma once
// The curves: a series of values that knows how to sit on a graph axis (TCourbe), an
// oscilloscope channel with its spectrum and per-frame measurements (TCourbeOsc), and a
// measurement channel of the response diagram (TCourbeMesure). No drawing here and no
// window controls: the main window keeps its own table of which controls go with which
// curve.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Fft.h"
#include "Mesures.h"
#include "Tvoie.h"

class TCourbe : public Tvoie {
 public:
  double Echelle = 1.0;   // pixels per unit of value (negative for a vertical axis)
  double Decalage = 0.0;  // pixel of value 0
  double PasGraduation = 1.0;
  double Multiplicateur = 1.0;  // power of 1000 the labels are divided by
  double PremiereGraduation = 0.0;
  int32_t NbChiffres = 3;       // significant digits of the labels, 3 or 4
  int32_t PixelMin = 0;         // pixel of Mini (bottom or left edge)
  int32_t PixelMax = 0;         // pixel of Maxi (top or right edge)

  // `index` 0..4 picks the colour (range error otherwise); name and unit are cut to 32.
  TCourbe(std::string_view nom, int index, std::string_view unite);

  // -1 for ValeurIndefinie (outside every graph); ERangeError beyond 32 bits.
  int32_t ValeurEnPixel(double valeur) const;
  double PixelEnValeur(int32_t pixel) const;
  // A vertical position as an 8-bit level, 0 at PixelMin, 255 at PixelMax; ERangeError
  // outside 0..255.
  uint8_t PixelEnNiveau(int32_t pixel) const;
  // Step, first graduation, multiplier and digits of the labels for Mini..Maxi; `dense`
  // when the graph has room for about twice as many graduations.
  void CalculGraduation(bool dense);
  // The label of graduation v: v / Multiplicateur with NbChiffres significant digits.
  Texte32 TexteGraduation(double v) const;
};

class TCourbeOsc : public TCourbe, public MesuresVoie {
 public:
  std::array<double, NbValeursVoie> Spectre{};  // bin amplitudes, 0..4095 written
  // The window of the spectrum, the owner's choice (the options); the rectangle until then.
  Fft::Fenetre FenetreSpectre = Fft::Rectangle;

  TCourbeOsc(std::string_view nom, int index, std::string_view unite);

  // Spectrum through FenetreSpectre and measurements of the first `count` values
  // (16..8192; fewer: nothing is done; more: ERangeError). Valeurs stay as acquired
  // whatever the window.
  void AnalyseCourbe(uint16_t count);

 private:
  std::array<double, NbValeursVoie> re_{}, im_{};  // the transform's arrays, kept to allocate once
};

// What a measurement curve measures; the values are those the settings file keeps.
enum GrandeurMesure : uint8_t {
  GrandeurFrequence = 0,
  GrandeurEfficace = 1,
  GrandeurPhase = 2,
  GrandeurMoyenne = 3,
  GrandeurRapportCyclique = 4,
  GrandeurCreteACrete = 5,
  GrandeurMontee = 6,
  GrandeurDescente = 7,
  GrandeurGain = 8,
};
inline constexpr int NbGrandeurs = GrandeurGain + 1;
// Names shown in the channel dialog and units given to the curve, 8-bit texts.
inline constexpr std::array<const char *, NbGrandeurs> NomsGrandeurs{
    "Fr\xE9quence",      "Valeur efficace",   "Phase",
    "Valeur moyenne",    "Rapport cyclique",  "Valeur cr\xEAte \xE0 cr\xEAte",
    "Temps de mont\xE9" "e", "Temps de descente", "Gain"};
inline constexpr std::array<const char *, NbGrandeurs> UnitesGrandeurs{
    "Hz", "V", "\xB0", "V", "%", "V", "s", "s", ""};

class TCourbeMesure : public TCourbe {
 public:
  uint8_t Grandeur = GrandeurFrequence;  // a GrandeurMesure, index into NomsGrandeurs
  double Valeur = ValeurIndefinie;       // the last measured value
  uint8_t VoieMesure = 1;                // oscilloscope channel measured, 1 or 2
  uint8_t VoieReference = 1;             // reference channel of phase and gain, 1 or 2

  TCourbeMesure(std::string_view nom, int index, std::string_view unite);

  // Kind 0..8 (ERangeError otherwise) and its unit; the value is undefined until the
  // next measurement.
  void SetGrandeur(uint8_t grandeur);
  // New channels; the value is undefined until the next measurement.
  void ChoisitVoies(uint8_t mesure, uint8_t reference);
  // Valeur from channels 1 and 2 of the time graph, both analysed on the same frame, Te
  // seconds apart. Any failure (no period, a division by zero, a flat channel, a channel
  // number outside 1..2, a result that is not a number) gives ValeurIndefinie.
  void CalculMesure(const TCourbeOsc &voie1, const TCourbeOsc &voie2,
                    double periodeEchantillonnage);
  // Phase of channel 2 against channel 1 over a period of the reference channel, as
  // -phi for channel 2 = sin(wt + phi) against channel 1 = sin(wt); none on failure.
  std::optional<double> Dephasage(const TCourbeOsc &voie1, const TCourbeOsc &voie2) const;

 private:
  double Mesure(const TCourbeOsc &c, const TCourbeOsc &r, const TCourbeOsc &voie1,
                const TCourbeOsc &voie2, double te) const;
};
