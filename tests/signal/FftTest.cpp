#include "Fft.h"
#include "Noyau.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <tuple>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

using Tableau = std::array<double, Fft::NbCases>;
using Complexe = std::complex<double>;
constexpr int N = Fft::N;
constexpr double Pi = std::numbers::pi;

// The spectrum by the book: window, direct DFT, bins x 2/N (bin 0 x 1/N), x 8192/count,
// flat top on a copy of the bins with alternating signs and the outside terms left out.
std::vector<Complexe> SpectreDirect(int count, const Tableau &x, uint8_t fenetre) {
  std::vector<double> xw(N, 0.0);
  double e1 = 0, e2 = 0;
  for (int n = 0; n < count; ++n) {
    const double w = fenetre == Fft::Hamming ? 0.54 - 0.46 * std::cos(2 * Pi * n / N) : 1.0;
    xw[n] = w * x[n];
    e1 += x[n] * x[n];
    e2 += xw[n] * xw[n];
  }
  const double correction = e2 > 0 ? std::sqrt(e1 / e2) : 1.0;
  std::vector<Complexe> racines(N), X(Fft::NbRaies);
  for (int m = 0; m < N; ++m) racines[m] = std::polar(1.0, -2 * Pi * m / N);
  for (int k = 0; k < Fft::NbRaies; ++k) {
    Complexe s = 0;
    for (int n = 0; n < count; ++n) s += xw[n] * racines[(int64_t(k) * n) % N];
    X[k] = s * (k == 0 ? 1.0 : 2.0) / double(N) * (double(N) / count) * correction;
  }
  if (fenetre != Fft::ToitPlat) return X;
  std::vector<Complexe> Y(X.size());
  for (int k = 0; k < Fft::NbRaies; ++k) {
    Y[k] = X[k];
    for (int j = 1; j <= 4; ++j) {
      const double c = (j % 2 ? -1 : 1) * Fft::CoefficientsToitPlat[j - 1];
      if (k - j >= 0) Y[k] += c * X[k - j];
      if (k + j < Fft::NbRaies) Y[k] += c * X[k + j];
    }
  }
  return Y;
}

struct Resultat {
  Tableau re{}, im{}, amplitudes{};
};

Resultat Spectre(int count, const Tableau &x, uint8_t fenetre) {
  Resultat r;
  Fft::Spectrum(count, x, r.re, r.im, fenetre);
  Fft::Amplitudes(r.amplitudes, r.re, r.im);
  return r;
}

Tableau Sinus(double raie, double amplitude, int count, double decalage = 0, double phase = 0) {
  Tableau x{};
  for (int n = 0; n < count; ++n)
    x[n] = decalage + amplitude * std::sin(2 * Pi * raie * n / N + phase);
  return x;
}

// Every kernel this processor can run, the one Spectrum picked last so it stays active.
std::vector<const Fft::Noyau *> Noyaux() {
  std::vector<const Fft::Noyau *> noyaux(Fft::Noyaux().begin(), Fft::Noyaux().end());
  std::reverse(noyaux.begin(), noyaux.end());
  return noyaux;
}

TEST(Spectrum, EgaleLaTransformeeDirecteSurUnSignalAleatoire) {
  std::mt19937 alea(12345);
  std::uniform_real_distribution<double> u(-3.0, 5.0);
  struct Cas { uint8_t fenetre; int count; } cas[] = {
      {Fft::Rectangle, 8192}, {Fft::Hamming, 8192}, {Fft::ToitPlat, 8192},
      {Fft::Rectangle, 5001}, {Fft::Hamming, 1},    {Fft::ToitPlat, 4096},
      // a full frame is read where it lies, a shorter one through a zero-padded copy
      {Fft::Hamming, 6001},   {Fft::ToitPlat, 8191}, {Fft::Rectangle, 2}};
  for (auto [fenetre, count] : cas) {
    Tableau x;
    for (double &v : x) v = u(alea);  // slots from count on hold stale values: ignored
    const std::vector<Complexe> attendu = SpectreDirect(count, x, fenetre);
    for (const Fft::Noyau *noyau : Noyaux()) {
      SCOPED_TRACE(testing::Message() << Fft::NomsFenetres[fenetre] << ", count " << count
                                      << ", " << noyau->nom);
      Fft::NoyauActif() = noyau;
      const Resultat r = Spectre(count, x, fenetre);
      double maxi = 0, ecart = 0;
      for (int k = 0; k < Fft::NbRaies; ++k) {
        maxi = std::max(maxi, std::abs(attendu[k]));
        ecart = std::max(ecart, std::abs(Complexe(r.re[k], r.im[k]) - attendu[k]));
        EXPECT_NEAR(r.amplitudes[k], std::abs(Complexe(r.re[k], r.im[k])), 1e-12);
      }
      EXPECT_LT(ecart, 1e-9 * maxi);
      EXPECT_DOUBLE_EQ(Fft::DerniersFacteurs().FacteurAmplitude, 8192.0 / count);
    }
  }
}

