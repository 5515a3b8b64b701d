#include "OptionsLancement.h"

#include <QCoreApplication>

QString TexteAideLigneDeCommande(const QString &programme) {
  return QStringLiteral(
             "Usage : %1 [--simulate[=BANC]]\n"
             "Acquisition par oscillo USB Quilo pour Tabulo.\n\n"
             "  --simulate[=BANC]  fonctionne sur le banc virtuel BANC (\"demo\" par défaut)\n"
             "                     au lieu de l'oscilloscope branché\n"
             "  --help             affiche cette aide\n"
             "  --version          affiche la version\n")
      .arg(programme);
}

OptionsLancement LitOptions(const QStringList &arguments) {
  OptionsLancement o;
  const QString programme = arguments.isEmpty() ? QStringLiteral("zelm") : arguments.first();
  for (int i = 1; i < arguments.size(); ++i) {
    const QString &a = arguments[i];
    if (a == QLatin1String("--help")) {
      o.action = OptionsLancement::Aide;
      o.message = TexteAideLigneDeCommande(programme);
      return o;
    }
    if (a == QLatin1String("--version")) {
      o.action = OptionsLancement::Version;
      o.message = QStringLiteral("zelm %1\n").arg(QStringLiteral(ZELM_VERSION));
      return o;
    }
    if (a == QLatin1String("--simulate")) {
      o.simulation = true;
      o.preset = QStringLiteral("demo");
    } else if (a.startsWith(QLatin1String("--simulate="))) {
      o.simulation = true;
      o.preset = a.mid(11);
      if (o.preset.isEmpty()) o.preset = QStringLiteral("demo");
    } else {
      o.action = OptionsLancement::Erreur;
      o.message = QStringLiteral("%1 : option inconnue « %2 »\n").arg(programme, a) +
                  TexteAideLigneDeCommande(programme);
      return o;
    }
  }
  return o;
}
