#include "Courbe.h"

#include <span>

#include "Erreurs.h"
#include "Fft.h"

TCourbeOsc::TCourbeOsc(std::string_view nom, int index, std::string_view unite)
    : TCourbe(nom, index, unite) {}

void TCourbeOsc::AnalyseCourbe(uint16_t count) {
  if (count < MinimumAnalyse) return;
  VerifieIntervalle(count, MinimumAnalyse, Fft::N);
  // The transform windows its own copy: the channel keeps the acquired samples, which the
  // time graph, the export and the levels below all want.
  Fft::Spectrum(count, Valeurs, re_, im_, FenetreSpectre);
  Fft::Amplitudes(Spectre, re_, im_);
  static_cast<MesuresVoie &>(*this) = AnalyseTrame(std::span<const double>(Valeurs.data(), count));
}
