#pragma once
// The readouts under the time graph: what a channel's frame measures, by the very
// measurement curves the diagram uses.
#include <QString>
#include <array>

class TCourbeOsc;

// Frequency (Hz), peak-to-peak, RMS and mean (V) of channel `voie` (1 or 2), both
// channels analysed on the same frame; ValeurIndefinie where there is none.
std::array<double, 4> LecturesVoie(const TCourbeOsc &voie1, const TCourbeOsc &voie2, int voie,
                                   double periodeEchantillonnage);
// "f = 1 kHz   Vcc = 2,82 V   Veff = 707 mV   Vmoy = 1,2 mV", "—" for a value there is none of.
QString TexteLectures(const std::array<double, 4> &valeurs);
