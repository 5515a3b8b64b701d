#include "FichierBanc.h"

#include <charconv>
#include <cmath>
#include <map>
#include <memory>

#include "BancVirtuel.h"
#include "CircuitsMesure.h"
#include "FichierIni.h"
#include "GenerateurVirtuel.h"
#include "OscilloVirtuel.h"
#include "Sources.h"

namespace {

// One section as written: its header's line and its keys, with their lines.
struct SectionLue {
  int ligne = 0;
  struct Valeur {
    std::string texte;
    int ligne;
  };
  std::map<std::string, Valeur> cles;  // key in lower case
};

std::string Minuscules(std::string_view s) {
  std::string r(s);
  for (char &c : r)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return r;
}

// A fault is thrown up to LitDescriptionBanc, which turns it into its answer.
struct Faute {
  int ligne;
  std::string attendu;
};

std::string Liste(const std::vector<std::string> &mots) {
  std::string r;
  for (std::size_t i = 0; i < mots.size(); ++i)
    r += (i == 0 ? "" : i + 1 == mots.size() ? " ou " : ", ") + mots[i];
  return r;
}

// The keys of one section, read once each; Fin() refuses the ones nobody asked for.
class Lecteur {
 public:
  Lecteur(const SectionLue &s, std::string nom) : s_(s), nom_(std::move(nom)) {}

  const SectionLue::Valeur *Cherche(const std::string &cle) {
    permises_.push_back(cle);
    const auto it = s_.cles.find(cle);
    return it == s_.cles.end() ? nullptr : &it->second;
  }
  // A missing key is told by Fin(), after a misspelt one, which is the likelier mistake;
  // until then it reads as absente_. `aussitot`: told at once (a type, which decides the
  // other keys).
  const SectionLue::Valeur &Exige(const std::string &cle, bool aussitot = false) {
    if (const auto *v = Cherche(cle)) return *v;
    if (aussitot) throw Faute{s_.ligne, nom_ + " : attendu la clé « " + cle + " »"};
    if (manquante_.empty()) manquante_ = cle;
    return absente_;
  }
  // A finite number written with '.', within [mini, maxi] (strictly above mini when `ouvert`).
  double Reel(const SectionLue::Valeur &v, const std::string &cle, const std::string &quoi,
              double mini, double maxi, bool ouvert) {
    if (&v == &absente_) return mini;
    double x = 0;
    const char *debut = v.texte.data(), *fin = debut + v.texte.size();
    const auto [p, ec] = std::from_chars(debut, fin, x);
    const bool ok = !v.texte.empty() && ec == std::errc() && p == fin && std::isfinite(x) &&
                    (ouvert ? x > mini : x >= mini) && x <= maxi;
    if (!ok) throw Faute{v.ligne, "« " + cle + " » : attendu " + quoi + " (lu « " + v.texte + " »)"};
    return x;
  }
  double Reel(const std::string &cle, const std::string &quoi, double mini, double maxi,
              bool ouvert, std::optional<double> defaut = std::nullopt) {
    const auto *v = defaut ? Cherche(cle) : &Exige(cle);
    return v ? Reel(*v, cle, quoi, mini, maxi, ouvert) : *defaut;
  }
  // One of `mots` (any case); the index.
  std::size_t Mot(const SectionLue::Valeur &v, const std::string &cle,
                  const std::vector<std::string> &mots) {
    if (&v == &absente_) return 0;
    for (std::size_t i = 0; i < mots.size(); ++i)
      if (EgalSansCasse(v.texte, mots[i])) return i;
    throw Faute{v.ligne, "« " + cle + " » : attendu " + Liste(mots) + " (lu « " + v.texte + " »)"};
  }
  void Fin(const std::string &pour) {
    for (const auto &[cle, v] : s_.cles) {
      bool permise = false;
      for (const auto &p : permises_) permise = permise || p == cle;
      if (!permise)
        throw Faute{v.ligne, "clé « " + cle + " » inconnue dans " + nom_ + pour + " : attendu " +
                                 Liste(permises_)};
    }
    if (!manquante_.empty())
      throw Faute{s_.ligne, nom_ + pour + " : attendu la clé « " + manquante_ + " »"};
  }
  int LigneSection() const { return s_.ligne; }

