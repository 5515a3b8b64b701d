// The main window's responsiveness on the "demo" bench in real time, as the program runs
// it: frames processed per second, and how long the event loop is blocked, seen by a 1 ms
// probe timer's lateness; in free running, then through a "Config. auto", a "Zéro", a
// few generator frequency changes and a sweep of 16 points, whose cost per point beyond
// the protocol's own waits and the frames' durations is printed too. One wall-clock run, so a plain program: the
// benchmark runner's repetitions would only replay the same ten seconds.
// `--duree=S`: seconds of free running (the suite's smoke run takes a short one).
#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <vector>

#include "AccesGenerateurs.h"
#include "ApplicationZelm.h"
#include "Boites.h"
#include "Calibres.h"
#include "Controles.h"
#include "Demarrage.h"
#include "Horloge.h"
#include "LienAppareil.h"
#include "Quilink.h"
#include "Rapport.h"
#include "ServicesZelm.h"
#include "TZelmMainForm.h"

namespace {

using Montre = std::chrono::steady_clock;

constexpr double DureeMarcheLibre = 10.0;   // s
constexpr double ButImagesParSeconde = 9;   // the two 50 ms waits at each arming allow 10
constexpr double ButRetardMs = 20;
constexpr double LimitePhase = 120;         // s: a safety on a broken phase, not a delay
constexpr double PauseGenerateur = 0.3;     // s after each frequency change
constexpr int NbChangementsGenerateur = 5;
constexpr int PointsBalayage = 16;
constexpr int DelaiBalayageMs = 100;        // the mode dialog's smallest
constexpr double ButParPointMs = 20;
constexpr double AttenteApresDemarrage = 0.050;  // s, the oscilloscope model's second wait

double Secondes(Montre::duration d) { return std::chrono::duration<double>(d).count(); }

// Every answer is yes, so that no box waits for a hand; an unexpected one is still said.
class BoitesOui final : public Boites {
 public:
  void Message(const QString &texte) override { Dit("message", texte); }
  void Erreur(const QString &texte) override { Dit("erreur", texte); }
  bool Confirme(const QString &) override { return true; }
  bool ConfirmeOkAnnuler(const QString &) override { return true; }
  bool Execute(QDialog &) override { return true; }

 private:
  static void Dit(const char *genre, const QString &texte) {
    std::fprintf(stderr, "bench_fenetre : %s « %s »\n", genre, texte.toUtf8().constData());
  }
};

// A 1 ms timer armed again at each firing: how late it fires is how long the event loop
// was busy elsewhere. `Tic` runs after each measure (the phases' end tests).
class Sonde {
 public:
  Sonde() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tire(); });
  }
  void Demarre() {
    arme_ = Montre::now();
    timer_.start(1);
  }

  std::vector<double> *retards = nullptr;  // ms, of the phase under way
  std::function<void()> Tic;

 private:
  void Tire() {
    const Montre::time_point maintenant = Montre::now();
    const double retard = Secondes(maintenant - arme_) * 1e3 - 1;
    if (retards) retards->push_back(std::max(0.0, retard));
    arme_ = maintenant;
    timer_.start(1);
    if (Tic) Tic();
  }

  QTimer timer_;
  Montre::time_point arme_;
};

// The real clock, adding up the device's fixed waits (the generator's and the arming's);
// the waits of one polling interval (looking for bursts, the sweep's delay) are not added.
class HorlogeComptee final : public Horloge {
 public:
  explicit HorlogeComptee(Horloge &reelle) : reelle_(reelle) {}
  void Attendre(int ms) override {
    if (ms <= TravailAppareil::IntervalleMs) return reelle_.Attendre(ms);
    const Montre::time_point t0 = Montre::now();
    reelle_.Attendre(ms);
    fixesUs_ += std::chrono::duration_cast<std::chrono::microseconds>(Montre::now() - t0).count();
  }
  int64_t MaintenantUs() const override { return reelle_.MaintenantUs(); }
  double FixesMs() const { return double(fixesUs_.load()) / 1e3; }

 private:
  Horloge &reelle_;
  std::atomic<int64_t> fixesUs_{0};
};

