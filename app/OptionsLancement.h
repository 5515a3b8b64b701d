#pragma once
#include <QString>
#include <QStringList>

// The sweep the command line asks for, as written (the generator's range is
// checked once the generator is known).
struct BalayageDemande {
  double fmin = 0, fmax = 0;  // hertz, 0 < fmin < fmax
  int points = 0;             // 2..8192
  bool logarithmique = false;
  int delaiMs = 500;          // the mode dialog's default
  QString sortie;             // the output file; empty: standard output
};

// What the command line asks for.
struct OptionsLancement {
  enum Action { Lance, Balaye, Aide, Version, Erreur } action = Lance;
  bool simulation = false;
  QString preset;   // the bench preset with --simulate; "demo" by default
  QString message;  // what to print for Aide, Version and Erreur
  BalayageDemande balayage;  // with Balaye
};

OptionsLancement LitOptions(const QStringList &arguments);  // arguments[0] is the program
QString TexteAideLigneDeCommande(const QString &programme);
