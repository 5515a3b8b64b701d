#include "AcquisitionEnLigne.h"
#include "BalayageEnLigne.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
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
#include "Dessin.h"
#include "GenerateurVirtuel.h"
#include "LienAppareil.h"
#include "SortieLignes.h"
#include "SurLeBanc.h"

namespace {

struct Issue {
  int statut;
  QString message;
};

// The commands with no window on a bench preset, on virtual time, with the generator
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
    Commence(std::make_unique<BalayageEnLigne>(generateurs, d, dossier + "zelm.zlm"));
  }
  void Acquiert(int baseDeTemps = -1) {
    Commence(std::make_unique<AcquisitionEnLigne>(generateurs, baseDeTemps, dossier + "zelm.zlm"));
  }
  void Commence(std::unique_ptr<CommandeSansFenetre> commande) {
    b = std::move(commande);
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
  std::unique_ptr<CommandeSansFenetre> b;
  QStringList lignes;
  std::optional<Issue> issue;
};

}  // namespace

// Sixteen points from 100 Hz, written as measured, with the corrections of the
// settings file in use and that file left as it was.
TEST_F(EnLigne, EcritUnPointParLigneAvecLesCorrectionsDuFichier) {
  const QByteArray config = "[Oscillo]\r\nZ502=-2\r\nZ512=3\r\nZ001=11\r\n";
  {
    QFile f(QString::fromStdString(dossier) + QStringLiteral("zelm.zlm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(config);
  }
  Lance({100, 1000, 16, false, 100});
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
  Lance({100, 1000, 16, true, 100});
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

namespace {

// A device gone in the middle of a sweep, and what the end says of it.
struct CasPanne {
  const char *nom;
  void (*panne)(EnLigne &);
  const char *message;
};

class EnLignePanne : public EnLigne, public testing::WithParamInterface<CasPanne> {};

}  // namespace

// The points taken are written, the end fails and says what went and how many, once.
TEST_P(EnLignePanne, FinitSurLesPointsPris) {
  Lance({100, 1000, 16, false, 100});
  ASSERT_TRUE(Attend([this] { return lignes.size() >= 4; }));
  GetParam().panne(*this);
  ASSERT_TRUE(Fini());
  EXPECT_EQ(issue->statut, 1);
  const int ecrits = int(lignes.size()) - 1;
  EXPECT_GE(ecrits, 3);
  EXPECT_LT(ecrits, 16);
  EXPECT_EQ(issue->message, QString::fromUtf8(GetParam().message).arg(ecrits));
  // each written point is the generator's, at its step; the last may have been taken
  // as the generator went (nothing tells until the next step), on the bench's resting sine
  for (int k = 0; k + 1 < ecrits; ++k) {
    const double mesuree = lignes[k + 1].split(QLatin1Char('\t'))[0].toDouble();
    EXPECT_NEAR(mesuree / (100 + k * 56.25), 1, 0.01) << k;
  }
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(lignes.size(), ecrits + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, EnLignePanne,
    testing::Values(
        CasPanne{"generateur",
                 [](EnLigne &) {
                   auto g = std::dynamic_pointer_cast<GenerateurVirtuel>(
                       Banc().Appareil("QuiloGenUSB-0"));
                   ASSERT_TRUE(g);
                   g->Debranche(true);
                 },
                 "générateur débranché après %1 points sur 16"},
        // in the middle of a frame
        CasPanne{"oscillo",
                 [](EnLigne &) { Banc().Oscillo()->DebrancheEnTrame(3000); },
                 "oscilloscope débranché après %1 points sur 16"}),
    [](const testing::TestParamInfo<CasPanne> &i) { return std::string(i.param.nom); });

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
        CasErreur{"sans-oscillo", {100, 1000, 16, false, 100}, "oscilloscope non détecté"},
        CasErreur{"sans-generateur", {100, 1000, 16, false, 100}, "aucun générateur branché"},
        // the very-low-frequency generator stops at 2000 Hz
        CasErreur{"demo-tbf",
                  {100, 5000, 16, false, 100},
                  "100 à 5000 Hz sort de la plage du générateur (0.005 à 2000 Hz)"},
        CasErreur{"demo",
                  {0.01, 100, 16, false, 100},
                  "0.01 à 100 Hz sort de la plage du générateur (0.02 à 480000 Hz)"}),
    [](const testing::TestParamInfo<CasErreur> &i) {
      std::string nom = i.param.preset;
      std::replace(nom.begin(), nom.end(), '-', '_');
      return nom;
    });

// The output file: refused before any sweep, replaced whole, left alone without a point.
TEST(SortieLignes, UnFichierEntierOuRien) {
  QTemporaryDir d;
  const QString chemin = d.filePath(QStringLiteral("reponse.txt"));
  {
    SortieLignes s;
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
    SortieLignes s;  // a sweep that took no point: the old file stays
    ASSERT_EQ(s.Ouvre(chemin), QString());
    s.Ecrit(BalayageEnLigne::EnTete());
    EXPECT_EQ(s.Termine(), QString());
    EXPECT_EQ(contenu(), "ancien\n");
  }
  SortieLignes s;
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
  Lance({100, 10000, 12, true, 100});
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

namespace {

// The lines after the header, as numbers: time, channel 1, channel 2.
std::vector<std::array<double, 3>> Echantillons(const QStringList &lignes) {
  std::vector<std::array<double, 3>> v;
  for (int k = 1; k < lignes.size(); ++k) {
    const QStringList champs = lignes[k].split(QLatin1Char('\t'));
    std::array<double, 3> e{};
    bool ok = champs.size() == 3;
    for (int i = 0; ok && i < 3; ++i) e[size_t(i)] = champs[i].toDouble(&ok);
    EXPECT_TRUE(ok) << lignes[k].toStdString();
    v.push_back(e);
  }
  return v;
}

struct SinusAjuste {
  double amplitude, phase, ecart;  // phase at the frame's start; RMS of what is left
};

// The least-squares fit of a sin(w t) + b cos(w t) + c to column `voie` of the samples.
SinusAjuste AjusteSinus(const std::vector<std::array<double, 3>> &e, int voie, double frequence) {
  const double w = 2 * M_PI * frequence;
  double m[3][4] = {};  // the normal equations, right-hand side in column 3
  for (const auto &x : e) {
    const double f[3] = {std::sin(w * x[0]), std::cos(w * x[0]), 1};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) m[i][j] += f[i] * f[j];
      m[i][3] += f[i] * x[size_t(voie)];
    }
  }
  for (int i = 0; i < 3; ++i)  // Gauss-Jordan: the matrix is positive definite
    for (int r = 0; r < 3; ++r) {
      if (r == i) continue;
      const double q = m[r][i] / m[i][i];
      for (int j = i; j < 4; ++j) m[r][j] -= q * m[i][j];
    }
  const double a = m[0][3] / m[0][0], b = m[1][3] / m[1][1], c = m[2][3] / m[2][2];
  double reste = 0;
  for (const auto &x : e) {
    const double d = x[size_t(voie)] - (a * std::sin(w * x[0]) + b * std::cos(w * x[0]) + c);
    reste += d * d;
  }
  return {std::hypot(a, b), std::atan2(b, a), std::sqrt(reste / double(e.size()))};
}

}  // namespace

// "Config. auto", then one frame on what it chose: the demo's 1 V sine at 1 kHz on
// channel 1, the RC low-pass's 0.707 V behind it on channel 2, a sample per line.
TEST_F(EnLigne, UneTrameApresLeReglageAutomatique) {
  Acquiert();
  ASSERT_TRUE(Fini());
  ASSERT_EQ(issue->statut, 0) << issue->message.toStdString();
  EXPECT_EQ(lignes[0], AcquisitionEnLigne::EnTete());
  const auto e = Echantillons(lignes);
  ASSERT_EQ(int(e.size()), b->Temps().NbPoints);
  ASSERT_GE(e.size(), 480u);
  const double pas = e[1][0] - e[0][0];
  for (size_t k = 1; k < e.size(); ++k)
    ASSERT_NEAR(e[k][0] - e[k - 1][0], pas, 1e-7 * e.back()[0]) << k;  // 8 digits
  // the time base chosen: from 500 µs to 2 ms as the sine's phase falls (the frames that
  // choose it run free), from the frame's start
  EXPECT_EQ(e.front()[0], 0);
  EXPECT_GE(e.back()[0], 0.49e-3);
  EXPECT_LE(e.back()[0], 2e-3);
  // each channel the 1 kHz sine it carries, whatever its phase, on the calibre chosen
  // (±2 V, codes of 16 mV) within its noise; the offset is not corrected here
  const SinusAjuste v1 = AjusteSinus(e, 1, 1000), v2 = AjusteSinus(e, 2, 1000);
  EXPECT_NEAR(v1.amplitude, 1, 0.02);
  EXPECT_NEAR(v2.amplitude, std::sqrt(0.5), 0.02);
  EXPECT_LT(v1.ecart, 0.02);
  EXPECT_LT(v2.ecart, 0.02);
  // the trigger chosen: the frame starts where the trigger's channel rises through its
  // level (within the uncorrected offset)
  const int c = b->Temps().VoieSeuil;
  ASSERT_TRUE(c == 1 || c == 2);
  const TCourbeOsc &voie = b->Temps().Voie(c);
  const double niveau = voie.Mini + b->Temps().NiveauSeuil * (voie.Maxi - voie.Mini) / 255;
  EXPECT_NEAR(e[0][size_t(c)], niveau, 0.1);
  EXPECT_GT(std::cos((c == 1 ? v1 : v2).phase), 0.1);
}

// A time base given: its points, at its sampling period.
TEST_F(EnLigne, UneTrameSurLaBaseDeTempsDemandee) {
  Acquiert(3);  // 100 µs at 48 MHz: 4800 points
  ASSERT_TRUE(Fini());
  ASSERT_EQ(issue->statut, 0) << issue->message.toStdString();
  const auto e = Echantillons(lignes);
  ASSERT_EQ(e.size(), 4800u);
  EXPECT_NEAR((e.back()[0] - e.front()[0]) / 4799, 1 / 48e6, 1e-15);
}

TEST_F(EnLigne, SansOscilloscopeRienQueLEnTete) {
  QuilinkSimulation("sans-oscillo");
  Acquiert();
  ASSERT_TRUE(Fini());
  EXPECT_EQ(issue->statut, 1);
  EXPECT_EQ(issue->message, QStringLiteral("oscilloscope non détecté"));
  EXPECT_EQ(lignes, QStringList{AcquisitionEnLigne::EnTete()});
}

TEST_F(EnLigne, UneInterruptionPendantLeReglageNEcritAucuneTrame) {
  Acquiert();
  b->Interromps();
  ASSERT_TRUE(issue.has_value());
  EXPECT_EQ(issue->statut, 1);
  b->Interromps();  // once only
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(lignes, QStringList{AcquisitionEnLigne::EnTete()});
}

// The picture: the graph at the size asked, the channels in their colours; a file
// that cannot be written says so.
TEST_F(EnLigne, LesImagesDesDeuxCommandes) {
  QTemporaryDir d;
  const auto pixels = [](const QImage &image, uint32_t couleur) {
    const QRgb qt = CouleurQt(couleur).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qt;
    return n;
  };
  Acquiert(7);
  ASSERT_TRUE(Fini());
  ASSERT_EQ(issue->statut, 0);
  const QString temps = d.filePath(QStringLiteral("temps.png"));
  ASSERT_EQ(b->EnregistreImage(temps, QSize(640, 400)), QString());
  const QImage image(temps);
  ASSERT_EQ(image.size(), QSize(640, 400));
  for (int c : {1, 2})
    EXPECT_GT(pixels(image, b->Temps().Voie(c).Couleur), 300) << c;  // 2 ms: 2 periods across
  EXPECT_TRUE(b->EnregistreImage(d.filePath(QStringLiteral("absent/t.png")), QSize(640, 400))
                  .contains(QStringLiteral("impossible d'écrire")));

  issue.reset();
  lignes.clear();
  Lance({100, 1000, 4, false, 100});
  ASSERT_TRUE(Fini());
  ASSERT_EQ(issue->statut, 0);
  const QString diagramme = d.filePath(QStringLiteral("diagramme.png"));
  ASSERT_EQ(b->EnregistreImage(diagramme, QSize(300, 200)), QString());
  const QImage image2(diagramme);
  ASSERT_EQ(image2.size(), QSize(300, 200));
  EXPECT_GT(pixels(image2, b->Diagramme().Courbes[1].Couleur), 4 * 9);  // four markers
}