struct Phase {
  explicit Phase(const char *n) : nom(n) {}
  const char *nom;
  double duree = 0;  // s
  int images = 0;    // frames the window processed
  std::vector<double> retards;
  bool terminee = true;
};

// Runs the event loop from `debut` until `fini` (given the seconds since `debut`) holds,
// adding to `p` what happened meanwhile.
void Mesure(Phase &p, TZelmMainForm &f, Sonde &sonde, const std::function<void()> &debut,
            const std::function<bool(double)> &fini) {
  QEventLoop boucle;
  const int images = f.Cycle().NbTraitements();
  sonde.retards = &p.retards;
  const Montre::time_point t0 = Montre::now();
  bool finie = false;
  sonde.Tic = [&] {
    const double t = Secondes(Montre::now() - t0);
    if (!finie && (fini(t) || t > LimitePhase)) {
      finie = true;
      boucle.quit();
    }
  };
  debut();
  if (!fini(0)) boucle.exec();
  sonde.Tic = nullptr;
  sonde.retards = nullptr;
  const double t = Secondes(Montre::now() - t0);
  p.duree += t;
  p.images += f.Cycle().NbTraitements() - images;
  p.terminee = p.terminee && t <= LimitePhase;
}

double Centile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t rang = size_t(std::ceil(q * double(v.size())));  // nearest rank, from 1
  return v[std::clamp<size_t>(rang, 1, v.size()) - 1];
}

const char *Verdict(bool atteint) { return atteint ? "ok" : "MANQUE"; }

// One line per phase; the frame rate's aim is that of free running only.
bool Imprime(const Phase &p, bool butImages) {
  const double ips = p.duree > 0 ? p.images / p.duree : 0;
  const double pire = p.retards.empty() ? 0 : *std::max_element(p.retards.begin(), p.retards.end());
  const double p99 = Centile(p.retards, 0.99);
  std::printf("%-13s duree %6.2f s  images %4d  images/s %5.2f", p.nom, p.duree, p.images, ips);
  if (butImages)
    std::printf(" (but >= %.0f : %s)", ButImagesParSeconde, Verdict(ips >= ButImagesParSeconde));
  else
    std::printf("%17s", "");
  std::printf("  retard max %6.2f ms (but <= %.0f : %s)  p99 %5.2f ms  sondes %zu%s\n", pire,
              ButRetardMs, Verdict(pire <= ButRetardMs), p99, p.retards.size(),
              p.terminee ? "" : "  INACHEVEE");
  return p.terminee;
}

double LitDuree(int argc, char **argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--duree=", 8) == 0) return std::atof(argv[i] + 8);
  return DureeMarcheLibre;
}

}  // namespace

