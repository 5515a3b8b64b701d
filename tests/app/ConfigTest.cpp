#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FenetreBanc.h"
#include "GenerateurNote.h"
#include "FichierIni.h"

namespace {

// Windows opened one after the other on the same data folder, as runs of the program.
class Config : public FenetreBanc {
 protected:
  void SetUp() override {
    FenetreBanc::SetUp();
    dossier = QDir(documents.path()).filePath(QStringLiteral("Tabulo/")).toStdString();
    QDir().mkpath(QString::fromStdString(dossier));
  }
  QString Chemin() const { return QString::fromStdString(dossier) + QStringLiteral("zelm.zlm"); }
  void EcritFichier(const QByteArray &texte) {
    QFile fichier(Chemin());
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(texte);
  }
  QByteArray LitFichier() {
    QFile fichier(Chemin());
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
  }
  // A run: the window opened and activated.
  void Demarre(AccesGenerateurs *g = nullptr) {
    Ouvre(g);
    f->FormActivate();
    ASSERT_TRUE(Trames());
  }
  void Quitte() {
    f->close();
    f.reset();
  }
  QTemporaryDir documents;
};

}  // namespace

TEST_F(Config, UnRedemarrageRetrouveLesReglages) {
  EcritFichier("[Etrangere]\r\ncle=valeur\r\n[Affichage]\r\nInconnue=1\r\n");
  Demarre();
  C<RadioGroupe>("ModeRG")->SetItemIndex(int(ModeAffichage::Spectre));
  C<RadioGroupe>("CouplageRG2")->SetItemIndex(CouplageAC);
  C<RadioGroupe>("SynchroRG")->SetItemIndex(SynchroVoie1);
  C<UpDown>("DureeUpDown")->Pas(+1);
  C<UpDown>("UpDown1")->Pas(-1);
  C<QCheckBox>("MonocoupCB")->click();
  const ReglagesAcquis avant = f->Reglages();
  Quitte();
  const QByteArray ecrit = LitFichier();
  EXPECT_TRUE(ecrit.startsWith("[Etrangere]\r\ncle=valeur\r\n[Affichage]\r\nInconnue=1\r\nMode=1\r\n"));

  Demarre();
  EXPECT_EQ(f->Mode(), ModeAffichage::Spectre);
  EXPECT_EQ(f->Reglages().CouplageVoie(2), CouplageAC);
  EXPECT_EQ(f->Reglages().Synchro(), SynchroVoie1);
  EXPECT_EQ(f->Reglages().Duree(), avant.Duree());
  EXPECT_EQ(f->Reglages().Calibre(1), avant.Calibre(1));
  EXPECT_EQ(f->Reglages().Calibre(1), 4);
  // the first button update used to uncheck it
  EXPECT_TRUE(C<QCheckBox>("MonocoupCB")->isChecked());
  Quitte();
  EXPECT_EQ(LitFichier(), ecrit);  // nothing changed, nothing moved
}

TEST_F(Config, UnModeAutomatiqueEnregistreRedemarreEnDiagramme) {
  EcritFichier("[Affichage]\nMode=3\n");
  Demarre();
  EXPECT_EQ(f->Mode(), ModeAffichage::Zelm);
  EXPECT_EQ(f->Reglages().Calibre(1), 5);
}

TEST_F(Config, LesCorrectionsDUnZeroSurviventAUnArretBrutal) {
  Demarre();
  boites.reponses = {true};
  f->ToolButton1Click();
  ASSERT_TRUE(Attend([this] { return !f->EnCorrection(); }));
  const TOscillo::TableCorrection t = f->Correction();
  ASSERT_NE(t, TOscillo::TableCorrection{});
  f.reset();  // no closing: as a crash
  FichierIni fichier(Chemin().toStdString());
  EXPECT_EQ(TOscillo::LitTableCorrection(fichier), t);
  EXPECT_FALSE(fichier.SectionExiste("Affichage"));  // only the corrections were written
  Demarre();
  EXPECT_EQ(f->Correction(), t);
  EXPECT_TRUE(boites.vues.size() == 1) << boites.Textes().join(" / ").toStdString();
}

// Where the data folder should be stands a file: no write can succeed, even as root.
TEST_F(Config, UnFichierImpossibleAEcrireLeDitUneFoisEtLaFenetreSeFerme) {
  QFile bouchon(QString::fromStdString(dossier).chopped(1));
  QDir(QString::fromStdString(dossier)).removeRecursively();
  ASSERT_TRUE(bouchon.open(QIODevice::WriteOnly));
  bouchon.write("pas un dossier");
  bouchon.close();
  Demarre();
  f->close();
  EXPECT_FALSE(f->isVisible());
  ASSERT_EQ(boites.vues.size(), 1u) << boites.Textes().join(" / ").toStdString();
  EXPECT_EQ(boites.vues[0].genre, BoitesScriptees::Trace::Erreur);
  EXPECT_TRUE(boites.vues[0].texte.contains(Chemin()));
  f->close();  // a second closing says nothing more
  EXPECT_EQ(boites.vues.size(), 1u);
}

TEST_F(Config, LAmplitudeGardeeVaAuGenerateurQuandIlRepond) {
  for (const char *fichier : {"[Reprise]\nAmplitudeGBF=5\n", "[Affichage]\nMode=0\n"}) {
    SCOPED_TRACE(fichier);
    EcritFichier(fichier);
    GenerateurNote g;
    Demarre(&g);
    ASSERT_TRUE(Attend([this] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
    Calme();
    // without the key the driver keeps its own start value
    EXPECT_EQ(g.Amplitudes(), fichier[1] == 'R' ? std::vector<double>{5} : std::vector<double>{});
    f.reset();
  }
}
