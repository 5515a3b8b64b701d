#pragma once
// The oscilloscope screen: two channels against a common abscissa, with axes, labels,
// zero lines, the trigger marker and the time origin; in bar mode the same class draws
// the spectrum, one bar per bin. Draws onto any paint device: the main window gives it
// the backing image of its paint box.
#include <QLine>
#include <QPaintDevice>
#include <cstdint>
#include <vector>

#include "Courbe.h"
#include "MiseEnPage.h"

class QPainter;

class TgrapheOsc {
 public:
  Drapeaux Etiquettes;   // AxeY is the user's setting, true until loaded
  int32_t NbBandes = 1;  // superposition bands: counted by Draw from the channels shown
  TCourbeOsc Voie1{"V1", 1, "V"};
  TCourbeOsc Voie2{"V2", 2, "V"};
  TCourbe Abscisse{"t", 0, "s"};
  uint8_t NiveauSeuil = 0;        // trigger level 0..255
  uint8_t SensSeuil = 0;          // 0 rising, 1 falling: the item index of the slope choice
  int32_t LigneSeuil = -16;       // row of the trigger marker, computed while drawing
  uint8_t VoieSeuil = 0;          // 0 no marker, 1 or 2 the channel that carries it
  Rectangle Zone;                 // graph area
  Rectangle Client;               // the whole paint device
  Metriques Police;               // font height, character width, tick length
  uint16_t NbPoints = 0;          // valid samples (bins shown in bar mode), 0..8192
  bool ModeBarres = false;        // the spectrum graph
  PositionsEtiquettes Positions;  // abscissa labels drawn
  double OrigineTemps = 0;        // abscissa value of the time origin
  bool Superposition = false;     // logic-analyser superposition: one band per channel
  double PasFrequence = 100.0;    // hertz per spectrum bin, set before each bar drawing

  TgrapheOsc() = default;
  TgrapheOsc(const TgrapheOsc &) = delete;
  TgrapheOsc &operator=(const TgrapheOsc &) = delete;

  // Channel 1 or 2.
  TCourbeOsc &Voie(int c) { return c == 2 ? Voie2 : Voie1; }
  const TCourbeOsc &Voie(int c) const { return c == 2 ? Voie2 : Voie1; }

  // Paints the whole graph over the device.
  void Draw(QPaintDevice &surface);
  // True when (x, y) lies below the graph area within 3 pixels of an abscissa label.
  bool ToucheEtiquette(int32_t x, int32_t y) const { return Positions.Touche(x, y, Zone.Bottom); }

 private:
  void MetEnPage();
  void DessineOrdonnees(QPainter &p);
  void DessineSeuil(QPainter &p);
  void DessineOrigine(QPainter &p);
  void DessineCourbe(QPainter &p, const TCourbeOsc &c);
  void DessineBarres(QPainter &p, const TCourbeOsc &c, int voie);

  std::vector<QLine> barres_;  // kept so that a frame allocates nothing
};
