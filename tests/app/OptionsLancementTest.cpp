#include <gtest/gtest.h>

#include "OptionsLancement.h"

TEST(LitOptions, LesOptionsDeLaFenetre) {
  struct Cas {
    QStringList args;
    OptionsLancement::Action action;
    bool simulation;
    QString preset;
  } cas[] = {
      {{"zelm"}, OptionsLancement::Lance, false, ""},
      {{"zelm", "--simulate"}, OptionsLancement::Lance, true, "demo"},
      {{"zelm", "--simulate=sans-oscillo"}, OptionsLancement::Lance, true, "sans-oscillo"},
      {{"zelm", "--simulate="}, OptionsLancement::Lance, true, "demo"},
      {{"zelm", "--help"}, OptionsLancement::Aide, false, ""},
      {{"zelm", "--simulate", "--version"}, OptionsLancement::Version, true, "demo"},
      {{"zelm", "--simulat"}, OptionsLancement::Erreur, false, ""},
      {{"zelm", "-h"}, OptionsLancement::Erreur, false, ""},
      {{"zelm", "fichier.zlm"}, OptionsLancement::Erreur, false, ""},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const auto o = LitOptions(c.args);
    EXPECT_EQ(o.action, c.action);
    EXPECT_EQ(o.simulation, c.simulation);
    EXPECT_EQ(o.preset, c.preset);
    EXPECT_EQ(o.message.isEmpty(), c.action == OptionsLancement::Lance);
  }
}

TEST(LitOptions, LeBalayageSansFenetre) {
  struct Cas {
    QStringList args;
    OptionsLancement::Action action;
    BalayageDemande attendu;
    const char *faute;  // in the message of an error
  } cas[] = {
      {{"zelm", "--simulate", "--sweep", "100:10000:64"},
       OptionsLancement::Balaye, {100, 10000, 64, false, 500}, ""},
      {{"zelm", "--sweep=0.5:2e3:2", "--log", "--delay", "1", "--output", "r.txt"},
       OptionsLancement::Balaye, {0.5, 2000, 2, true, 1}, ""},
      {{"zelm", "--sweep", "10:20:8192", "--delay=60000", "--output=a b.txt"},
       OptionsLancement::Balaye, {10, 20, 8192, false, 60000}, ""},
      {{"zelm", "--sweep", "1000:100:16"}, OptionsLancement::Erreur, {}, "inférieure à FMAX"},
      {{"zelm", "--sweep", "100:100:16"}, OptionsLancement::Erreur, {}, "inférieure à FMAX"},
      {{"zelm", "--sweep", "0:100:16"}, OptionsLancement::Erreur, {}, "positives"},
      {{"zelm", "--sweep", "1,5:100:16"}, OptionsLancement::Erreur, {}, "positives"},
      {{"zelm", "--sweep", "100:inf:16"}, OptionsLancement::Erreur, {}, "positives"},
      {{"zelm", "--sweep", "100:1000:1"}, OptionsLancement::Erreur, {}, "2 à 8192"},
      {{"zelm", "--sweep", "100:1000:8193"}, OptionsLancement::Erreur, {}, "2 à 8192"},
      {{"zelm", "--sweep", "100:1000"}, OptionsLancement::Erreur, {}, "FMIN:FMAX:POINTS"},
      {{"zelm", "--sweep"}, OptionsLancement::Erreur, {}, "FMIN:FMAX:POINTS"},
      {{"zelm", "--sweep", "100:1000:16", "--delay", "0"}, OptionsLancement::Erreur, {}, "1 à 60000"},
      {{"zelm", "--sweep", "100:1000:16", "--delay", "60001"}, OptionsLancement::Erreur, {}, "1 à 60000"},
      {{"zelm", "--sweep", "100:1000:16", "--output"}, OptionsLancement::Erreur, {}, "nom de fichier"},
      {{"zelm", "--log"}, OptionsLancement::Erreur, {}, "vont avec --sweep"},
      {{"zelm", "--delay", "5"}, OptionsLancement::Erreur, {}, "vont avec --sweep"},
      {{"zelm", "--acquire", "--log"}, OptionsLancement::Erreur, {}, "vont avec --sweep"},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const auto o = LitOptions(c.args);
    EXPECT_EQ(o.action, c.action) << o.message.toStdString();
    EXPECT_TRUE(o.message.contains(QString::fromUtf8(c.faute))) << o.message.toStdString();
    if (c.action != OptionsLancement::Balaye) continue;
    EXPECT_EQ(o.balayage.fmin, c.attendu.fmin);
    EXPECT_EQ(o.balayage.fmax, c.attendu.fmax);
    EXPECT_EQ(o.balayage.points, c.attendu.points);
    EXPECT_EQ(o.balayage.logarithmique, c.attendu.logarithmique);
    EXPECT_EQ(o.balayage.delaiMs, c.attendu.delaiMs);
  }
}