 private:
  const SectionLue &s_;
  std::string nom_;
  std::vector<std::string> permises_;
  std::string manquante_;
  const SectionLue::Valeur absente_{{}, 0};
};

const std::vector<std::string> Formes{"aucune", "sinus", "carre", "triangle", "continu"};

// The keys of a source of the given form (Aucune: none).
DescriptionSource LitSource(Lecteur &l, DescriptionSource::Forme forme) {
  DescriptionSource s;
  s.forme = forme;
  const double volts = 1e6;
  switch (forme) {
    case DescriptionSource::Aucune:
      break;
    case DescriptionSource::Continu:
      s.decalage = l.Reel("tension", "une tension en volts", -volts, volts, false);
      s.amplitude = 0;
      break;
    case DescriptionSource::Carre:
      s.rapport = l.Reel("rapport", "un rapport cyclique en %, entre 0 et 100 exclus", 0, 100,
                         true, 50.0);
      if (s.rapport >= 100)
        throw Faute{l.Cherche("rapport")->ligne, "« rapport » : attendu moins de 100 %"};
      [[fallthrough]];
    case DescriptionSource::Sinus:
    case DescriptionSource::Triangle:
      s.amplitude = l.Reel("amplitude", "une amplitude crête en volts, positive ou nulle", 0,
                           volts, false);
      s.frequence = l.Reel("frequence", "une fréquence en hertz, positive", 0, 1e9, true);
      s.decalage = l.Reel("decalage", "une tension en volts", -volts, volts, false, 0.0);
      break;
  }
  return s;
}

std::shared_ptr<const Source> CreeSource(const DescriptionSource &s) {
  switch (s.forme) {
    case DescriptionSource::Sinus:
      return std::make_shared<Sinus>(s.amplitude, s.frequence, s.decalage);
    case DescriptionSource::Carre:
      return std::make_shared<Carre>(s.decalage - s.amplitude, s.decalage + s.amplitude,
                                     s.frequence, s.rapport / 100);
    case DescriptionSource::Triangle:
      return std::make_shared<Triangle>(s.amplitude, s.frequence, s.decalage);
    case DescriptionSource::Continu:
      return std::make_shared<Continu>(s.decalage);
    case DescriptionSource::Aucune:
      break;
  }
  return nullptr;
}

std::shared_ptr<Circuit> CreeCircuit(const DescriptionCircuit &c) {
  switch (c.type) {
    case DescriptionCircuit::PasseBasRC:
      return std::make_shared<PasseBasRC>(c.coupure);
    case DescriptionCircuit::PasseHautRC:
      return std::make_shared<PasseHautRC>(c.coupure);
    case DescriptionCircuit::PasseBande:
      return std::make_shared<PasseBande>(c.centre, c.qualite);
    case DescriptionCircuit::LigneARetard:
      return std::make_shared<LigneARetard>(c.retard);
    case DescriptionCircuit::Attenuateur:
      return std::make_shared<Attenuateur>(c.gain);
    case DescriptionCircuit::Aucun:
      break;
  }
  return nullptr;
}

const ModeleGenerateurVirtuel &Modele(const std::string &nom) {
  return nom == "TBF" ? GenerateurTBF : GenerateurBF;
}

const std::vector<std::string> Sections{"[Banc]", "[Entree]", "[Circuit]", "[Externe]"};

// [Banc]: the oscilloscope, the noise and its seed, the generators connected. Returns
// the "generateurs" key, which [Entree] checks its generator against.
const SectionLue::Valeur *LitBanc(const SectionLue &section, DescriptionBanc &d) {
  Lecteur banc(section, "[Banc]");
  if (const auto *v = banc.Cherche("oscilloscope"))
    d.oscilloscope = banc.Mot(*v, "oscilloscope", {"non", "oui"}) == 1;
  d.bruit = banc.Reel("bruit", "un bruit en codes, de 0 à 100", 0, 100, false, 1.0);
  if (const auto *v = banc.Cherche("graine")) {
    const char *debut = v->texte.data(), *fin = debut + v->texte.size();
    const auto [p, ec] = std::from_chars(debut, fin, d.graine);
    if (v->texte.empty() || ec != std::errc() || p != fin)
      throw Faute{v->ligne, "« graine » : attendu un entier positif ou nul (lu « " + v->texte + " »)"};
  }
  const SectionLue::Valeur *listeGenerateurs = banc.Cherche("generateurs");
  if (listeGenerateurs) {
    std::string_view reste = listeGenerateurs->texte;
    while (!reste.empty() && !EgalSansCasse(reste, "aucun")) {
      const auto virgule = reste.find(',');
      std::string mot(reste.substr(0, virgule));
      while (!mot.empty() && mot.front() == ' ') mot.erase(0, 1);
      while (!mot.empty() && mot.back() == ' ') mot.pop_back();
      reste.remove_prefix(virgule == std::string_view::npos ? reste.size() : virgule + 1);
      const std::size_t i = banc.Mot({mot, listeGenerateurs->ligne}, "generateurs", {"BF", "TBF"});
      const std::string nom = i == 0 ? "BF" : "TBF";
      for (const auto &g : d.generateurs)
        if (g == nom)
          throw Faute{listeGenerateurs->ligne, "« generateurs » : attendu chaque générateur une fois"};
      d.generateurs.push_back(nom);
    }
  }
  banc.Fin("");
  return listeGenerateurs;
}

// [Entree]: a source, or a generator with what it plays while it rests.
void LitEntree(const SectionLue &section, const SectionLue::Valeur *listeGenerateurs,
               DescriptionBanc &d) {
  Lecteur entree(section, "[Entree]");
  const auto &type = entree.Exige("type", true);
  std::vector<std::string> types(Formes.begin() + 1, Formes.end());
  types.push_back("generateur");
  const std::size_t t = entree.Mot(type, "type", types);
  if (t == 4) {
    const auto &generateur = entree.Exige("generateur");
    d.generateur = entree.Mot(generateur, "generateur", {"BF", "TBF"}) == 0 ? "BF" : "TBF";
    auto repos = DescriptionSource::Aucune;
    if (const auto *v = entree.Cherche("repos"))
      repos = DescriptionSource::Forme(entree.Mot(*v, "repos", Formes));
    d.signal = LitSource(entree, repos);
    if (!listeGenerateurs)
      d.generateurs.push_back(d.generateur);
    else if (generateur.ligne > 0) {
      bool branche = false;
      for (const auto &g : d.generateurs) branche = branche || g == d.generateur;
      if (!branche)
        throw Faute{generateur.ligne,
                    "« generateur » : attendu un des générateurs branchés (« generateurs » ligne " +
                        std::to_string(listeGenerateurs->ligne) + ")"};
    }
  } else {
    d.signal = LitSource(entree, DescriptionSource::Forme(t + 1));
  }
  entree.Fin(" de type " + type.texte);
}

// [Externe]: the trigger input's source, the circuit's input signal unless told.
void LitExterne(const SectionLue &section, DescriptionBanc &d) {
  Lecteur externe(section, "[Externe]");
  const auto &type = externe.Exige("type", true);
  std::vector<std::string> types(Formes.begin() + 1, Formes.end());
  types.insert(types.begin(), "signal");
  const std::size_t t = externe.Mot(type, "type", types);
  d.externeEstLeSignal = t == 0;
  if (t > 0) d.externe = LitSource(externe, DescriptionSource::Forme(t));
  externe.Fin(" de type " + type.texte);
}

// [Circuit]: what channel 2 sees of the input.
void LitCircuit(const SectionLue &section, DescriptionCircuit &c) {
  Lecteur circuit(section, "[Circuit]");
  const auto &type = circuit.Exige("type", true);
  c.type = DescriptionCircuit::Type(circuit.Mot(
      type, "type",
      {"aucun", "passe-bas-RC", "passe-haut-RC", "passe-bande", "ligne-a-retard", "attenuateur"}));
  const std::string frequence = "une fréquence en hertz, positive";
  switch (c.type) {
    case DescriptionCircuit::PasseBasRC:
    case DescriptionCircuit::PasseHautRC:
      c.coupure = circuit.Reel("coupure", frequence, 0, 1e9, true);
      break;
    case DescriptionCircuit::PasseBande:
      c.centre = circuit.Reel("centre", frequence, 0, 1e9, true);
      c.qualite = circuit.Reel("qualite", "un facteur de qualité, de 0.1 à 1000", 0.1, 1000, false);
      break;
    case DescriptionCircuit::LigneARetard:
      c.retard = circuit.Reel("retard", "un retard en secondes, de 1e-9 à 1", 1e-9, 1, false);
      break;
    case DescriptionCircuit::Attenuateur:
      c.gain = circuit.Reel("gain", "un gain au-dessus de 0, jusqu'à 1", 0, 1, true);
      break;
    case DescriptionCircuit::Aucun:
      break;
  }
  circuit.Fin(" de type " + type.texte);
}

DescriptionBanc Interprete(const std::map<std::string, SectionLue> &sections) {
  DescriptionBanc d;
  static const SectionLue vide;
  const auto section = [&](const char *nom) -> const SectionLue & {
    const auto it = sections.find(nom);
    return it == sections.end() ? vide : it->second;
  };
  const SectionLue::Valeur *listeGenerateurs = LitBanc(section("banc"), d);
  if (sections.count("entree")) LitEntree(section("entree"), listeGenerateurs, d);
  if (sections.count("externe")) LitExterne(section("externe"), d);
  if (sections.count("circuit")) LitCircuit(section("circuit"), d.circuit);
  return d;
}

}  // namespace

