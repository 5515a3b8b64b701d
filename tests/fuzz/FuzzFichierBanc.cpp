// The bench-file reader: any file text. A mistake names a line of the file; a file from
// disk, which passes through the settings-file reader first, reads as its text does; a
// bench that reads furnishes a bench whose inputs give finite voltages.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "BancVirtuel.h"
#include "FichierBanc.h"
#include "FichierIni.h"
#include "Verifie.h"

namespace {

bool MemesSources(const DescriptionSource &a, const DescriptionSource &b) {
  return a.forme == b.forme && a.amplitude == b.amplitude && a.frequence == b.frequence &&
         a.decalage == b.decalage && a.rapport == b.rapport;
}

bool MemesBancs(const DescriptionBanc &a, const DescriptionBanc &b) {
  const auto &c = a.circuit, &d = b.circuit;
  return a.oscilloscope == b.oscilloscope && a.bruit == b.bruit && a.graine == b.graine &&
         a.generateur == b.generateur && MemesSources(a.signal, b.signal) &&
         a.generateurs == b.generateurs && a.externeEstLeSignal == b.externeEstLeSignal &&
         MemesSources(a.externe, b.externe) && c.type == d.type && c.coupure == d.coupure &&
         c.centre == d.centre && c.qualite == d.qualite && c.retard == d.retard &&
         c.gain == d.gain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, std::size_t taille) {
  const std::string_view texte(reinterpret_cast<const char *>(donnees), taille);
  FauteBanc faute;
  const auto description = LitDescriptionBanc(texte, faute);

  FichierIni ini("");
  ini.Charge(texte);
  if (!description) {
    VERIFIE(faute.ligne >= 1 && std::size_t(faute.ligne) <= ini.Elements().size());
    VERIFIE(!faute.attendu.empty());
  }
  FauteBanc fauteDuFichier;
  const auto duFichier = LitDescriptionBanc(ini.Contenu(), fauteDuFichier);
  VERIFIE(description.has_value() == duFichier.has_value());
  if (!description) {
    VERIFIE(faute.ligne == fauteDuFichier.ligne && faute.attendu == fauteDuFichier.attendu);
    return 0;
  }
  VERIFIE(MemesBancs(*description, *duFichier));

  // the generator that plays the input is one of those plugged in
  if (!description->generateur.empty()) {
    bool branche = false;
    for (const auto &g : description->generateurs) branche = branche || g == description->generateur;
    VERIFIE(branche);
  }
  BancVirtuel banc;
  MonteBanc(banc, *description);
  for (const int entree : {1, 2, 3}) VERIFIE(std::isfinite(banc.Moyenne(entree)));
  // channel 2 is left out: its circuit is stepped from rest at the source's pace, which
  // an accepted file can make take hours (a 1 GHz source through a 1 Hz low-pass)
  for (const int entree : {1, 3})
    for (const double t : {0.0, 1.25e-5, 0.5}) VERIFIE(std::isfinite(banc.Tension(entree, t)));
  return 0;
}
