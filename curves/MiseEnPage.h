#pragma once
// The layout numbers of the graphs: font height, the five label flags, the graph area,
// the superposition bands, the value-to-pixel mapping that drawing can never fail on,
// the trigger-marker row and the positions of the graduation labels drawn. Plain
// numbers in and out, so that they are tested without painting.
#include <cstdint>
#include <vector>

// Edges in pixels; Right and Bottom are the first column and row outside.
struct Rectangle {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Largeur() const { return Right - Left; }
  int32_t Hauteur() const { return Bottom - Top; }
  friend bool operator==(const Rectangle &, const Rectangle &) = default;
};

// Font height f, character width c = 2f/3 and tick length t = f/3.
struct Metriques {
  int32_t Police = 13;
  int32_t Caractere = 8;
  int32_t Graduation = 4;
};

// Font height for a client `hauteurClient` pixels high: height / diviseur (40 for the
// time and spectrum graph, 30 for the response diagram), then brought to 13, 16, 20 or
// an even height above 24.
int32_t HauteurPolice(int32_t hauteurClient, int32_t diviseur);
Metriques MetriquesPolice(int32_t hauteurPolice);
// The font the graphs ask for: "Tabulo" below 21 pixels, "Arial Tabulo" from 21 on.
const char *NomPoliceGraphe(int32_t hauteurPolice);
// What draws both of them here.
inline constexpr const char *FamillePolice = "DejaVu Sans";

struct Drapeaux {
  bool EtiquettesX = false;  // x labels fit
  bool EtiquettesY = false;  // y labels fit
  bool AxeY = true;          // y axes wanted (a user setting): shown until one says no
  bool DenseX = false;       // room for twice as many x graduations
  bool DenseY = false;
  friend bool operator==(const Drapeaux &, const Drapeaux &) = default;
};

struct MiseEnPage {
  Drapeaux Etiquettes;
  Rectangle Zone;  // the graph area
};

// Time and spectrum graph: `nbBandes` channels stacked in superposition (1 otherwise),
// `axeY` the y-axes setting, `actif1`/`actif2` the channels shown.
MiseEnPage MiseEnPageOsc(const Rectangle &client, const Metriques &m, int32_t nbBandes,
                         bool superposition, bool axeY, bool actif1, bool actif2);
// Response diagram: one ordinate axis on the left when wanted and when it fits.
MiseEnPage MiseEnPageMesure(const Rectangle &client, const Metriques &m, bool axeY);

// Pixel span of a vertical axis.
struct Bande {
  int32_t PixelMin = 0;  // bottom row (value Mini)
  int32_t PixelMax = 0;  // top row (value Maxi)
};
// Band k (0 at the top) of n stacked in the area: each is area height / n − t high and
// the next starts t lower, so that a channel never leaves its own band.
Bande BandeSuperposition(const Rectangle &zone, int32_t n, int32_t k, int32_t t);

// Display limits a scale can be computed on: a non-finite minimum becomes 0, and a
// maximum that is not finite or not above the minimum becomes minimum + 1.
struct Limites {
  double Mini, Maxi;
};
Limites LimitesUtilisables(double mini, double maxi);

// Pixels per unit and pixel of 0 for limits mini..maxi spread over pixelMin..pixelMax.
struct Projection {
  double Echelle, Decalage;
};
Projection ProjectionAxe(int32_t pixelMin, int32_t pixelMax, double mini, double maxi);

// How far outside any picture a value that leaves the 32-bit range is drawn.
inline constexpr int32_t LimitePixel = 1 << 20;
// Echelle × v + Decalage rounded half to even, -1 for ValeurIndefinie (outside every
// graph) and kept within ±LimitePixel, so that a huge value on a tiny scale still draws.
int32_t PixelDessin(double echelle, double decalage, double valeur);

// Row of the trigger marker for an 8-bit level on an axis spanning pixelMin..pixelMax.
int32_t LigneSeuil(uint8_t niveau, int32_t pixelMin, int32_t pixelMax);

// True when graduation v of an axis mini..maxi is labelled 0: |v| at most
// (maxi − mini) × fraction (1/1000 on the ordinates, 1/100 on the diagram's abscissa),
// which keeps 1e-17 from being printed for zero.
bool LibelleNul(double v, double mini, double maxi, double fraction);

// Graduation values from `premiere` by `pas` while below `maxi`; none when the step is
// not a positive number, and never more than NbMaxGraduations.
inline constexpr int NbMaxGraduations = 500;
std::vector<double> Graduations(double premiere, double pas, double maxi);

// Abscissa pixels of the graduation labels drawn, for the scale-drag hit test. The
// slots start at 32 and grow by 16; those beyond the labels drawn are 0.
class PositionsEtiquettes {
 public:
  PositionsEtiquettes();
  void Vide();
  void Ajoute(int32_t x);
  // A press at x, y hits a label when y is below the graph area and a label drawn lies
  // within 3 pixels of x. The cleared slots are no labels.
  bool Touche(int32_t x, int32_t y, int32_t basZone) const;
  int32_t Nombre() const { return nombre_; }
  const std::vector<int32_t> &Emplacements() const { return emplacements_; }

 private:
  std::vector<int32_t> emplacements_;
  int32_t nombre_ = 0;
};
