#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <array>

#include "Export.h"
#include "FenetreBanc.h"
#include "Tvoie.h"
#include "ZelmDDE.h"
#include "ZelmReg.h"
#include "ZelmUtil.h"

namespace {

Tvoie Serie(const char *nom, const char *unite, const char *libelle, std::initializer_list<double> v,
            bool active = true, int couleur = 1) {
  Tvoie s(couleur);
  s.NomGrandeur = Texte32(nom);
  s.NomUnite = Texte32(unite);
  s.Libelle = Texte255(libelle);
  std::copy(v.begin(), v.end(), s.Valeurs.begin());
  s.Active = active;
  s.Motif = 1;
  return s;
}

PageExport Page() {
  PageExport p;
  p.programme = "/usr/bin/zelm";
  p.commentaire = "filtre RC";
  return p;
}

}  // namespace

TEST(BlocTemps, UneVoieActiveDeuxColonnesEtDesGroupesDUneLigne) {
  FixeSeparateurDecimal(',');  // the data still use '.'
  const Tvoie t = Serie("t", "s", "temps", {0, 0.0001, 123456});
  const Tvoie v1 = Serie("V1", "V", "voie 1", {0.5, -1.25, ValeurIndefinie});
  const Tvoie v2 = Serie("V2", "V", "voie 2", {9, 9, 9}, false, 2);
  const std::array<const Tvoie *, 2> voies{&v1, &v2};
  EXPECT_EQ(BlocTemps(Page(), t, voies, 3),
            "/usr/bin/zelm\r\nAcquisition par oscillo Quilo USB\r\nfiltre RC\r\n"
            "t\tV1\t\r\ns\tV\t\r\ntemps\tvoie 1\t\r\n"
            "0\t0.5\t\r\n0.0001\t-1.25\t\r\n1.2346E05\t1E-26\t\r\n"
            "&1 X\r\nt\r\n&1 Y\r\nV1\r\n&1 COULEUR\r\n" + std::to_string(int32_t(v1.Couleur)) +
                "\r\n&1 MOTIF\r\n1\r\n&1 LIGNE\r\n2\r\n");
  FixeSeparateurDecimal('.');
}

TEST(BlocTemps, SansVoieActiveLAbscisseEtDesGroupesVides) {
  const Tvoie t = Serie("t", "s", "temps", {1, 2});
  const Tvoie v = Serie("V1", "V", "voie 1", {3, 4}, false);
  const std::array<const Tvoie *, 2> voies{&v, &v};
  PageExport p = Page();
  p.nouvellePage = true;  // the second line is then empty
  EXPECT_EQ(BlocTemps(p, t, voies, 2),
            "/usr/bin/zelm\r\n\r\nfiltre RC\r\nt\t\r\ns\t\r\ntemps\t\r\n1\t\r\n2\t\r\n"
            "&0 X\r\n&0 Y\r\n&0 COULEUR\r\n&0 MOTIF\r\n&0 LIGNE\r\n");
}

TEST(BlocMesures, LesCourbesActivesSansGroupesEtLeParametreAvecSymboleEtValeur) {
  const Tvoie f = Serie("f", "Hz", "Fréquence", {100, 200});
  const Tvoie a = Serie("VA", "V", "Valeur efficace", {1, 2}, false);
  const Tvoie g = Serie("G", "", "Gain", {0.5, 0.25});
  const std::array<const Tvoie *, 3> courbes{&f, &a, &g};
  struct Cas {
    const char *nom, *valeur;
    bool lignes;
  } cas[] = {{"C", "2,5", true}, {"", "2,5", false}, {"C", "", false}};
  for (const Cas &c : cas) {
    SCOPED_TRACE(std::string(c.nom) + "/" + c.valeur);
    PageExport p = Page();
    p.nom = c.nom;
    p.unite = "\xB5" "F";  // bytes as the symbol font has them
    p.valeur = c.valeur;
    const std::string bloc = BlocMesures(p, courbes, 2);
    const std::string donnees =
        "f\tG\t\r\nHz\t\t\r\nFréquence\tGain\t\r\n100\t0.5\t\r\n200\t0.25\t\r\n";
    EXPECT_EQ(bloc.substr(bloc.find("f\tG")),
              donnees + (c.lignes ? "\r\nC\r\n\xB5" "F\r\n2,5\r\n" : ""));
  }
}

TEST(BlocMesures, UneLigneTropLongueEstCoupee) {
  PageExport p = Page();
  p.commentaire = std::string(300, 'x');
  const std::string bloc = BlocMesures(p, {}, 0);
  EXPECT_NE(bloc.find("\r\n" + std::string(255, 'x') + "\r\n"), std::string::npos);
  EXPECT_EQ(bloc.find(std::string(256, 'x')), std::string::npos);
}

