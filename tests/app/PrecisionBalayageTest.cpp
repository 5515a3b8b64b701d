#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>

#include "CircuitsMesure.h"
#include "Demarrage.h"
#include "FenetreBanc.h"
#include "PresetsGenerateurs.h"
#include "gbf_usb_comp.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// The frequency the low-frequency generator really plays when asked for f: its clock
// over whole points of a period and a whole divider.
double Jouee(double f) {
  TGBF_USB d;
  d.SetFrequence(f);
  const int32_t diviseur = d.Recharge == 0 ? 1 : 65536 - d.Recharge;
  return HorlogesGBF[d.Horloge] / (double(diviseur) * d.NbPointsPeriode);
}

// The window with the generator libraries really loaded: channel 1 is the low-frequency
// generator, channel 2 the same through the bench's circuit.
class Precision : public FenetreBanc {
 protected:
  explicit Precision(const char *preset = "demo") : FenetreBanc(preset) {}
  void SetUp() override {
    FenetreBanc::SetUp();
    InitialiseModules(documents.path());
    Ouvre(&generateurs);
    f->FormActivate();
    ASSERT_TRUE(Attend([this] { return f->TypeGenerateur() == GenreGenerateur::GBF; }));
    boites.reponses = {true};
    f->ToolButton1Click();  // the zero offsets first, as a user does
    ASSERT_TRUE(Attend([this] { return !f->EnCorrection(); }));
  }
  void TearDown() override {
    f.reset();
    FinaliseModules();
    FenetreBanc::TearDown();
  }
  // Curve 1 the gain of channel 2 over channel 1, curve 2 the phase of channel 2.
  void Balaye(double fmin, double fmax, int points) {
    TgrapheMesure &z = f->GrapheZelm();
    z.Courbes[0].Mini = fmin;
    z.Courbes[0].Maxi = fmax;
    z.NbPointsBalayage = points;
    z.DelaiBalayage = 100;
    for (int i : {1, 2}) {
      TCourbeMesure &c = z.Courbes[size_t(i)];
      c.SetGrandeur(i == 1 ? GrandeurGain : GrandeurPhase);
      c.VoieMesure = 2;
      c.VoieReference = 1;
      c.Active = true;
    }
    C<RadioGroupe>("ModeRG")->SetItemIndex(3);
    f->ActiveGammesAuto(true);
    f->EnregistreBtnClick();
    ASSERT_TRUE(Attend([this] { return !f->Mesure().BalayageEnCours(); }, 120000));
    ASSERT_EQ(z.NbPoints, points) << boites.Textes().join(" / ").toStdString();
  }

  // Every point's gain within 1 % and phase within 1 degree of the circuit's response at
  // the point's measured frequency, which is within 0.2 % of the one the generator plays.
  void SuitLaReponse(double fmin, double fmax, int points,
                     const std::function<std::complex<double>(double)> &reponse) {
    const TgrapheMesure &z = f->GrapheZelm();
    double pireGain = 0, pirePhase = 0, pireFrequence = 0;
    for (int k = 0; k < z.NbPoints; ++k) {
      SCOPED_TRACE(k);
      const double jouee = Jouee(fmin + k * (fmax - fmin) / points);
      const double fm = z.Courbes[0].Valeurs[size_t(k)];
      const std::complex<double> h = reponse(fm);
      const double eg = std::abs(z.Courbes[1].Valeurs[size_t(k)] / std::abs(h) - 1);
      const double ep = std::abs(z.Courbes[2].Valeurs[size_t(k)] - std::arg(h) * 180 / Pi);
      const double ef = std::abs(fm / jouee - 1);
      pireGain = std::max(pireGain, eg);
      pirePhase = std::max(pirePhase, ep);
      pireFrequence = std::max(pireFrequence, ef);
      EXPECT_LT(eg, 0.01) << fm << " Hz";
      EXPECT_LT(ep, 1.0) << fm << " Hz";
      EXPECT_LT(ef, 0.002) << fm << " Hz";
    }
    std::printf("worst gain %.4f %%, phase %.3f deg, frequency %.4f %%\n", pireGain * 100,
                pirePhase, pireFrequence * 100);
  }
  QTemporaryDir documents;
  GenerateursCharges generateurs;
};

class PrecisionPasseBande : public Precision {
 protected:
  PrecisionPasseBande() : Precision("passe-bande") {}
};

}  // namespace

TEST_F(Precision, LePasseBasRCSuitSaReponse) {
  Balaye(100, 10000, 64);
  SuitLaReponse(100, 10000, 64, [](double fm) { return ReponsePasseBasRC(CoupureDemo, fm); });
}

TEST_F(PrecisionPasseBande, TrouveSonSommetA2kHzAUnPasPres) {
  Balaye(1000, 3000, 40);  // steps of 50 Hz
  SuitLaReponse(1000, 3000, 40, [](double fm) {
    return ReponsePasseBande(CentrePasseBande, QualitePasseBande, fm);
  });
  const TgrapheMesure &z = f->GrapheZelm();
  const auto gains = z.Courbes[1].Valeurs.begin();
  const auto sommet = std::max_element(gains, gains + z.NbPoints) - gains;
  EXPECT_NEAR(z.Courbes[0].Valeurs[size_t(sommet)], CentrePasseBande, 50);
}
