#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "Attend.h"
#include "BoitesScriptees.h"
#include "Protege.h"
#include "SignauxFin.h"

#include <csignal>

namespace {

// A widget whose handler of a posted event throws, as a faulty handler would.
class Lanceur final : public QWidget {
 public:
  int recus = 0;
  bool event(QEvent *e) override {
    if (e->type() == QEvent::User) {
      ++recus;
      throw std::runtime_error("Valeur hors des limites");
    }
    return QWidget::event(e);
  }
};

}  // namespace

TEST(ApplicationZelm, UneExceptionDUnGestionnaireMontreUneBoiteEtLeProgrammeContinue) {
  BoitesScriptees boites;
  DefinitBoites(&boites);
  Lanceur lanceur;
  QCoreApplication::postEvent(&lanceur, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  ASSERT_EQ(boites.vues.size(), 1u);
  EXPECT_EQ(boites.vues[0].genre, BoitesScriptees::Trace::Erreur);
  EXPECT_EQ(boites.vues[0].texte, "Valeur hors des limites");
  // a button's click handler that throws, connected as the window connects its own:
  // the same box, and the loop goes on
  QPushButton bouton;
  QObject::connect(&bouton, &QPushButton::clicked,
                   [] { Protege([] { throw std::range_error("Débordement"); }); });
  bouton.show();
  QTest::mouseClick(&bouton, Qt::LeftButton);
  QCoreApplication::postEvent(&lanceur, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  DefinitBoites(nullptr);
  EXPECT_EQ(boites.Textes(),
            (QStringList{"Valeur hors des limites", "Débordement", "Valeur hors des limites"}));
  EXPECT_EQ(lanceur.recus, 2);
}

TEST(SignauxFin, CtrlCFermeParLaBoucleDEvenements) {
  SignauxFin signaux;
  int fins = 0;
  QObject::connect(&signaux, &SignauxFin::Fin, [&] { ++fins; });
  std::raise(SIGINT);  // handled: the test program goes on
  EXPECT_EQ(fins, 0);  // nothing happens inside the signal itself
  ASSERT_TRUE(Attend([&] { return fins == 1; }));
  std::raise(SIGTERM);
  ASSERT_TRUE(Attend([&] { return fins == 2; }));
}
