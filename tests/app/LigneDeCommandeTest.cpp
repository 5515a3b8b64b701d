// The program itself, run as a user runs it from a shell, on the virtual bench in
// real time: what it writes, what it says and how it ends.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <complex>

#include "CircuitsMesure.h"

namespace {

struct Resultat {
  int statut = -1;
  QString sortie, erreurs;
};

// Runs the program in `dossier` with a home of its own, so that no settings of the
// user's are read.
Resultat Lance(const QStringList &arguments, const QString &dossier) {
  QProcess p;
  p.setWorkingDirectory(dossier);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("HOME"), dossier);
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dossier);
  env.remove(QStringLiteral("DISPLAY"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(ZELM_PROGRAMME), arguments);
  Resultat r;
  if (!p.waitForFinished(240000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.statut = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.sortie = QString::fromUtf8(p.readAllStandardOutput());
  r.erreurs = QString::fromUtf8(p.readAllStandardError());
  return r;
}

QString Ecrit(const QTemporaryDir &d, const char *nom, const QByteArray &contenu) {
  QFile f(d.filePath(QString::fromUtf8(nom)));
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(contenu);
  return f.fileName();
}

}  // namespace

// An RC high-pass cut at 500 Hz described in a file and swept from the command line:
// every point within 1 % in gain and 1° in phase of the analytic response at its
// measured frequency.
TEST(LigneDeCommande, UnPasseHautDecritDansUnFichierEtBalaye) {
  QTemporaryDir d;
  const QString banc = Ecrit(d, "passe-haut.ini",
                             "[Entree]\ntype=generateur\ngenerateur=BF\n\n"
                             "[Circuit]\ntype=passe-haut-RC\ncoupure=500\n");
  const Resultat r = Lance({"--simulate=" + banc, "--sweep", "100:10000:6", "--log", "--delay",
                            "1", "--output", "reponse.txt"},
                           d.path());
  ASSERT_EQ(r.statut, 0) << r.erreurs.toStdString();
  QFile f(d.filePath(QStringLiteral("reponse.txt")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lignes = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lignes.size(), 7);
  for (int k = 1; k < lignes.size(); ++k) {
    SCOPED_TRACE(lignes[k].toStdString());
    const QStringList champs = lignes[k].split('\t');
    ASSERT_EQ(champs.size(), 5);
    const std::complex<double> h = ReponsePasseHautRC(500, champs[0].toDouble());
    EXPECT_NEAR(champs[3].toDouble() / std::abs(h), 1, 0.01);
    EXPECT_NEAR(champs[4].toDouble(), std::arg(h) * 180 / M_PI, 1.0);
  }
}

// A bench file with a mistake: the file, the line and what was expected, and nothing
// runs.
TEST(LigneDeCommande, UnBancFauxNommeSaLigne) {
  QTemporaryDir d;
  const QString banc = Ecrit(d, "faux.ini",
                             "; un passe-bas\n[Banc]\noscilloscope=oui\n\n[Circuit]\n"
                             "type=passe-bas-RC\ncoupure=mille\n");
  for (const QStringList &commande :
       {QStringList{"--acquire"}, QStringList{"--sweep", "100:1000:4"}, QStringList{}}) {
    SCOPED_TRACE(commande.join(' ').toStdString());
    const Resultat r = Lance(QStringList{"--simulate=" + banc} + commande, d.path());
    EXPECT_EQ(r.statut, 2);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("faux.ini")) && r.erreurs.contains("7"))
        << r.erreurs.toStdString();
    EXPECT_TRUE(r.sortie.isEmpty());
  }
}

// One frame on standard output, the time graph in a picture of the size asked.
TEST(LigneDeCommande, UneAcquisitionEtSonImage) {
  QTemporaryDir d;
  const Resultat r = Lance({"--simulate", "--acquire", "--timebase", "3", "--picture",
                            "temps.png", "--size", "640x480"},
                           d.path());
  ASSERT_EQ(r.statut, 0) << r.erreurs.toStdString();
  const QStringList lignes = r.sortie.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lignes.size(), 4801);
  EXPECT_EQ(lignes[0], QStringLiteral("temps (s)\tvoie 1 (V)\tvoie 2 (V)"));
  EXPECT_EQ(lignes[1].split('\t').size(), 3);
  EXPECT_EQ(QImage(d.filePath(QStringLiteral("temps.png"))).size(), QSize(640, 480));
}
