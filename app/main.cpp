// zelm: the program. Options first (they need no display), then the modules,
// the application's title and the main window.
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <string>
#include <memory>
#include <unistd.h>

#include "AccesGenerateurs.h"
#include "ApplicationZelm.h"
#include "BalayageEnLigne.h"
#include "Demarrage.h"
#include "OptionsLancement.h"
#include "Protege.h"
#include "Quilink.h"
#include "ServicesZelm.h"
#include "SortieBalayage.h"
#include "SignauxFin.h"
#include "TZelmMainForm.h"

namespace {

// `zelm --sweep`: no window and no display. The output keeps the points taken even
// when the sweep stops early.
int BalayeSansFenetre(int argc, char **argv, const OptionsLancement &options) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ApplicationZelm application(argc, argv);
  const BalayageDemande &demande = options.balayage;
  SortieBalayage sortie;
  if (const QString faute = sortie.Ouvre(demande.sortie); !faute.isEmpty()) {
    std::fprintf(stderr, "zelm : %s\n", faute.toLocal8Bit().constData());
    return 1;
  }
  const std::string dossier =
      InitialiseModules(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  const bool terminal = isatty(STDERR_FILENO) != 0;
  int statut = 0;
  QString message;
  {
    GenerateursCharges generateurs;
    BalayageEnLigne balayage(generateurs, demande, dossier + "zelm.zlm");
    balayage.Ligne = [&sortie](const QString &ligne) { sortie.Ecrit(ligne); };
    if (terminal)
      balayage.Progression = [](int k, int n, double f) {
        std::fprintf(stderr, "\rpoint %d / %d : %.6g Hz   ", k, n, f);
        if (k == n) std::fputc('\n', stderr);
      };
    balayage.Fin = [&](int s, const QString &m) {
      statut = s;
      message = m;
      QCoreApplication::exit(s);
    };
    SignauxFin signaux;
    QObject::connect(&signaux, &SignauxFin::Fin, [&balayage] { balayage.Interromps(); });
    QTimer::singleShot(0, [&balayage] { Protege([&] { balayage.Demarre(); }); });
    QApplication::exec();
  }
  FinaliseModules();
  if (statut != 0) {
    if (terminal && sortie.Points() > 0) std::fputc('\n', stderr);
    std::fprintf(stderr, "zelm : %s\n", message.toLocal8Bit().constData());
  }
  if (const QString faute = sortie.Termine(); !faute.isEmpty()) {
    std::fprintf(stderr, "zelm : %s\n", faute.toLocal8Bit().constData());
    return 1;
  }
  return statut;
}

}  // namespace

int main(int argc, char **argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const OptionsLancement options = LitOptions(arguments);
  if (options.action != OptionsLancement::Lance && options.action != OptionsLancement::Balaye) {
    std::fputs(options.message.toLocal8Bit().constData(),
               options.action == OptionsLancement::Erreur ? stderr : stdout);
    return options.action == OptionsLancement::Erreur ? 2 : 0;
  }
  // the bench is in place before anything opens the oscilloscope
  if (options.simulation && QuilinkSimulation(options.preset.toUtf8().constData()) != 1) {
    std::string erreur(std::size_t(QuilinkSimulationErreur(nullptr, 0)) + 1, '\0');
    erreur.resize(std::size_t(QuilinkSimulationErreur(erreur.data(), int32_t(erreur.size()))));
    std::fprintf(stderr, "zelm : %s\n", QString::fromStdString(erreur).toLocal8Bit().constData());
    return 2;
  }
  if (options.action == OptionsLancement::Balaye) return BalayeSansFenetre(argc, argv, options);
  ApplicationZelm application(argc, argv);
  const std::string dossier =
      InitialiseModules(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  FixeSeparateurDepuisLocale();
  QApplication::setApplicationName(QStringLiteral("Oscillo Quilo USB"));
  int resultat = 0;
  {
    GenerateursCharges generateurs;
    TZelmMainForm fenetre(generateurs, dossier);
    // every form the macros may touch exists now
    fenetre.EcouteMacros();
    fenetre.show();
    SignauxFin signaux;
    QObject::connect(&signaux, &SignauxFin::Fin, &fenetre, &QWidget::close);
    // the first activation, whether or not a window manager activates the window
    QTimer::singleShot(0, &fenetre, [&fenetre] { Protege([&] { fenetre.FormActivate(); }); });
    resultat = QApplication::exec();
  }
  FinaliseModules();
  return resultat;
}
