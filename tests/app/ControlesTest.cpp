#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QRadioButton>

#include "BoitesScriptees.h"
#include "Controles.h"

TEST(RadioGroupe, UnIndexPoseParLeCodeEmetLeClicCommeLUtilisateur) {
  RadioGroupe g("Mode", {"Oscilloscope", "Analyseur de spectre", "Diagramme de Zelm"});
  int clics = 0;
  QObject::connect(&g, &RadioGroupe::clic, [&] { ++clics; });
  g.SetItemIndex(2);
  g.SetItemIndex(2);  // no change, no click
  EXPECT_EQ(clics, 1);
  auto boutons = g.findChildren<QRadioButton *>();
  boutons[0]->click();
  EXPECT_EQ(g.ItemIndex(), 0);
  EXPECT_EQ(clics, 2);
  g.SetItemIndex(7);  // past the last item: the last (a stored index still chooses)
  EXPECT_EQ(g.ItemIndex(), 2);
  EXPECT_TRUE(boutons[2]->isChecked());
  g.SetItemIndex(-1);  // none checked
  EXPECT_EQ(g.ItemIndex(), -1);
  EXPECT_FALSE(boutons[2]->isChecked());
}

TEST(RadioGroupe, OterUnItemDecaleLesSuivantsEtLIndex) {
  RadioGroupe g("Mode", {"a", "b", "c", "d"}, 2);
  g.SetItemIndex(3);
  g.SupprimeItem(1);
  ASSERT_EQ(g.NbItems(), 3);
  EXPECT_EQ(g.Item(1), "c");
  EXPECT_EQ(g.ItemIndex(), 2);  // "d" kept its check, one place down
  g.SupprimeItem(2);
  EXPECT_EQ(g.ItemIndex(), -1);
  g.AjouteItem("e");
  EXPECT_EQ(g.Item(2), "e");
  auto boutons = g.findChildren<QRadioButton *>();
  EXPECT_EQ(boutons.size(), 3);
}

TEST(UpDown, LeProprietairePeutRefuserEtLesBornesTiennent) {
  UpDown u(0, 2, 1);
  int clics = 0;
  bool refuse = false;
  QObject::connect(&u, &UpDown::changement, [&](int, bool &permis) {
    if (refuse) permis = false;
  });
  QObject::connect(&u, &UpDown::clic, [&] { ++clics; });
  u.Pas(+1);
  u.Pas(+1);  // beyond Max
  EXPECT_EQ(u.Position(), 2);
  refuse = true;
  u.Pas(-1);
  EXPECT_EQ(u.Position(), 2);
  EXPECT_EQ(clics, 1);
  u.SetPosition(-5);
  EXPECT_EQ(u.Position(), 0);
}

TEST(BoitesScriptees, DonneLesReponsesDansLOrdreEtGardeLesTextes) {
  BoitesScriptees b;
  b.reponses = {false, true};
  DefinitBoites(&b);
  BoitesCourantes().Erreur("Oscillo non branché");
  EXPECT_FALSE(BoitesCourantes().ConfirmeOkAnnuler("Correction du décalage des voies"));
  QDialog d;
  d.setWindowTitle("About");
  bool rempli = false;
  b.remplit = [&](QDialog &) { rempli = true; };
  EXPECT_TRUE(BoitesCourantes().Execute(d));
  EXPECT_TRUE(rempli);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_TRUE(BoitesCourantes().Confirme("encore"));  // script empty: yes
  DefinitBoites(nullptr);
  EXPECT_EQ(b.Textes(), QStringList({"Oscillo non branché", "Correction du décalage des voies",
                                     "About", "encore"}));
}

TEST(CreeBoite, BoutonsEnFrancaisEtTexteBrut) {
  struct Cas { GenreBoite genre; std::vector<QString> boutons; } cas[] = {
      {GenreBoite::Message, {"OK"}},
      {GenreBoite::Erreur, {"OK"}},
      {GenreBoite::OuiNon, {"Oui", "Non"}},
      {GenreBoite::OkAnnuler, {"OK", "Annuler"}},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(int(c.genre));
    auto boite = CreeBoite(c.genre, "<b>pas du gras</b>");
    std::vector<QString> textes;
    for (QAbstractButton *b : boite->buttons()) textes.push_back(b->text());
    std::sort(textes.begin(), textes.end());
    auto attendus = c.boutons;
    std::sort(attendus.begin(), attendus.end());
    EXPECT_EQ(textes, attendus);
    // a peer's or the device's text is shown as it is, never as markup
    EXPECT_EQ(boite->textFormat(), Qt::PlainText);
  }
}
