#include "FichierConfig.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "Calibres.h"
#include "FichierIni.h"

namespace {

constexpr const char *Reprise = "Reprise";

std::string SectionMesure(int i) { return "Mesure" + std::to_string(i); }
std::string Cle(const char *nom, int i) { return nom + std::to_string(i); }

// An integer within [min, max], else `defaut` (a value the program never writes).
int Entier(const FichierIni &f, std::string_view s, std::string_view c, int min, int max, int defaut) {
  const int32_t v = f.LitEntier(s, c, defaut);
  return v >= min && v <= max ? v : defaut;
}

// An integer limited to [min, max]; a value that is not a number gives `defaut`.
int Borne(const FichierIni &f, std::string_view s, std::string_view c, int min, int max, int defaut) {
  return std::clamp<int32_t>(f.LitEntier(s, c, defaut), min, max);
}

// A decimal within [min, max], with ',' or '.' whatever the system's separator
// (a file may come from another machine).
double Reel(const FichierIni &f, std::string_view s, std::string_view c, double min, double max,
            double defaut) {
  std::string texte = f.LitTexte(s, c, "");
  std::replace(texte.begin(), texte.end(), ',', '.');
  double v = 0;
  const char *fin = texte.data() + texte.size();
  const auto [p, erreur] = std::from_chars(texte.data(), fin, v);
  if (texte.empty() || erreur != std::errc() || p != fin) return defaut;
  return std::isfinite(v) && v >= min && v <= max ? v : defaut;
}

// "1"/"0", and any other integer as the file format says; a text gives `defaut`.
bool Booleen(const FichierIni &f, std::string_view s, std::string_view c, bool defaut) {
  return f.LitBooleen(s, c, defaut);
}

}  // namespace

ReglagesFichier LitReglages(const FichierIni &f, const ReglagesFichier &courant) {
  ReglagesFichier r = courant;
  r.dimPoint = Entier(f, "Graphe", "DimPoint", 0, 5, courant.dimPoint);
  r.nbHarmoniques = Entier(f, "Fourier", "Nombre", 8, 4096, 4096);
  r.analLog = Booleen(f, "Oscillo", "AnalLog", false);
  r.axeYOscillo = Booleen(f, "Oscillo", "AxeY", true);
  r.axeYMesure = Booleen(f, "Mesure", "AxeY", true);
  r.frequenceMaxi = Reel(f, "Frequence", "Maxi", 10, 100000, courant.frequenceMaxi);
  for (int i = 1; i <= 4; ++i) {
    MesureFichier &m = r.mesures[size_t(i)];
    m.active = Booleen(f, SectionMesure(i), "active", true);
    m.grandeur = Entier(f, SectionMesure(i), "mesure", 1, 8, 1);
  }
  r.couplage[2] = Entier(f, "Voie2", "Couplage", 0, 2, 1);
  r.couplage[1] = Entier(f, "Voie1", "Couplage", 0, 2, 1);
  r.mode = Entier(f, "Affichage", "Mode", 0, 3, 0);
  r.synchro = Entier(f, "Synchro", "Mode", 0, 3, 0);
  r.sens = Entier(f, "Synchro", "Sens", 0, 1, 0);
  r.monocoup = Booleen(f, "Synchro", "Monocoup", false);
  r.duree = Borne(f, "Temps", "Duree", 0, int(BasesDeTemps.size()) - 1, 0);
  r.seuil = Borne(f, "Synchro", "Seuil", 0, 255, 127);
  r.calibre[2] = Borne(f, "Voie2", "Calibre", 0, int(Calibres.size()) - 1, 5);
  r.calibre[1] = Borne(f, "Voie1", "Calibre", 0, int(Calibres.size()) - 1, 5);
  r.correction = TOscillo::LitTableCorrection(f);

  // the program's own section, after the keys above
  r.frequenceMini = Reel(f, Reprise, "FreqMini", 0.005, r.frequenceMaxi, courant.frequenceMini);
  r.pointsBalayage = Entier(f, Reprise, "Points", 0, 8192, courant.pointsBalayage);
  r.delaiBalayage = Entier(f, Reprise, "Attente", 0, 60000, courant.delaiBalayage);
  r.logarithmique = Booleen(f, Reprise, "Logarithmique", courant.logarithmique);
  r.gammesAuto = Booleen(f, Reprise, "GammesAuto", courant.gammesAuto);
  const std::array<double, 3> maxi{0, 10, 4};  // what each generator's dialog offers
  for (int g : {1, 2}) {
    const char *cle = g == 1 ? "AmplitudeGBF" : "AmplitudeGTBF";
    r.amplitude[size_t(g)] = Reel(f, Reprise, cle, 0, maxi[size_t(g)], courant.amplitude[size_t(g)]);
    r.amplitudeLue[size_t(g)] = f.CleExiste(Reprise, cle) && r.amplitude[size_t(g)] != courant.amplitude[size_t(g)];
  }
  r.fenetre = Entier(f, Reprise, "Fenetre", 0, 2, courant.fenetre);
  r.mesuresEcran = Booleen(f, Reprise, "MesuresEcran", courant.mesuresEcran);
  for (int i = 0; i <= 4; ++i) {
    MesureFichier &m = r.mesures[size_t(i)];
    const MesureFichier &c = courant.mesures[size_t(i)];
    m.voieMesure = Entier(f, Reprise, Cle("Voie", i), 0, 2, c.voieMesure);
    m.voieReference = Entier(f, Reprise, Cle("Reference", i), 0, 2, c.voieReference);
    m.couleur = uint32_t(Entier(f, Reprise, Cle("Couleur", i), 0, 0xFFFFFF, int(c.couleur)));
    m.motif = Entier(f, Reprise, Cle("Motif", i), 0, 3, c.motif);
  }
  return r;
}

