#include <gtest/gtest.h>

#include <QTextBrowser>
#include <QTextDocument>

#include "Aide.h"

TEST(Aide, LaPageEstDansLeProgrammeAvecSesDeuxEntrees) {
  for (int contexte : {0, 7}) {
    SCOPED_TRACE(contexte);
    Aide::Montre(contexte);
    QTextBrowser *f = Aide::Fenetre();
    EXPECT_EQ(f->source(), Aide::Adresse(contexte));
    EXPECT_TRUE(f->document()->toPlainText().contains("Paramétrer une voie de mesure"));
    f->close();
  }
  EXPECT_EQ(Aide::Adresse(7).fragment(), "contexte-7");
  EXPECT_EQ(Aide::Adresse(0).fragment(), "sommaire");
}