TEST(Spectrum, UnSinusSurUneRaieLitSonAmplitude) {
  // The Hamming window reads 0.54 and 0.23 of the amplitude, then its energy correction
  // 1 / sqrt(mean of w^2) = 1 / sqrt(0.54^2 + 0.46^2 / 2) applies.
  const double h = 1 / std::sqrt(0.54 * 0.54 + 0.46 * 0.46 / 2);
  struct Cas {
    uint8_t fenetre;
    int count;
    double raies[5];  // bins 98..102
  } cas[] = {
      {Fft::Rectangle, 8192, {0, 0, 1, 0, 0}},
      {Fft::Rectangle, 4096, {0, -1, 1, -1, 0}},  // zero-padded: odd bins are not checked
      {Fft::Hamming, 8192, {0, 0.23 * h, 0.54 * h, 0.23 * h, 0}},
      {Fft::ToitPlat, 8192, {0.597986, 0.934516, 1, 0.934516, 0.597986}},
  };
  for (const Cas &c : cas) {
    SCOPED_TRACE(testing::Message() << Fft::NomsFenetres[c.fenetre] << ", count " << c.count);
    const Tableau x = Sinus(100, 1.0, c.count, 0, 0.3);
    const Resultat r = Spectre(c.count, x, c.fenetre);
    for (int k = 98; k <= 102; ++k) {
      if (c.raies[k - 98] >= 0) {
        EXPECT_NEAR(r.amplitudes[k], c.raies[k - 98], 1e-5) << k;
      }
    }
    for (int k : {0, 2, 50, 90, 110, 4094}) EXPECT_LT(r.amplitudes[k], 1e-3) << k;
  }
}

TEST(Spectrum, UnSinusEntreDeuxRaiesCulmineAuBonEndroitAvecLeToitPlat) {
  const Tableau x = Sinus(100.5, 1.0, N);
  const Resultat flat = Spectre(N, x, Fft::ToitPlat);
  const Resultat rect = Spectre(N, x, Fft::Rectangle);
  const auto pic = std::max_element(flat.amplitudes.begin(), flat.amplitudes.begin() + 4096);
  const int raie = int(pic - flat.amplitudes.begin());
  EXPECT_TRUE(raie == 100 || raie == 101) << raie;
  EXPECT_NEAR(*pic, 1.0, 0.015);  // the flat top's whole point: little scalloping loss
  // and it leaks far less than the rectangle a few bins away
  for (int k : {90, 95, 106, 111, 200}) {
    EXPECT_LT(flat.amplitudes[k], 1e-3) << k;
    EXPECT_LT(flat.amplitudes[k], rect.amplitudes[k] / 10) << k;
  }
}

TEST(Spectrum, LaRaieZeroLitLaMoyenne) {
  struct Cas { uint8_t fenetre; int count; double decalage, amplitude; } cas[] = {
      {Fft::Rectangle, 8192, 2.5, 0}, {Fft::Rectangle, 3000, 2.5, 0},
      {Fft::Rectangle, 8192, -1.25, 2}, {Fft::ToitPlat, 8192, 1.0, 2},
      {Fft::Hamming, 8192, 0.0, 2}};
  for (auto [fenetre, count, decalage, amplitude] : cas) {
    SCOPED_TRACE(testing::Message() << Fft::NomsFenetres[fenetre] << ", count " << count
                                    << ", offset " << decalage);
    const Resultat r = Spectre(count, Sinus(128, amplitude, count, decalage), fenetre);
    EXPECT_NEAR(r.re[0], decalage, 1e-9);
    EXPECT_NEAR(r.im[0], 0.0, 1e-9);
    if (fenetre == Fft::Rectangle && amplitude == 0 && count == N) {
      for (int k = 1; k < Fft::NbRaies; ++k) ASSERT_LT(r.amplitudes[k], 1e-9) << k;
    }
  }
}

