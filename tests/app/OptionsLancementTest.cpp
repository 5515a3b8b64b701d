#include <gtest/gtest.h>

#include "OptionsLancement.h"

TEST(LitOptions, LesTroisOptionsEtRienDAutre) {
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
