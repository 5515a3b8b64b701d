#pragma once
#include <QSize>
#include <QString>
#include <QStringList>

// The sweep the command line asks for, as written (the generator's range is
// checked once the generator is known).
struct BalayageDemande {
  double fmin = 0, fmax = 0;  // hertz, 0 < fmin < fmax
  int points = 0;             // 2..8192
  bool logarithmique = false;
  int delaiMs = 500;          // the mode dialog's default
};

// What the commands with no window write: the text (empty: standard output) and,
// when `image` is not empty, a picture of the graph.
struct SortiesDemandees {
  QString texte;
  QString image;  // a .png file
  QSize taille{1280, 800};
};

// What the command line asks for.
struct OptionsLancement {
  enum Action { Lance, Balaye, Acquiert, Aide, Version, Erreur } action = Lance;
  bool simulation = false;
  QString preset;   // the bench preset with --simulate; "demo" by default
  QString message;  // what to print for Aide, Version and Erreur
  BalayageDemande balayage;  // with Balaye
  int baseDeTemps = -1;      // with Acquiert: an index of the time-base table, -1 automatic
  SortiesDemandees sorties;  // with Balaye and Acquiert
};

OptionsLancement LitOptions(const QStringList &arguments);  // arguments[0] is the program
QString TexteAideLigneDeCommande(const QString &programme);