TEST(Spectrum, HammingSurUneVoieNulleDonneDesZerosSansNaN) {
  const Tableau zero{};
  const Resultat r = Spectre(N, zero, Fft::Hamming);
  EXPECT_EQ(Fft::DerniersFacteurs().CorrectionFenetre, 1.0);
  for (int k = 0; k < Fft::NbRaies; ++k) ASSERT_EQ(r.amplitudes[k], 0.0) << k;
}

TEST(Spectrum, LaVoieGardeSesEchantillons) {
  const Tableau x = Sinus(37, 1.5, N, 0.2);
  for (uint8_t fenetre : {Fft::Rectangle, Fft::Hamming, Fft::ToitPlat}) {
    Tableau copie = x;
    Spectre(N, copie, fenetre);
    EXPECT_EQ(copie, x) << Fft::NomsFenetres[fenetre];
  }
}

TEST(Spectrum, CountZeroCopieLesEchantillons) {
  const Tableau x = Sinus(3, 1.0, N, 0.5);
  Resultat r;
  r.im.fill(7);
  Fft::Spectrum(0, x, r.re, r.im, Fft::Hamming);
  EXPECT_EQ(r.re, x);
  EXPECT_TRUE(std::all_of(r.im.begin(), r.im.end(), [](double v) { return v == 0; }));
}

TEST(Spectrum, RefuseUnCountHorsDe0A8192) {
  const Tableau x{};
  Tableau re, im;
  EXPECT_THROW(Fft::Spectrum(-1, x, re, im, Fft::Rectangle), std::out_of_range);
  EXPECT_THROW(Fft::Spectrum(8193, x, re, im, Fft::Rectangle), std::out_of_range);
}

}  // namespace

TEST(Noyaux, LePlusRapideQueLeProcesseurOffreEstActifEtLeGeneriqueToujoursLa) {
  const auto noyaux = Fft::Noyaux();
  ASSERT_FALSE(noyaux.empty());
  EXPECT_EQ(noyaux.back(), &Fft::base::noyau);
  EXPECT_EQ(Fft::NoyauActif(), noyaux.front());
#if defined(__x86_64__)
  // each instruction set the processor has brings its kernel, the widest first
  std::vector<std::string> attendus;
  const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  if (avx2 && __builtin_cpu_supports("avx512f")) attendus.push_back("avx512");
  if (avx2) attendus.push_back("avx2");
  attendus.push_back("base");
  std::vector<std::string> noms;
  for (const Fft::Noyau *n : noyaux) noms.push_back(n->nom);
  EXPECT_EQ(noms, attendus);
#endif
}

