#include "OptionsLancement.h"

#include <QCoreApplication>
#include <cmath>

#include "Calibres.h"
#include "ListePoints.h"

QString TexteAideLigneDeCommande(const QString &programme) {
  return QStringLiteral(
             "Usage : %1 [--simulate[=BANC]]\n"
             "        %1 [--simulate[=BANC]] --sweep FMIN:FMAX:POINTS [--log] [--delay MS]\n"
             "           [--output FICHIER] [--picture IMAGE.png [--size LxH]]\n"
             "        %1 [--simulate[=BANC]] --acquire [--timebase INDICE|auto]\n"
             "           [--output FICHIER] [--picture IMAGE.png [--size LxH]]\n"
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
             "  --acquire          acquiert une trame sans fenêtre, calibres et synchro\n"
             "                     automatiques, et écrit un échantillon par ligne : temps\n"
             "                     (s), voie 1 (V), voie 2 (V)\n"
             "  --timebase INDICE|auto\n"
             "                     base de temps de l'acquisition : 0 (10 µs) à 17 (5 s),\n"
             "                     ou auto (par défaut) comme « Config. auto »\n"
             "  --output FICHIER   écrit les lignes dans FICHIER (sinon la sortie standard)\n"
             "  --picture IMAGE.png\n"
             "                     dessine aussi le graphe (temps ou diagramme) dans IMAGE.png\n"
             "  --size LxH         taille de l'image en pixels (1280x800 par défaut)\n"
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

// WxH, each side in a range a graph can be drawn in.
bool LitTaille(const QString &texte, QSize &taille) {
  const QStringList morceaux = texte.split(QLatin1Char('x'));
  if (morceaux.size() != 2) return false;
  bool ok1 = false, ok2 = false;
  const int l = morceaux[0].toInt(&ok1), h = morceaux[1].toInt(&ok2);
  constexpr int Min = 200, Max = 8192;
  if (!ok1 || !ok2 || l < Min || l > Max || h < Min || h > Max) return false;
  taille = QSize(l, h);
  return true;
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
  bool balayage = false, acquisition = false;
  bool optionDeBalayage = false, optionDAcquisition = false, optionDeSortie = false,
       taille = false;
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
    } else if (a == QLatin1String("--acquire")) {
      acquisition = true;
    } else if (avecValeur("--timebase")) {
      bool ok = false;
      const int indice = valeur.toInt(&ok);
      if (valeur == QLatin1String("auto")) o.baseDeTemps = -1;
      else if (ok && indice >= 0 && indice < int(BasesDeTemps.size())) o.baseDeTemps = indice;
      else
        return erreur(QStringLiteral("--timebase attend auto ou un indice de 0 à %1")
                          .arg(BasesDeTemps.size() - 1));
      optionDAcquisition = true;
    } else if (avecValeur("--output")) {
      if (valeur.isEmpty()) return erreur(QStringLiteral("--output attend un nom de fichier"));
      o.sorties.texte = valeur;
      optionDeSortie = true;
    } else if (avecValeur("--picture")) {
      if (!valeur.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) || valeur.size() < 5)
        return erreur(QStringLiteral("--picture attend un nom de fichier en .png"));
      o.sorties.image = valeur;
      optionDeSortie = true;
    } else if (avecValeur("--size")) {
      if (!LitTaille(valeur, o.sorties.taille))
        return erreur(QStringLiteral("--size attend LxH, de 200 à 8192 pixels chacun"));
      taille = true;
    } else {
      return erreur(QStringLiteral("option inconnue « %1 »").arg(a));
    }
  }
  if (balayage && acquisition) return erreur(QStringLiteral("--sweep ou --acquire, pas les deux"));
  if (optionDeBalayage && !balayage)
    return erreur(QStringLiteral("--log et --delay vont avec --sweep"));
  if (optionDAcquisition && !acquisition)
    return erreur(QStringLiteral("--timebase va avec --acquire"));
  if (optionDeSortie && !balayage && !acquisition)
    return erreur(QStringLiteral("--output et --picture vont avec --sweep ou --acquire"));
  if (taille && o.sorties.image.isEmpty())
    return erreur(QStringLiteral("--size va avec --picture"));
  if (balayage) o.action = OptionsLancement::Balaye;
  if (acquisition) o.action = OptionsLancement::Acquiert;
  return o;
}