int main(int argc, char **argv) {
  const double duree = LitDuree(argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  DecritMachine(std::cout, argv[0]);
  // the bench is in place before anything opens the oscilloscope; its clock stays real
  if (QuilinkSimulation("demo") != 1) {
    std::fputs("bench_fenetre : pas de banc « demo »\n", stderr);
    return 1;
  }
  HorlogeComptee horloge(HorlogeCourante());
  DefinitHorloge(&horloge);
  ApplicationZelm application(argc, argv);
  QTemporaryDir documents;
  const std::string dossier = InitialiseModules(documents.path());
  FixeSeparateurDepuisLocale();
  QApplication::setApplicationName(QStringLiteral("Oscillo Quilo USB"));
  BoitesOui boites;
  DefinitBoites(&boites);
  bool reussi = true;
  {
    GenerateursCharges generateurs;
    TZelmMainForm fenetre(generateurs, dossier);
    Sonde sonde;
    sonde.Demarre();

    // from show to the first frame processed: opening, generator detection, first arming
    Phase demarrage{"demarrage"};
    Mesure(demarrage, fenetre, sonde, [&] {
      fenetre.show();
      QTimer::singleShot(0, &fenetre, [&fenetre] { fenetre.FormActivate(); });
    }, [&](double) { return fenetre.Cycle().NbTraitements() > 0; });
    const int base = fenetre.Reglages().Duree();

    Phase marche{"marche_libre"};
    Mesure(marche, fenetre, sonde, [] {}, [&](double t) { return t >= duree; });

    Phase configAuto{"config_auto"};
    Mesure(configAuto, fenetre, sonde, [&] { fenetre.autosetBtnClick(); },
           [&](double) { return !fenetre.Cycle().ReglageAuto(); });

    Phase zero{"zero"};
    Mesure(zero, fenetre, sonde, [&] { fenetre.ToolButton1Click(); },
           [&](double) { return !fenetre.EnCorrection(); });

    Phase generateur{"generateur"};
    const bool gbf = fenetre.TypeGenerateur() == GenreGenerateur::GBF;
    for (int i = 1; gbf && i <= NbChangementsGenerateur; ++i)
      Mesure(generateur, fenetre, sonde, [&] {
        fenetre.Appareil().Travail().ReglerGenerateur(GenreGenerateur::GBF, 1000.0 * i);
      }, [](double t) { return t >= PauseGenerateur; });

    // a sweep as a user starts it, automatic ranges on: each point's frames and their
    // durations are counted as they come
    Phase balayage{"balayage"};
    TgrapheMesure &z = fenetre.GrapheZelm();
    z.Courbes[0].Mini = 100;
    z.Courbes[0].Maxi = 1000;
    z.NbPointsBalayage = PointsBalayage;
    z.DelaiBalayage = DelaiBalayageMs;
    fenetre.ActiveGammesAuto(true);
    double dureesTrames = 0;  // s, what the device needs to sample the frames
    int trames = 0, points = 0;
    const double fixesAvant = horloge.FixesMs();
    if (gbf) {
      fenetre.findChild<RadioGroupe *>(QStringLiteral("ModeRG"))->SetItemIndex(3);
      // each analysed frame, while the settings are still its own
      TCycleAcquisition &cycle = fenetre.Cycle();
      const auto suite = cycle.ValeursCalculees;
      cycle.ValeursCalculees = [&](uint32_t numero) {
        ++trames;
        // the device samples during the 50 ms wait after its start: only the rest adds
        const double d = 8192 / BasesDeTemps[size_t(cycle.Reglages().Duree())].frequence;
        dureesTrames += std::max(0.0, d - AttenteApresDemarrage);
        return suite(numero);
      };
      Mesure(balayage, fenetre, sonde, [&] { fenetre.EnregistreBtnClick(); },
             [&](double) { return !fenetre.Mesure().BalayageEnCours(); });
      cycle.ValeursCalculees = suite;
      points = z.NbPoints;
    }
    const double fixes = horloge.FixesMs() - fixesAvant;

    std::printf("\nfenetre principale, banc \"demo\" en temps reel, base de temps %d au depart, "
                "sonde de 1 ms (Qt::PreciseTimer)\n", base);
    reussi = Imprime(demarrage, false) && reussi;
    reussi = Imprime(marche, true) && reussi;
    reussi = Imprime(configAuto, false) && reussi;
    reussi = Imprime(zero, false) && reussi;
    if (gbf) {
      reussi = Imprime(generateur, false) && reussi;
    } else {
      std::puts("generateur    absent : le banc \"demo\" devait avoir le GBF");
      reussi = false;
    }
    if (gbf) {
      Imprime(balayage, false);
      const double parPoint = points > 0 ? 1e3 * balayage.duree / points : 0;
      const double attentes = points > 0 ? (fixes + 1e3 * dureesTrames) / points + DelaiBalayageMs : 0;
      const double au_dela = parPoint - attentes;
      std::printf("balayage      %d points sur %d, %d trames, attente %d ms : %.1f ms par point, "
                  "dont attentes fixes %.1f ms et trames au-dela %.1f ms ; au-dela %.1f ms par point "
                  "(but <= %.0f : %s)\n",
                  points, PointsBalayage, trames, DelaiBalayageMs, parPoint,
                  points > 0 ? fixes / points : 0, points > 0 ? 1e3 * dureesTrames / points : 0,
                  au_dela, ButParPointMs, Verdict(points == PointsBalayage && au_dela <= ButParPointMs));
      reussi = points == PointsBalayage && reussi;
    }
    if (!fenetre.EstConnecte()) {
      std::puts("oscilloscope non connecte");
      reussi = false;
    }
    std::fflush(stdout);
    fenetre.close();
  }
  DefinitBoites(nullptr);
  FinaliseModules();
  DefinitHorloge(nullptr);
  return reussi ? 0 : 1;
}