TEST(Spectrum, LesRaiesNeDependentPasDeLaPlaceDesTableaux) {
  // the kernels write aligned blocks whatever the arrays' first place: every place of the
  // bins and of the frame gives the very same bits
  std::mt19937 alea(99);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> memoire(4 * (Fft::NbCases + 16));
  double *const zones[] = {memoire.data(), memoire.data() + (Fft::NbCases + 16),
                           memoire.data() + 2 * (Fft::NbCases + 16),
                           memoire.data() + 3 * (Fft::NbCases + 16)};
  for (const Fft::Noyau *noyau : Noyaux()) {
    Fft::NoyauActif() = noyau;
    for (uint8_t fenetre : {Fft::Rectangle, Fft::Hamming, Fft::ToitPlat}) {
      std::vector<double> attenduRe, attenduIm, attenduA;
      for (int d = 0; d < 8; ++d) {
        SCOPED_TRACE(testing::Message() << noyau->nom << ", " << Fft::NomsFenetres[fenetre]
                                        << ", offset " << d);
        std::span<double, Fft::NbCases> x(zones[0] + (7 - d), Fft::NbCases);
        std::span<double, Fft::NbCases> re(zones[1] + d, Fft::NbCases);
        std::span<double, Fft::NbCases> im(zones[2] + (d * 3) % 8, Fft::NbCases);
        std::span<double, Fft::NbCases> a(zones[3] + (d * 5) % 8, Fft::NbCases);
        alea.seed(99);
        for (double &v : x) v = u(alea);
        Fft::Spectrum(Fft::N, x, re, im, fenetre);
        Fft::Amplitudes(a, re, im);
        const std::vector<double> r(re.begin(), re.begin() + Fft::NbRaies);
        const std::vector<double> i(im.begin(), im.begin() + Fft::NbRaies);
        const std::vector<double> m(a.begin(), a.begin() + Fft::NbRaies);
        if (d == 0) {
          attenduRe = r, attenduIm = i, attenduA = m;
          continue;
        }
        EXPECT_EQ(r, attenduRe);
        EXPECT_EQ(i, attenduIm);
        EXPECT_EQ(m, attenduA);
      }
    }
  }
}

// The amplitudes' square root is built from the processor's estimate on the vector
// kernels: within an ulp or two of the exact modulus over the whole range of doubles, and
// the divider's own result where the estimate cannot serve (0, subnormals, the
// infinities, NaN, values past 2^+-60), whatever lies in the neighbouring lanes.
TEST(Amplitudes, AUnUlpPresDuModuleExactSurToutesLesGrandeurs) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double sub = std::numeric_limits<double>::denorm_min();
  // (re, im) pairs put at every lane of a run of eight, among ordinary bins
  const std::pair<double, double> particuliers[] = {
      {0, 0},         {-0.0, 0},     {sub, 0},        {0, -3 * sub},  {1e-160, 1e-160},
      {0x1p-60, 0},   {0x1.fp-61, 0}, {0x1p60, 0},    {0x1.1p60, 1},  {1e150, -1e150},
      {inf, 1},       {1, -inf},     {nan, 1},        {3, 4},         {-1e-5, 2e-5}};
  std::mt19937 alea(4);
  std::uniform_real_distribution<double> u(-1.0, 1.0), exposant(-40.0, 40.0);
  auto ordinaire = [&] { return u(alea) * std::pow(10.0, exposant(alea)); };
  Tableau re, im, a;
  for (int k = 0; k < Fft::NbCases; ++k) re[k] = ordinaire(), im[k] = ordinaire();
  for (int p = 0; p < int(std::size(particuliers)); ++p)
    for (int l = 0; l < 8; ++l) std::tie(re[64 * p + 9 * l], im[64 * p + 9 * l]) = particuliers[p];
  for (const Fft::Noyau *noyau : Noyaux()) {
    SCOPED_TRACE(noyau->nom);
    Fft::NoyauActif() = noyau;
    a.fill(-1);
    Fft::Amplitudes(a, re, im);
    for (int k = 0; k < Fft::NbRaies; ++k) {
      const long double exact = std::hypot((long double)re[k], (long double)im[k]);
      const double attendu = double(exact);
      if (std::isnan(attendu) || std::isinf(attendu)) {
        EXPECT_EQ(std::isnan(a[k]), std::isnan(attendu)) << k;
        EXPECT_TRUE(std::isnan(attendu) || a[k] == attendu) << k;
        continue;
      }
      // two ulps; where the square falls below the normal doubles it keeps fewer digits, down
      // to none (the root of the smallest subnormal is 2^-537)
      const double carre = re[k] * re[k] + im[k] * im[k];
      const double ulp = std::nextafter(attendu, inf) - attendu;
      const double tolerance = carre < 0x1p-1000 ? 1e-3 * attendu + 0x1p-537 : 2 * ulp;
      EXPECT_LE(std::abs(a[k] - attendu), tolerance) << k << ": " << re[k] << ", " << im[k];
    }
    EXPECT_EQ(a[Fft::NbRaies], -1);  // slots past the bins are left alone
  }
}
