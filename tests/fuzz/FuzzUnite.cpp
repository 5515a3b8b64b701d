// The unit parser: any text, as typed in a channel's unit field or read from a file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Erreurs.h"
#include "Verifie.h"
#include "uniteKer.h"

namespace {

bool Egales(const Tunite &a, const Tunite &b) {
  return a.NomUnite == b.NomUnite && a.Correcte == b.Correcte && a.NomDonne == b.NomDonne &&
         a.Genre == b.Genre && a.Dimension == b.Dimension && a.PuissanceDix == b.PuissanceDix;
}

// The display functions may raise the program's own range errors, which their callers
// catch; anything else (a standard exception, a crash) is a fault.
template <typename F>
void SansAutreErreur(F &&f) {
  try {
    f();
  } catch (const ERangeError &) {
  } catch (const EIntOverflow &) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, std::size_t taille) {
  const std::string_view texte(reinterpret_cast<const char *>(donnees), taille);

  // SetNomUnite never raises: an escaping exception aborts here
  Tunite u;
  u.SetNomUnite(texte);
  VERIFIE(u.NomDonne == !u.NomUnite.empty());
  if (u.Correcte && u.NomDonne) VERIFIE(u.NomAffiche(0) == u.NomUnite);

  // a reading starts afresh: what the unit held before does not show through
  Tunite avant;
  avant.SetNomUnite("km.s^-2");
  avant.NomGrandeur = "a";
  avant.SetNomUnite(texte);
  VERIFIE(Egales(avant, u));
  VERIFIE(avant.NomGrandeur == "a");

  for (const int8_t n : {int8_t(-128), int8_t(-6), int8_t(-1), int8_t(0), int8_t(3), int8_t(127)}) {
    SansAutreErreur([&] {
      Tunite v = u;
      v.NomAffiche(n);
    });
  }
  for (const double x : {0.0, -1.5e-9, 999.4, 1e30, ValeurIndefinie}) {
    SansAutreErreur([&] {
      Tunite v = u;
      v.NomGrandeur = "U";
      v.Egalite(x);
      v.TitreAxe(x == 0 ? 1 : x);
    });
  }
  SansAutreErreur([&] {
    Tunite v = u;
    v.Multiplie(u);
    v.Eleve(-3);
    v.Inverse();
  });
  SansAutreErreur([&] { AvecPrefixe(u.NomUnite, 3); });
  return 0;
}
