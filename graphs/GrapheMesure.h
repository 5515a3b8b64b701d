#pragma once
// The frequency-response diagram: measured points of up to four quantities against the
// measured frequency, one ordinate axis, and the cursor cross at the current values,
// drawn and erased by inverting. Draws onto any paint device; the cursor needs one
// whose pixels can be inverted, such as the QImage backing store of the paint box.
#include <QPaintDevice>
#include <array>
#include <cstdint>

#include "Courbe.h"
#include "MiseEnPage.h"

class QPainter;

// Where the cursor writes the current values: the main window's value labels.
class EtiquettesValeurs {
 public:
  virtual ~EtiquettesValeurs() = default;
  // The value label of measurement curve i (0: the frequency, 1..4) now shows `texte`,
  // an 8-bit text.
  virtual void AfficheValeur(int i, const Texte32 &texte) = 0;
};

// Point markers, the curve's Motif.
enum MotifPoint : uint8_t { MotifCroix = 0, MotifCroixDiag = 1, MotifCercle = 2, MotifCarre = 3 };

class TgrapheMesure {
 public:
  static constexpr int NbCourbes = 5;
  static constexpr int BrasCurseur = 10;  // half-length of the cursor's arms

  Drapeaux Etiquettes;  // AxeY: "Axe vertical", true until the settings say
  std::array<TCourbeMesure, NbCourbes> Courbes;  // 0 the frequency, 1..4 the quantities
  Rectangle Zone;                                // graph area
  Rectangle Client;                              // the whole paint device
  Metriques Police;
  uint16_t NbPoints = 0;                   // measured points, 0..8192
  int32_t NbPointsBalayage = 0;            // points of an automatic sweep
  int32_t DelaiBalayage = 0;               // ms between a frequency step and its point
  PositionsEtiquettes Positions;           // abscissa labels drawn
  int32_t DimPoint = 2;                    // point half-size, "Taille des points"
  EtiquettesValeurs *Afficheur = nullptr;  // not owned; none: the values are not shown

  TgrapheMesure();
  TgrapheMesure(const TgrapheMesure &) = delete;
  TgrapheMesure &operator=(const TgrapheMesure &) = delete;

  // Paints the whole diagram, the cursor last.
  void Draw(QPaintDevice &surface);
  // Draws the cursor crosses at the current values by inverting the pixels, so that a
  // second call with the same values erases them; writes the value labels.
  void Cursor(QPaintDevice &surface);
  bool ToucheEtiquette(int32_t x, int32_t y) const { return Positions.Touche(x, y, Zone.Bottom); }
  // The curve whose ordinate axis is drawn: the first shown among 1..3, else 4 when
  // shown; -1 when no quantity is shown (then no ordinate axis at all).
  int CourbeAxe() const;

 private:
  void MetEnPage();
  void DessineOrdonnee(QPainter &p);
  void DessinePoints(QPainter &p, const TCourbeMesure &c);
  void EcritValeurs();
};

// One marker of half-size d centred on (x, y) in the painter's pen and brush.
void DessineMotif(QPainter &p, uint8_t motif, int32_t x, int32_t y, int32_t d);