// --acquire, and what both commands write.
TEST(LitOptions, LAcquisitionEtLesSorties) {
  struct Cas {
    QStringList args;
    OptionsLancement::Action action;
    int base;
    SortiesDemandees sorties;
    const char *faute;  // in the message of an error
  } cas[] = {
      {{"zelm", "--simulate", "--acquire"}, OptionsLancement::Acquiert, -1, {}, ""},
      {{"zelm", "--acquire", "--timebase", "0"}, OptionsLancement::Acquiert, 0, {}, ""},
      {{"zelm", "--acquire", "--timebase=17", "--timebase", "auto"},
       OptionsLancement::Acquiert, -1, {}, ""},
      {{"zelm", "--acquire", "--output", "t.txt", "--picture", "t.PNG", "--size", "200x8192"},
       OptionsLancement::Acquiert, -1, {"t.txt", "t.PNG", {200, 8192}}, ""},
      {{"zelm", "--sweep", "100:1000:16", "--output=a b.txt", "--picture=d.png"},
       OptionsLancement::Balaye, -1, {"a b.txt", "d.png", {1280, 800}}, ""},
      {{"zelm", "--acquire", "--timebase", "18"}, OptionsLancement::Erreur, -1, {}, "de 0 à 17"},
      {{"zelm", "--acquire", "--timebase", "-1"}, OptionsLancement::Erreur, -1, {}, "de 0 à 17"},
      {{"zelm", "--acquire", "--timebase", "Auto"}, OptionsLancement::Erreur, -1, {}, "de 0 à 17"},
      {{"zelm", "--acquire", "--timebase"}, OptionsLancement::Erreur, -1, {}, "de 0 à 17"},
      {{"zelm", "--timebase", "3"}, OptionsLancement::Erreur, -1, {}, "va avec --acquire"},
      {{"zelm", "--sweep", "100:1000:16", "--timebase", "3"},
       OptionsLancement::Erreur, -1, {}, "va avec --acquire"},
      {{"zelm", "--acquire", "--sweep", "100:1000:16"}, OptionsLancement::Erreur, -1, {}, "pas les deux"},
      {{"zelm", "--output", "r.txt"}, OptionsLancement::Erreur, -1, {}, "avec --sweep ou --acquire"},
      {{"zelm", "--picture", "r.png"}, OptionsLancement::Erreur, -1, {}, "avec --sweep ou --acquire"},
      {{"zelm", "--acquire", "--picture", "r.jpg"}, OptionsLancement::Erreur, -1, {}, "en .png"},
      {{"zelm", "--acquire", "--picture", ".png"}, OptionsLancement::Erreur, -1, {}, "en .png"},
      {{"zelm", "--acquire", "--picture=a.png", "--size", "199x800"},
       OptionsLancement::Erreur, -1, {}, "200 à 8192"},
      {{"zelm", "--acquire", "--picture=a.png", "--size", "800x8193"},
       OptionsLancement::Erreur, -1, {}, "200 à 8192"},
      {{"zelm", "--acquire", "--picture=a.png", "--size", "800*600"},
       OptionsLancement::Erreur, -1, {}, "200 à 8192"},
      {{"zelm", "--acquire", "--size", "800x600"}, OptionsLancement::Erreur, -1, {}, "avec --picture"},
  };
  for (const auto &c : cas) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const auto o = LitOptions(c.args);
    EXPECT_EQ(o.action, c.action) << o.message.toStdString();
    EXPECT_TRUE(o.message.contains(QString::fromUtf8(c.faute))) << o.message.toStdString();
    if (c.action == OptionsLancement::Erreur) continue;
    EXPECT_EQ(o.baseDeTemps, c.base);
    EXPECT_EQ(o.sorties.texte, c.sorties.texte);
    EXPECT_EQ(o.sorties.image, c.sorties.image);
    EXPECT_EQ(o.sorties.taille, c.sorties.taille);
  }
}
