#include "Export.h"

#include <vector>

#include "Tvoie.h"
#include "ZelmUtil.h"

namespace {

constexpr std::size_t LongueurMax = 255;  // a longer line is cut

class Lignes {
 public:
  void Ajoute(std::string ligne) {
    if (ligne.size() > LongueurMax) ligne.resize(LongueurMax);
    texte_ += ligne;
    texte_ += "\r\n";
  }
  std::string Texte() && { return std::move(texte_); }

 private:
  std::string texte_;
};

std::vector<const Tvoie *> Actives(std::span<const Tvoie *const> series) {
  std::vector<const Tvoie *> a;
  for (const Tvoie *s : series)
    if (s && s->Active) a.push_back(s);
  return a;
}

void EnTete(Lignes &l, const PageExport &p) {
  l.Ajoute(p.programme);
  l.Ajoute(p.nouvellePage ? std::string() : std::string("Acquisition par oscillo Quilo USB"));
  l.Ajoute(p.commentaire);
}

// Names, units and descriptions, then the values: one field per series, each with its TAB.
void Colonnes(Lignes &l, const std::vector<const Tvoie *> &series, int n) {
  std::string noms, unites, libelles;
  for (const Tvoie *s : series) {
    (noms += s->NomGrandeur.vue()) += '\t';
    (unites += s->NomUnite.vue()) += '\t';
    (libelles += s->Libelle.vue()) += '\t';
  }
  l.Ajoute(noms);
  l.Ajoute(unites);
  l.Ajoute(libelles);
  for (int j = 0; j < n; ++j) {
    std::string ligne;
    for (const Tvoie *s : series) (ligne += NombreExport(s->Valeurs[size_t(j)]).vue()) += '\t';
    l.Ajoute(ligne);
  }
}

void Parametre(Lignes &l, const PageExport &p) {
  if (p.valeur.empty() || p.nom.empty()) return;
  l.Ajoute({});
  l.Ajoute(p.nom);
  l.Ajoute(p.unite);
  l.Ajoute(p.valeur);  // as typed
}

int Borne(int n) { return n < 0 ? 0 : n > NbValeursVoie ? NbValeursVoie : n; }

}  // namespace

std::string BlocTemps(const PageExport &page, const Tvoie &abscisse,
                      std::span<const Tvoie *const> voies, int n) {
  Lignes l;
  EnTete(l, page);
  const std::vector<const Tvoie *> actives = Actives(voies);
  std::vector<const Tvoie *> series{&abscisse};
  series.insert(series.end(), actives.begin(), actives.end());
  Colonnes(l, series, Borne(n));
  Parametre(l, page);
  const std::string k = "&" + std::to_string(actives.size());
  l.Ajoute(k + " X");
  for (std::size_t i = 0; i < actives.size(); ++i) l.Ajoute(std::string(abscisse.NomGrandeur.vue()));
  l.Ajoute(k + " Y");
  for (const Tvoie *v : actives) l.Ajoute(std::string(v->NomGrandeur.vue()));
  l.Ajoute(k + " COULEUR");
  for (const Tvoie *v : actives) l.Ajoute(std::to_string(int32_t(v->Couleur)));
  l.Ajoute(k + " MOTIF");
  for (const Tvoie *v : actives) l.Ajoute(std::to_string(int(v->Motif)));
  l.Ajoute(k + " LIGNE");
  for (std::size_t i = 0; i < actives.size(); ++i) l.Ajoute("2");
  return std::move(l).Texte();
}

std::string BlocMesures(const PageExport &page, std::span<const Tvoie *const> courbes, int n) {
  Lignes l;
  EnTete(l, page);
  Colonnes(l, Actives(courbes), Borne(n));
  Parametre(l, page);
  return std::move(l).Texte();
}
