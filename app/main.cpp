// zelm: the program. Options first (they need no display), then the modules,
// the application's title and the main window.
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "AccesGenerateurs.h"
#include "ApplicationZelm.h"
#include "Demarrage.h"
#include "OptionsLancement.h"
#include "Protege.h"
#include "Quilink.h"
#include "ServicesZelm.h"
#include "SignauxFin.h"
#include "TZelmMainForm.h"

int main(int argc, char **argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const OptionsLancement options = LitOptions(arguments);
  if (options.action != OptionsLancement::Lance) {
    std::fputs(options.message.toLocal8Bit().constData(),
               options.action == OptionsLancement::Erreur ? stderr : stdout);
    return options.action == OptionsLancement::Erreur ? 2 : 0;
  }
  // the bench is in place before anything opens the oscilloscope
  if (options.simulation && QuilinkSimulation(options.preset.toUtf8().constData()) != 1) {
    std::fprintf(stderr, "zelm : banc virtuel inconnu « %s »\n",
                 options.preset.toLocal8Bit().constData());
    return 2;
  }
  ApplicationZelm application(argc, argv);
  const std::string dossier =
      InitialiseModules(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  FixeSeparateurDepuisLocale();
  QApplication::setApplicationName(QStringLiteral("Oscillo Quilo USB"));
  int resultat = 0;
  {
    GenerateursCharges generateurs;
    TZelmMainForm fenetre(generateurs, dossier);
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
