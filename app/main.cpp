// zelm: the program. Options first (they need no display), then the modules,
// the application's title and the main window.
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <string>
#include <memory>
#include <unistd.h>

#include "AccesGenerateurs.h"
#include "AcquisitionEnLigne.h"
#include "ApplicationZelm.h"
#include "BalayageEnLigne.h"
#include "Demarrage.h"
#include "OptionsLancement.h"
#include "Protege.h"
#include "Quilink.h"
#include "ServicesZelm.h"
#include "SignauxFin.h"
#include "SortieLignes.h"
#include "TZelmMainForm.h"

namespace {

// The command the options ask for; a sweep shows its progress on a terminal.
std::unique_ptr<CommandeSansFenetre> CreeCommande(const OptionsLancement &options,
                                                  AccesGenerateurs &generateurs,
                                                  const std::string &config, bool terminal) {
  if (options.action != OptionsLancement::Balaye)
    return std::make_unique<AcquisitionEnLigne>(generateurs, options.baseDeTemps, config);
  auto balayage = std::make_unique<BalayageEnLigne>(generateurs, options.balayage, config);
  if (terminal)
    balayage->Progression = [](int k, int n, double f) {
      std::fprintf(stderr, "\rpoint %d / %d : %.6g Hz   ", k, n, f);
      if (k == n) std::fputc('\n', stderr);
    };
  return balayage;
}

// `zelm --sweep` and `zelm --acquire`: no window and no display. The output keeps
// the lines written even when the command stops early; the picture shows what was
// measured, whole or not.
int SansFenetre(int argc, char **argv, const OptionsLancement &options) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ApplicationZelm application(argc, argv);
  const SortiesDemandees &sorties = options.sorties;
  const auto dit = [](const QString &texte) {
    std::fprintf(stderr, "zelm : %s\n", texte.toLocal8Bit().constData());
  };
  SortieLignes sortie;
  if (const QString faute = sortie.Ouvre(sorties.texte); !faute.isEmpty()) {
    dit(faute);
    return 1;
  }
  const std::string dossier =
      InitialiseModules(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  const bool terminal = isatty(STDERR_FILENO) != 0;
  int statut = 0;
  QString message, fauteImage;
  {
    GenerateursCharges generateurs;
    const std::unique_ptr<CommandeSansFenetre> commande =
        CreeCommande(options, generateurs, dossier + "zelm.zlm", terminal);
    commande->Ligne = [&sortie](const QString &ligne) { sortie.Ecrit(ligne); };
    commande->Fin = [&](int s, const QString &m) {
      statut = s;
      message = m;
      QCoreApplication::exit(s);
    };
    SignauxFin signaux;
    QObject::connect(&signaux, &SignauxFin::Fin, [&commande] { commande->Interromps(); });
    QTimer::singleShot(0, [&commande] { Protege([&] { commande->Demarre(); }); });
    QApplication::exec();
    if (!sorties.image.isEmpty() && sortie.Points() > 0)
      fauteImage = commande->EnregistreImage(sorties.image, sorties.taille);
  }
  FinaliseModules();
  if (statut != 0) {
    if (terminal && sortie.Points() > 0 && options.action == OptionsLancement::Balaye)
      std::fputc('\n', stderr);
    dit(message);
  }
  bool ecrit = true;
  if (const QString faute = sortie.Termine(); !faute.isEmpty()) {
    dit(faute);
    ecrit = false;
  }
  if (!fauteImage.isEmpty()) {
    dit(fauteImage);
    ecrit = false;
  }
  return ecrit ? statut : 1;
}

}  // namespace

int main(int argc, char **argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const OptionsLancement options = LitOptions(arguments);
  if (options.action == OptionsLancement::Aide || options.action == OptionsLancement::Version ||
      options.action == OptionsLancement::Erreur) {
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
  if (options.action == OptionsLancement::Balaye || options.action == OptionsLancement::Acquiert)
    return SansFenetre(argc, argv, options);
  ApplicationZelm application(argc, argv);
  const std::string dossier =
      InitialiseModules(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  FixeSeparateurDepuisLocale();
  QApplication::setApplicationName(QStringLiteral("Oscillo Quilo USB"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/zelm.png")));
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