namespace {

// The window, with the stand-in analysis application found through the registry
// stand-in and reached in a runtime folder of the test's own.
class Export : public FenetreBanc {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid() && config.isValid());
    ancienRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("TABULO_FACTICE_JOURNAL", Journal().toLocal8Bit());
    qunsetenv("TABULO_FACTICE_REFUSE");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tabulo"),
              QStringLiteral("Tabulo"))
        .setValue(QStringLiteral("Path"), QStringLiteral(TABULO_FACTICE));
    FenetreBanc::SetUp();
    f->FormActivate();
    ASSERT_TRUE(Trames());
    dde().AttenteReessaiMs = 100;
    dde().Fini = [this] { ++echanges; };
  }
  void TearDown() override {
    if (f && lance) {  // the stand-in ends
      dde().EnvoieMacroTabulo(QStringLiteral("QUITTE"), false);
      Attend([this] { return !dde().EchangeEnCours(); });
    }
    FenetreBanc::TearDown();
    qputenv("XDG_RUNTIME_DIR", ancienRuntime);
    qunsetenv("TABULO_FACTICE_JOURNAL");
  }
  TZelmFormDDE &dde() { return f->FormDDE(); }
  QString Journal() const { return runtime.filePath(QStringLiteral("journal.txt")); }
  QStringList Recus() {
    QFile j(Journal());
    if (!j.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(j.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  // "Tabulo", the dialog filled in and answered OK, until the exchange ends.
  void Exporte(const QString &unite = {}, const QString &valeur = {}) {
    boites.remplit = [=](QDialog &d) {
      auto &c = static_cast<TConstanteDlg &>(d);
      c.NomConstEdit->setText(QStringLiteral("C"));
      c.UniteConstEdit->setText(unite);
      c.ValeurConstEdit->setText(valeur);
    };
    boites.reponses = {true};
    const int avant = echanges;
    f->RegSaveBtnClick();
    lance = true;
    ASSERT_TRUE(Attend([&] { return echanges > avant; }));
  }
  QTemporaryDir runtime, config;
  QByteArray ancienRuntime;
  int echanges = 0;
  bool lance = false;
};

}  // namespace

TEST_F(Export, DemarreLApplicationPuisAjouteUnePage) {
  Exporte(QStringLiteral("µF·m²"), QStringLiteral("2,5"));
  EXPECT_EQ(Recus(), (QStringList{"CLIP|LOAD", "FOCUS"}));
  const QMimeData *m = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(m, nullptr);
  // µ and ² as the block's bytes, and as themselves in the text
  const QByteArray bloc = m->data(QStringLiteral("application/x-tabulo-block"));
  EXPECT_TRUE(bloc.contains("\r\nC\r\n\xB5" "F"));
  EXPECT_TRUE(bloc.contains("m\xB2\r\n2,5\r\n"));
  EXPECT_TRUE(m->text().contains(QStringLiteral("\r\nC\r\nµF")));
  EXPECT_TRUE(m->text().contains(QStringLiteral("m²\r\n2,5\r\n")));
  EXPECT_TRUE(m->text().startsWith(QCoreApplication::applicationFilePath() + "\r\nAcquisition"));
  EXPECT_EQ(f->Constante().NewPageCB->ItemIndex(), 1);
  Exporte();
  EXPECT_EQ(Recus(), (QStringList{"CLIP|LOAD", "FOCUS", "CLIP|ADD", "FOCUS"}));
  EXPECT_TRUE(boites.Textes().filter(QStringLiteral("exécuté")).isEmpty()) << boites.Textes().join(" / ").toStdString();
}

TEST_F(Export, LeDiagrammeEnvoieSesPointsEtUnRefusEstDit) {
  qputenv("TABULO_FACTICE_REFUSE", "CLIP|LOAD,FOCUS");
  C<RadioGroupe>("ModeRG")->SetItemIndex(int(ModeAffichage::Zelm));
  Exporte();
  EXPECT_EQ(Recus(), (QStringList{"CLIP|LOAD", "FOCUS"}));
  EXPECT_EQ(boites.Textes().mid(1),
            (QStringList{"CLIP|LOAD non exécuté", "Bascule vers Tabulo non effectué"}));
  EXPECT_EQ(f->Constante().NewPageCB->ItemIndex(), 0);  // refused: still a new file next time
  const QString texte = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(texte.contains(QStringLiteral("\r\nf\tVA\t\r\n"))) << texte.toStdString();
  EXPECT_FALSE(texte.contains(QStringLiteral("&1 X")));
}

TEST_F(Export, UneApplicationAbsenteLeDit) {
  dde().CheminService = QStringLiteral("/nonexistent/tabulo");
  dde().AttenteDemarrageMs = 100;
  Exporte();
  lance = false;
  EXPECT_EQ(boites.Textes().mid(1), QStringList{"Impossible de lancer Tabulo"});
  EXPECT_EQ(f->Constante().NewPageCB->ItemIndex(), 0);
  EXPECT_FALSE(QGuiApplication::clipboard()->text().isEmpty());  // the clipboard keeps it
}

TEST_F(Export, UnNombreMalEcritGardeLeDialogueOuvert) {
  TConstanteDlg &d = f->Constante();
  for (const char *v : {"2,5", "2.5k", ""}) {
    d.ValeurConstEdit->setText(QString::fromUtf8(v));
    EXPECT_TRUE(d.OKBtnClick()) << v;
  }
  d.ValeurConstEdit->setText(QStringLiteral("deux"));
  d.setResult(QDialog::Rejected);
  EXPECT_FALSE(d.OKBtnClick());
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(boites.Textes().last(), QStringLiteral("Nombre mal écrit"));
  // answered OK by a script, the unreadable value still sends nothing
  boites.reponses = {true};
  f->RegSaveBtnClick();
  EXPECT_FALSE(dde().EchangeEnCours());
  EXPECT_TRUE(Recus().isEmpty());
}

TEST_F(Export, LaSectionConstanteSeGardeDUnLancementALAutre) {
  QTemporaryDir documents;
  dossier = QDir(documents.path()).filePath(QStringLiteral("Tabulo/")).toStdString();
  QDir().mkpath(QString::fromStdString(dossier));
  Ouvre();
  f->Constante().NomConstEdit->setText(QStringLiteral("R"));
  f->Constante().UniteConstEdit->setText(QStringLiteral("Ω"));
  f->Constante().EditComm->setText(QStringLiteral("séance 3"));
  f->Constante().ValeurConstEdit->setText(QStringLiteral("10"));
  f->close();
  Ouvre();
  EXPECT_EQ(f->Constante().NomConstEdit->text(), QStringLiteral("R"));
  EXPECT_EQ(f->Constante().UniteConstEdit->text(), QStringLiteral("Ω"));
  EXPECT_EQ(f->Constante().EditComm->text(), QStringLiteral("séance 3"));
  EXPECT_EQ(f->Constante().ValeurConstEdit->text(), QString());  // the value is not kept
  f->close();
  QFile fichier(QString::fromStdString(dossier) + QStringLiteral("zelm.zlm"));
  ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
  const QByteArray contenu = fichier.readAll();
  EXPECT_TRUE(contenu.contains("[Constante]\nNom=R\nComm=s\xE9" "ance 3\nUnit\xE9="));
  EXPECT_TRUE(contenu.contains("[Affichage]"));  // the window's sections too
}

// The program's own macro server, wired to the window and the export dialog.
TEST_F(Export, LesMacrosAtteignentLaFenetreEtLeDialogue) {
  ASSERT_TRUE(f->EcouteMacros());
  const auto envoie = [this](const QByteArray &requete) {
    QLocalSocket client;
    client.connectToServer(f->FormDDE().Serveur().Adresse());
    EXPECT_TRUE(Attend([&] { return client.state() == QLocalSocket::ConnectedState; }));
    client.write(requete);
    QByteArray reponse;
    EXPECT_TRUE(Attend([&] { return (reponse += client.readAll()).endsWith('\n'); }));
    return reponse;
  };
  EXPECT_EQ(f->Constante().NewPageCB->ItemIndex(), 0);
  EXPECT_EQ(envoie("getdata()\n\n"), "ACK\n");
  EXPECT_EQ(f->Constante().NewPageCB->ItemIndex(), 1);
  QDialog dialogue(f.get());  // a modal dialog of the window is up: no box, no focus
  dialogue.setModal(true);
  dialogue.show();
  EXPECT_EQ(envoie("FOCUS\n\n"), "ACK\n");
  dialogue.hide();
  f->hide();  // a hidden window cannot take the focus
  EXPECT_EQ(envoie("FOCUS\n\n"), "ACK\n");
  ASSERT_TRUE(Attend([this] { return boites.vues.size() == 1; }));
  EXPECT_EQ(boites.Textes(), QStringList{"Syntaxe Macro DDE : Fonction(Paramètre)"});
}