void EcritReglages(FichierIni &f, const ReglagesFichier &r) {
  f.EcritEntier("Graphe", "DimPoint", r.dimPoint);
  f.EcritEntier("Fourier", "Nombre", r.nbHarmoniques);
  f.EcritBooleen("Oscillo", "AxeY", r.axeYOscillo);
  f.EcritBooleen("Oscillo", "AnalLog", r.analLog);
  f.EcritBooleen("Mesure", "AxeY", r.axeYMesure);
  f.EcritReel("Frequence", "Maxi", r.frequenceMaxi);
  for (int i = 0; i <= 4; ++i) {
    f.EcritBooleen(SectionMesure(i), "active", r.mesures[size_t(i)].active);
    f.EcritEntier(SectionMesure(i), "mesure", r.mesures[size_t(i)].grandeur);
  }
  f.EcritEntier("Voie2", "Couplage", r.couplage[2]);
  f.EcritEntier("Voie1", "Couplage", r.couplage[1]);
  f.EcritEntier("Affichage", "Mode", r.mode);
  f.EcritEntier("Synchro", "Mode", r.synchro);
  f.EcritEntier("Synchro", "Sens", r.sens);
  f.EcritEntier("Synchro", "Seuil", r.seuil);
  f.EcritBooleen("Synchro", "Monocoup", r.monocoup);
  f.EcritEntier("Temps", "Duree", r.duree);
  f.EcritEntier("Voie2", "Calibre", r.calibre[2]);
  f.EcritEntier("Voie1", "Calibre", r.calibre[1]);
  EcritCorrections(f, r.correction);

  f.EcritReel(Reprise, "FreqMini", r.frequenceMini);
  f.EcritEntier(Reprise, "Points", r.pointsBalayage);
  f.EcritEntier(Reprise, "Attente", r.delaiBalayage);
  f.EcritBooleen(Reprise, "Logarithmique", r.logarithmique);
  f.EcritBooleen(Reprise, "GammesAuto", r.gammesAuto);
  f.EcritReel(Reprise, "AmplitudeGBF", r.amplitude[1]);
  f.EcritReel(Reprise, "AmplitudeGTBF", r.amplitude[2]);
  f.EcritEntier(Reprise, "Fenetre", r.fenetre);
  f.EcritBooleen(Reprise, "MesuresEcran", r.mesuresEcran);
  for (int i = 0; i <= 4; ++i) {
    const MesureFichier &m = r.mesures[size_t(i)];
    f.EcritEntier(Reprise, Cle("Voie", i), m.voieMesure);
    f.EcritEntier(Reprise, Cle("Reference", i), m.voieReference);
    f.EcritEntier(Reprise, Cle("Couleur", i), int32_t(m.couleur));
    f.EcritEntier(Reprise, Cle("Motif", i), m.motif);
  }
}

void EcritCorrections(FichierIni &f, const TOscillo::TableCorrection &t) {
  TOscillo::EcritTableCorrection(f, t);
}
