#pragma once
// What the mouse takes hold of on the graphs and what a drag gives: plain numbers in
// and out, no Qt, so that every boundary is tested without a window.
#include <cstdint>
#include <optional>

class TCourbe;

// What a drag moves; the values are those the window keeps for each paint box.
enum GenreGlissement : uint8_t {
  GlisseAucun = 0,
  GlisseSeuil = 1,   // the trigger level
  GlisseMasse1 = 3,  // the zero line of channel 1
  GlisseMasse2 = 4,  // the zero line of channel 2
  GlisseEchelle = 5  // an abscissa label of the lower graph
};

// A line is hit up to 3 pixels away.
inline constexpr int32_t ToleranceLigne = 4;
// The trigger marker is taken only this close to its own side of the box.
inline constexpr int32_t LargeurPriseSeuil = 16;

// What the time graph shows that can be taken, in pixels.
struct CiblesTemps {
  std::optional<int32_t> masse1, masse2;  // row of 0 V of each channel shown
  int voieSeuil = 0;                      // channel carrying the marker, 0: none
  int32_t ligneSeuil = 0;                 // row of the marker
  int32_t gauche = 0, droite = 0;         // client area
};

// What a press at (x, y) takes hold of: the marker before channel 1's zero line
// before channel 2's.
GenreGlissement PriseTemps(const CiblesTemps &c, int32_t x, int32_t y);

// The trigger level of row y on the trigger channel's axis, limited to the levels the
// device takes (8..248): a release above or below the graph gives the nearest one.
int NiveauSeuilPixel(const TCourbe &voie, int32_t y);

// The code of 0 V that puts a channel's zero line on row y: the code that row shows
// now, limited to 0..255 (a release beyond the display limits); none when the axis has
// no scale.
std::optional<int> CodeZeroPixel(const TCourbe &voie, int32_t y);

// A drag of an abscissa label.
struct GlissementEchelle {
  int32_t xDebut = 0;    // where the drag began
  int32_t xCourant = 0;  // x of the last step applied
  int32_t gauche = 0;    // left edge of the graph area
  double maxiDebut = 0;  // abscissa maximum when the drag began
};

// Steps wait for 4 pixels of movement; the label must stay right of the left edge
// (x ≥ 16 as well), where the stretch (xDebut − gauche) / (x − gauche) is a finite
// positive ratio.
inline constexpr int32_t PasMinimalEchelle = 4;
inline constexpr int32_t XMinimalEchelle = 16;
// The stretch of a step to x, or none when no step is taken there.
std::optional<double> RapportEchelle(const GlissementEchelle &g, int32_t x);

// Spectrum lines shown after a stretch r of a drag begun at maxiDebut hertz, with
// pasFrequence hertz per line: 16..4096.
inline constexpr int NbHarmoniquesMin = 16, NbHarmoniquesMax = 4096;
int NbHarmoniquesEchelle(double maxiDebut, double r, double pasFrequence);

// End frequency after a stretch r of a drag begun at maxiDebut over an axis starting
// at mini: 10..100000 Hz, and none unless it stays above mini.
inline constexpr double FrequenceMaxMin = 10, FrequenceMaxMax = 100000;
std::optional<double> FrequenceMaxEchelle(double maxiDebut, double mini, double r);
