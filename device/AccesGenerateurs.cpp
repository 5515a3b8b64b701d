#include "AccesGenerateurs.h"

#include "gbf_USB_dynamique.h"
#include "gtbf_USB_dynamique.h"

namespace {

// Calls `f` on the driver of kind g when it exists; a driver without its
// library opens nothing and calls nothing.
template <class F>
auto Avec(GenreGenerateur g, F f) {
  if (g == GenreGenerateur::GBF && GBF_USBPresent() && GBF_USB()) return f(*GBF_USB());
  if (g == GenreGenerateur::GTBF && GTBF_USBPresent() && GTBF_USB()) return f(*GTBF_USB());
  return decltype(f(*GBF_USB()))();
}

}  // namespace

bool GenerateursCharges::Ouvre(GenreGenerateur g) {
  return Avec(g, [](auto &d) { return d.Ouvre(); });
}
void GenerateursCharges::Stoppe(GenreGenerateur g) {
  Avec(g, [](auto &d) { d.Stoppe(); });
}
void GenerateursCharges::SetFrequence(GenreGenerateur g, double f) {
  Avec(g, [f](auto &d) { d.SetFrequence(f); });
}
void GenerateursCharges::SetAmplitude(GenreGenerateur g, double crete) {
  Avec(g, [crete](auto &d) { d.Amplitude = crete; });
}
void GenerateursCharges::CalculeTable(GenreGenerateur g) {
  Avec(g, [](auto &d) { d.CalculeTable(); });
}
bool GenerateursCharges::Lance(GenreGenerateur g) {
  return Avec(g, [](auto &d) { return d.Lance(); });
}

PlageFrequences PlageGenerateur(GenreGenerateur g) {
  const ModeleGenerateur &m = g == GenreGenerateur::GTBF ? ModeleGTBF : ModeleGBF;
  return {m.frequenceMin, m.frequenceMax};
}

double FrequenceLimitee(GenreGenerateur g, double f) {
  const PlageFrequences p = PlageGenerateur(g);
  if (!(f >= p.min)) return p.min;  // NaN too
  return f > p.max ? p.max : f;
}

GenreGenerateur DetecteGenerateur(AccesGenerateurs &g) {
  if (g.Ouvre(GenreGenerateur::GBF)) return GenreGenerateur::GBF;
  if (g.Ouvre(GenreGenerateur::GTBF)) return GenreGenerateur::GTBF;
  return GenreGenerateur::Aucun;
}