std::optional<DescriptionBanc> LitDescriptionBanc(std::string_view texte, FauteBanc &faute) {
  FichierIni ini("");
  ini.Charge(texte);
  std::map<std::string, SectionLue> sections;
  SectionLue *courante = nullptr;
  std::string nomCourant;
  try {
    const auto elements = ini.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
      const int ligne = int(i) + 1;
      const auto &e = elements[i];
      switch (e.sorte) {
        case FichierIni::Element::Blanc:
          break;
        case FichierIni::Element::Autre:
          throw Faute{ligne, "attendu « [section] » ou « clé=valeur »"};
        case FichierIni::Element::Section: {
          nomCourant = Minuscules(e.section);
          bool connue = false;
          for (const auto &s : Sections) connue = connue || EgalSansCasse(s, "[" + nomCourant + "]");
          if (!connue)
            throw Faute{ligne, "section « [" + std::string(e.section) + "] » inconnue : attendu " +
                                   Liste(Sections)};
          if (const auto it = sections.find(nomCourant); it != sections.end())
            throw Faute{ligne, "section « [" + std::string(e.section) + "] » déjà ouverte ligne " +
                                   std::to_string(it->second.ligne) + " : attendu une section neuve"};
          courante = &sections[nomCourant];
          courante->ligne = ligne;
          break;
        }
        case FichierIni::Element::Cle: {
          if (!courante)
            throw Faute{ligne, "attendu une section (" + Liste(Sections) + ") avant les clés"};
          const std::string cle = Minuscules(e.cle);
          if (const auto it = courante->cles.find(cle); it != courante->cles.end())
            throw Faute{ligne, "clé « " + cle + " » déjà donnée ligne " +
                                   std::to_string(it->second.ligne) + " : attendu une clé neuve"};
          courante->cles[cle] = {std::string(e.valeur), ligne};
          break;
        }
      }
    }
    return Interprete(sections);
  } catch (const Faute &f) {
    faute = {f.ligne, f.attendu};
    return std::nullopt;
  }
}

