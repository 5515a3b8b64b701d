#include "Lectures.h"

#include <QStringList>

#include "Courbe.h"
#include "Texte8.h"
#include "ZelmUtil.h"

namespace {
constexpr std::array<GrandeurMesure, 4> Grandeurs{GrandeurFrequence, GrandeurCreteACrete,
                                                   GrandeurEfficace, GrandeurMoyenne};
}  // namespace

std::array<double, 4> LecturesVoie(const TCourbeOsc &voie1, const TCourbeOsc &voie2, int voie,
                                   double periodeEchantillonnage) {
  std::array<double, 4> v{};
  // one curve for the four (each holds a whole series): only its quantity changes
  TCourbeMesure m("", 0, "");
  m.VoieMesure = m.VoieReference = uint8_t(voie);
  for (size_t i = 0; i < Grandeurs.size(); ++i) {
    m.SetGrandeur(Grandeurs[i]);
    m.CalculMesure(voie1, voie2, periodeEchantillonnage);
    v[i] = m.Valeur;
  }
  return v;
}

QString TexteLectures(const std::array<double, 4> &valeurs) {
  static const std::array<const char *, 4> noms{"f", "Vcc", "Veff", "Vmoy"};
  static const std::array<const char *, 4> unites{"Hz", "V", "V", "V"};
  QStringList morceaux;
  for (size_t i = 0; i < valeurs.size(); ++i) {
    Tunite u;
    u.SetNomUnite(unites[i]);
    const QString texte = EstIndefinie(valeurs[i]) ? QString() : VersQt(u.ValeurAvecUnite(valeurs[i]).vue());
    morceaux << QStringLiteral("%1 = %2").arg(QLatin1String(noms[i]),
                                               texte.isEmpty() ? QStringLiteral("—") : texte);
  }
  return morceaux.join(QStringLiteral("   "));
}
