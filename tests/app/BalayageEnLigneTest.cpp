#include "BalayageEnLigne.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <future>
#include <optional>

#include <cmath>
#include <complex>

#include "Attend.h"
#include "CircuitsMesure.h"
#include "Demarrage.h"
#include "GenerateurVirtuel.h"
#include "LienAppareil.h"
#include "SortieBalayage.h"
#include "SurLeBanc.h"

namespace {

struct Issue {
  int statut;
  QString message;
};

// The sweep with no window on a bench preset, on virtual time, with the generator
// libraries loaded and a data folder of its own.
class EnLigne : public SurLeBanc {
 protected:
  explicit EnLigne(const char *preset = "demo") : SurLeBanc(preset) {}
  void SetUp() override {
    SurLeBanc::SetUp();
    dossier = InitialiseModules(documents.path());
  }
  void TearDown() override {
    b.reset();
    FinaliseModules();
    SurLeBanc::TearDown();
  }
  void Lance(const BalayageDemande &d) {
    b = std::make_unique<BalayageEnLigne>(generateurs, d, dossier + "zelm.zlm");
    b->Ligne = [this](const QString &l) { lignes << l; };
    b->Fin = [this](int s, const QString &m) {
      EXPECT_FALSE(issue.has_value()) << "Fin called twice";
      issue = Issue{s, m};
    };
    b->Demarre();
  }
  bool Fini() {
    return Attend([this] { return issue.has_value(); }, 120000);
  }
  QTemporaryDir documents;
  std::string dossier;
  GenerateursCharges generateurs;
  std::unique_ptr<BalayageEnLigne> b;
  QStringList lignes;
  std::optional<Issue> issue;
};

}  // namespace