std::optional<DescriptionBanc> LitFichierBanc(const std::string &chemin, std::string &erreur) {
  FichierIni ini(chemin);
  if (!ini.Lu()) {
    erreur = "fichier de banc « " + chemin + " » illisible";
    return std::nullopt;
  }
  FauteBanc faute;
  auto description = LitDescriptionBanc(ini.Contenu(), faute);
  if (!description)
    erreur = chemin + ", ligne " + std::to_string(faute.ligne) + " : " + faute.attendu;
  return description;
}

void MonteBanc(BancVirtuel &banc, const DescriptionBanc &d) {
  banc.Vide();
  if (d.oscilloscope) banc.BrancheOscillo(d.graine)->DefinitBruit(d.bruit);
  banc.DefinitSource(d.generateur.empty() ? CreeSource(d.signal) : nullptr);
  for (const auto &g : d.generateurs) {
    if (g == d.generateur)
      BrancheGenerateur(banc, Modele(g), CreeSource(d.signal));
    else
      banc.Branche(Modele(g).noms[0], std::make_shared<GenerateurVirtuel>(Modele(g), banc));
  }
  if (!d.externeEstLeSignal)
    banc.DefinitSourceExterne(d.externe.forme == DescriptionSource::Aucune
                                  ? std::make_shared<Continu>(0)
                                  : CreeSource(d.externe));
  banc.DefinitCircuit(CreeCircuit(d.circuit));
}
