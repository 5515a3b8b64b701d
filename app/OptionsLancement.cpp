#include "OptionsLancement.h"

#include <QCoreApplication>
#include <cmath>

#include "ListePoints.h"

QString TexteAideLigneDeCommande(const QString &programme) {
  return QStringLiteral(
             "Usage : %1 [--simulate[=BANC]]\n"
             "        %1 [--simulate[=BANC]] --sweep FMIN:FMAX:POINTS [--log] [--delay MS]\n"
             "           [--output FICHIER]\n"
             "Acquisition par oscillo USB Quilo pour Tabulo.\n\n"
             "  --simulate[=BANC]  fonctionne sur le banc virtuel BANC (\"demo\" par défaut)\n"
             "                     au lieu de l'oscilloscope branché ; BANC est un banc\n"
             "                     fourni ou un fichier de banc (un chemin avec « / » ou\n"
             "                     finissant par « .ini »)\n"
             "  --sweep FMIN:FMAX:POINTS\n"
             "                     balaye la fréquence du générateur sans fenêtre, de FMIN\n"
             "                     à FMAX hertz en POINTS points (2 à 8192), gammes\n"
             "                     automatiques, et écrit un point par ligne : fréquence\n"
             "                     mesurée (Hz), efficace voie 1 (V), efficace voie 2 (V),\n"
             "                     gain voie 2 / voie 1, phase de la voie 2 (degrés)\n"
             "  --log              espacement logarithmique des fréquences\n"
             "  --delay MS         attente après chaque pas de fréquence (1 à 60000 ms, 500)\n"
             "  --output FICHIER   écrit les points dans FICHIER (sinon la sortie standard)\n"
             "  --help             affiche cette aide\n"
             "  --version          affiche la version\n")
      .arg(programme);
}

namespace {

// FMIN:FMAX:POINTS; an empty text when it reads, else what is wrong.
QString LitBalayage(const QString &texte, BalayageDemande &b) {
  const QStringList morceaux = texte.split(QLatin1Char(':'));
  if (morceaux.size() != 3) return QStringLiteral("--sweep attend FMIN:FMAX:POINTS");
  bool ok1 = false, ok2 = false, ok3 = false;
  b.fmin = morceaux[0].toDouble(&ok1);
  b.fmax = morceaux[1].toDouble(&ok2);
  b.points = morceaux[2].toInt(&ok3);
  if (!ok1 || !ok2 || !(b.fmin > 0) || !std::isfinite(b.fmax))
    return QStringLiteral("FMIN et FMAX sont des fréquences en hertz, positives");
  if (b.fmin >= b.fmax) return QStringLiteral("FMIN doit être inférieure à FMAX");
  if (!ok3 || b.points < 2 || b.points > ListePoints::NbMax)
    return QStringLiteral("POINTS va de 2 à %1").arg(ListePoints::NbMax);
  return {};
}

}  // namespace

OptionsLancement LitOptions(const QStringList &arguments) {
  OptionsLancement o;
  const QString programme = arguments.isEmpty() ? QStringLiteral("zelm") : arguments.first();
  const auto erreur = [&](const QString &texte) {
    o.action = OptionsLancement::Erreur;
    o.message = QStringLiteral("%1 : %2\n").arg(programme, texte) +
                TexteAideLigneDeCommande(programme);
    return o;
  };
  bool balayage = false, optionDeBalayage = false;
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
    // "--option VALEUR" or "--option=VALEUR"
    QString valeur;
    const auto avecValeur = [&](const char *nom) {
      const QString n = QLatin1String(nom);
      if (a.startsWith(n + QLatin1Char('='))) {
        valeur = a.mid(n.size() + 1);
        return true;
      }
      if (a != n) return false;
      valeur = i + 1 < arguments.size() ? arguments[++i] : QString();
      return true;
    };
    if (a == QLatin1String("--simulate")) {
      o.simulation = true;
      o.preset = QStringLiteral("demo");
    } else if (a.startsWith(QLatin1String("--simulate="))) {
      o.simulation = true;
      o.preset = a.mid(11);
      if (o.preset.isEmpty()) o.preset = QStringLiteral("demo");
    } else if (avecValeur("--sweep")) {
      const QString faute = LitBalayage(valeur, o.balayage);
      if (!faute.isEmpty()) return erreur(faute);
      balayage = true;
    } else if (a == QLatin1String("--log")) {
      o.balayage.logarithmique = true;
      optionDeBalayage = true;
    } else if (avecValeur("--delay")) {
      bool ok = false;
      o.balayage.delaiMs = valeur.toInt(&ok);
      if (!ok || o.balayage.delaiMs < 1 || o.balayage.delaiMs > 60000)
        return erreur(QStringLiteral("--delay va de 1 à 60000 ms"));
      optionDeBalayage = true;
    } else if (avecValeur("--output")) {
      if (valeur.isEmpty()) return erreur(QStringLiteral("--output attend un nom de fichier"));
      o.balayage.sortie = valeur;
      optionDeBalayage = true;
    } else {
      return erreur(QStringLiteral("option inconnue « %1 »").arg(a));
    }
  }
  if (optionDeBalayage && !balayage)
    return erreur(QStringLiteral("--log, --delay et --output vont avec --sweep"));
  if (balayage) o.action = OptionsLancement::Balaye;
  return o;
}