// The Part's 16 points from 100 Hz, written as measured, with the corrections of the
// settings file in use and that file left as it was.
TEST_F(EnLigne, EcritUnPointParLigneAvecLesCorrectionsDuFichier) {
  const QByteArray config = "[Oscillo]\r\nZ502=-2\r\nZ512=3\r\nZ001=11\r\n";
  {
    QFile f(QString::fromStdString(dossier) + QStringLiteral("zelm.zlm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(config);
  }
  Lance({100, 1000, 16, false, 100, {}});
  ASSERT_TRUE(Fini());
  EXPECT_EQ(issue->statut, 0) << issue->message.toStdString();
  ASSERT_EQ(lignes.size(), 17);
  EXPECT_EQ(lignes[0], BalayageEnLigne::EnTete());
  bool mesureeDiffere = false;
  for (int k = 0; k < 16; ++k) {
    SCOPED_TRACE(k);
    const QStringList champs = lignes[k + 1].split(QLatin1Char('\t'));
    ASSERT_EQ(champs.size(), 5) << lignes[k + 1].toStdString();
    std::array<double, 5> v{};
    for (int i = 0; i < 5; ++i) {
      bool ok = false;
      v[size_t(i)] = champs[i].toDouble(&ok);  // '.' as decimal separator
      EXPECT_TRUE(ok) << champs[i].toStdString();
    }
    const double demandee = 100 + k * 56.25;
    EXPECT_NEAR(v[0] / demandee, 1, 0.005);
    mesureeDiffere = mesureeDiffere || v[0] != demandee;
    EXPECT_NEAR(v[3], v[2] / v[1], 1e-6 * v[3]);  // gain = RMS 2 / RMS 1
    EXPECT_LT(v[4], 0);  // a low-pass: channel 2 lags
  }
  EXPECT_TRUE(mesureeDiffere);

  // the model is the device thread's: asked there
  std::promise<TOscillo::TableCorrection> table;
  b->Appareil().Travail().Execute([&](TOscillo *o) { table.set_value(o->Correction()); });
  const TOscillo::TableCorrection c = table.get_future().get();
  EXPECT_EQ(c[2][5][0], -2);
  EXPECT_EQ(c[2][5][1], 3);
  EXPECT_EQ(c[1][0][0], 0);  // 11 is beyond what "Zéro" can find: never written
  EXPECT_EQ(c[1][5][0], 0);
  QFile f(QString::fromStdString(dossier) + QStringLiteral("zelm.zlm"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), config);
}

// Ctrl+C: the points taken are kept and the end says how many.
TEST_F(EnLigne, UneInterruptionGardeLesPointsPris) {
  Lance({100, 1000, 16, true, 100, {}});
  ASSERT_TRUE(Attend([this] { return lignes.size() >= 4; }));
  b->Interromps();
  ASSERT_TRUE(issue.has_value());
  EXPECT_EQ(issue->statut, 1);
  EXPECT_TRUE(issue->message.contains(QStringLiteral("après 3 points sur 16")))
      << issue->message.toStdString();
  b->Interromps();  // once only
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(lignes.size(), 4);
}

// The generator gone in the middle: the points taken are written, the end says how many
// and fails, once.
TEST_F(EnLigne, UnGenerateurDebrancheFinitSurLesPointsPris) {
  Lance({100, 1000, 16, false, 100, {}});
  ASSERT_TRUE(Attend([this] { return lignes.size() >= 4; }));
  auto g = std::dynamic_pointer_cast<GenerateurVirtuel>(Banc().Appareil("QuiloGenUSB-0"));
  ASSERT_TRUE(g);
  g->Debranche(true);
  ASSERT_TRUE(Fini());
  EXPECT_EQ(issue->statut, 1);
  const int ecrits = int(lignes.size()) - 1;
  EXPECT_GE(ecrits, 3);
  EXPECT_LT(ecrits, 16);
  EXPECT_EQ(issue->message,
            QStringLiteral("générateur débranché après %1 points sur 16").arg(ecrits));
  for (int k = 0; k < ecrits; ++k) {  // each written point is the generator's, at its step
    const double mesuree = lignes[k + 1].split(QLatin1Char('\t'))[0].toDouble();
    EXPECT_NEAR(mesuree / (100 + k * 56.25), 1, 0.01) << k;
  }
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(lignes.size(), ecrits + 1);
}

// The oscilloscope unplugged in the middle of a frame: the points taken are written and
// the end says what went, once.
TEST_F(EnLigne, UnOscilloDebrancheFinitSurLesPointsPris) {
  Lance({100, 1000, 16, false, 100, {}});
  ASSERT_TRUE(Attend([this] { return lignes.size() >= 4; }));
  Virtuel().DebrancheEnTrame(3000);
  ASSERT_TRUE(Fini());
  EXPECT_EQ(issue->statut, 1);
  const int ecrits = int(lignes.size()) - 1;
  EXPECT_GE(ecrits, 3);
  EXPECT_LT(ecrits, 16);
  EXPECT_EQ(issue->message,
            QStringLiteral("oscilloscope débranché après %1 points sur 16").arg(ecrits));
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(lignes.size(), ecrits + 1);
}

namespace {

struct CasErreur {
  const char *preset;
  BalayageDemande demande;
  const char *message;
};

class EnLigneEchoue : public EnLigne, public testing::WithParamInterface<CasErreur> {
 protected:
  EnLigneEchoue() : EnLigne(GetParam().preset) {}
};

}  // namespace

TEST_P(EnLigneEchoue, AvecUnMessageClairEtSansPoint) {
  Lance(GetParam().demande);
  ASSERT_TRUE(Fini());
  EXPECT_NE(issue->statut, 0);
  EXPECT_EQ(issue->message, QString::fromUtf8(GetParam().message));
  EXPECT_EQ(lignes, QStringList{BalayageEnLigne::EnTete()});
}

INSTANTIATE_TEST_SUITE_P(
    Cas, EnLigneEchoue,
    testing::Values(
        CasErreur{"sans-oscillo", {100, 1000, 16, false, 100, {}}, "oscilloscope non détecté"},
        CasErreur{"sans-generateur", {100, 1000, 16, false, 100, {}}, "aucun générateur branché"},
        // the very-low-frequency generator stops at 2000 Hz
        CasErreur{"demo-tbf",
                  {100, 5000, 16, false, 100, {}},
                  "100 à 5000 Hz sort de la plage du générateur (0.005 à 2000 Hz)"},
        CasErreur{"demo",
                  {0.01, 100, 16, false, 100, {}},
                  "0.01 à 100 Hz sort de la plage du générateur (0.02 à 480000 Hz)"}));

// The output file: refused before any sweep, replaced whole, left alone without a point.
TEST(SortieBalayage, UnFichierEntierOuRien) {
  QTemporaryDir d;
  const QString chemin = d.filePath(QStringLiteral("reponse.txt"));
  {
    SortieBalayage s;
    EXPECT_TRUE(s.Ouvre(d.filePath(QStringLiteral("absent/reponse.txt"))).contains(QStringLiteral("impossible d'écrire")));
  }
  {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ancien\n");
  }
  const auto contenu = [&] {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(absent)");
  };
  {
    SortieBalayage s;  // a sweep that took no point: the old file stays
    ASSERT_EQ(s.Ouvre(chemin), QString());
    s.Ecrit(BalayageEnLigne::EnTete());
    EXPECT_EQ(s.Termine(), QString());
    EXPECT_EQ(contenu(), "ancien\n");
  }
  SortieBalayage s;
  ASSERT_EQ(s.Ouvre(chemin), QString());
  s.Ecrit(QStringLiteral("f (Hz)"));
  s.Ecrit(QStringLiteral("100\t1"));
  EXPECT_EQ(contenu(), "ancien\n");  // nothing replaced before the end
  EXPECT_EQ(s.Points(), 1);
  EXPECT_EQ(s.Termine(), QString());
  EXPECT_EQ(contenu(), "f (Hz)\n100\t1\n");
}

namespace {

// A bench of its own, from a file: the low-frequency generator into an RC high-pass cut
// at 500 Hz.
const std::string &FichierPasseHaut() {
  static const std::string chemin = testing::TempDir() + "passe-haut-500.ini";
  return chemin;
}

class EnLignePasseHaut : public EnLigne {
 protected:
  EnLignePasseHaut() : EnLigne(FichierPasseHaut().c_str()) {}
  void SetUp() override {
    QFile f(QString::fromStdString(FichierPasseHaut()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("; un passe-haut RC\n[Entree]\ntype=generateur\ngenerateur=BF\n\n"
            "[Circuit]\ntype=passe-haut-RC\ncoupure=500\n");
    f.close();
    EnLigne::SetUp();
  }
};

}  // namespace

// Every point's gain within 1 % and phase within 1° of 1 / (1 − j·fc/f) at the point's
// measured frequency.
TEST_F(EnLignePasseHaut, UnBancEnFichierSuitLaReponseDuPasseHaut) {
  constexpr double Coupure = 500;
  Lance({100, 10000, 12, true, 100, {}});
  ASSERT_TRUE(Fini());
  ASSERT_EQ(issue->statut, 0) << issue->message.toStdString();
  ASSERT_EQ(lignes.size(), 13);
  for (int k = 1; k < lignes.size(); ++k) {
    SCOPED_TRACE(lignes[k].toStdString());
    const QStringList champs = lignes[k].split(QLatin1Char('\t'));
    ASSERT_EQ(champs.size(), 5);
    const double fm = champs[0].toDouble(), gain = champs[3].toDouble(),
                 phase = champs[4].toDouble();
    const std::complex<double> h = ReponsePasseHautRC(Coupure, fm);
    EXPECT_NEAR(gain / std::abs(h), 1, 0.01);
    EXPECT_NEAR(phase, std::arg(h) * 180 / M_PI, 1.0);
  }
}
