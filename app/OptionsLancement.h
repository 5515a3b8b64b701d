#pragma once
#include <QString>
#include <QStringList>

// What the command line asks for. Only three options exist.
struct OptionsLancement {
  enum Action { Lance, Aide, Version, Erreur } action = Lance;
  bool simulation = false;
  QString preset;   // the bench preset with --simulate; "demo" by default
  QString message;  // what to print for Aide, Version and Erreur
};

OptionsLancement LitOptions(const QStringList &arguments);  // arguments[0] is the program
QString TexteAideLigneDeCommande(const QString &programme);
