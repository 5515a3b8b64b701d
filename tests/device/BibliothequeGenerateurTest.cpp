#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Horloge.h"
#include "gbf_USB_dynamique.h"
#include "gtbf_USB_dynamique.h"

namespace fs = std::filesystem;

namespace {

class HorlogeVirtuelle final : public Horloge {
 public:
  void Attendre(int ms) override { us += int64_t{ms} * 1000; }
  int64_t MaintenantUs() const override { return us; }
  int64_t us = 0;
};

// A fresh folder standing for the program's folder, holding `essai` (if any) as `nom`.
class DossierProgrammeEssai : public testing::Test {
 protected:
  void SetUp() override {
    dossier = fs::path(testing::TempDir()) /
              ("zelm-gen-" + std::string(testing::UnitTest::GetInstance()
                                             ->current_test_info()->name()));
    fs::remove_all(dossier);
    fs::create_directories(dossier);
    DefinitHorloge(&horloge);
  }
  void TearDown() override {
    FinaliseGBF_USB();
    FinaliseGTBF_USB();
    DefinitHorloge(nullptr);
    fs::remove_all(dossier);
  }
  void Place(const char *essai, const char *nom) {
    fs::copy_file(essai, dossier / nom);
  }
  bool Chargee(const char *nom) const {
    void *m = dlopen((dossier / nom).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (m) dlclose(m);
    return m != nullptr;
  }
  fs::path dossier;
  HorlogeVirtuelle horloge;
};

TEST_F(DossierProgrammeEssai, SansFichierLaBibliothequeEstAbsente) {
  InitialiseGBF_USB(dossier);
  EXPECT_FALSE(GBF_USBPresent());
  ASSERT_NE(GBF_USB(), nullptr);  // the driver exists all the same, and never opens
  EXPECT_FALSE(GBF_USB()->Ouvre());
  EXPECT_EQ(horloge.us, 0);
}

TEST_F(DossierProgrammeEssai, PresenteSeChargeParSonCheminEtSeLibere) {
  Place(ESSAI_COMPLETE, "libquigenb.so");
  Place(ESSAI_COMPLETE, "libquigena.so");
  InitialiseGBF_USB(dossier);
  InitialiseGTBF_USB(dossier);
  ASSERT_TRUE(GBF_USBPresent());
  ASSERT_TRUE(GTBF_USBPresent());
  EXPECT_TRUE(Chargee("libquigenb.so"));
  EXPECT_TRUE(GBF_USB()->Ouvre());  // answers on the second name, length-prefixed
  EXPECT_EQ(GBF_USB()->Handle, 7);
  EXPECT_TRUE(GTBF_USB()->Ouvre());
  EXPECT_EQ(horloge.us, 200'000);

  FinaliseGBF_USB();  // closes the open driver first
  EXPECT_EQ(horloge.us, 300'000);
  EXPECT_EQ(GBF_USB(), nullptr);
  EXPECT_FALSE(GBF_USBPresent());
  EXPECT_FALSE(Chargee("libquigenb.so"));
  EXPECT_TRUE(Chargee("libquigena.so"));
  FinaliseGTBF_USB();
  EXPECT_FALSE(Chargee("libquigena.so"));
}

TEST_F(DossierProgrammeEssai, PresenteSansGenerateurNOuvreRien) {
  Place(ESSAI_MUETTE, "libquigena.so");
  InitialiseGTBF_USB(dossier);
  ASSERT_TRUE(GTBF_USBPresent());
  EXPECT_FALSE(GTBF_USB()->Ouvre());
  EXPECT_EQ(GTBF_USB()->Handle, 0);
  EXPECT_EQ(horloge.us, 100'000);
}

TEST_F(DossierProgrammeEssai, UneEntreeManquanteCompteAbsente) {
  Place(ESSAI_SANS_OPEN, "libquigenb.so");
  InitialiseGBF_USB(dossier);
  EXPECT_FALSE(GBF_USBPresent());
  EXPECT_FALSE(GBF_USB()->Ouvre());  // no crash: the driver has no entries
  EXPECT_FALSE(Chargee("libquigenb.so"));
}

TEST_F(DossierProgrammeEssai, SansDossierAbsoluPasDeBibliotheque) {
  // the file is right there in the working folder, but a relative path would be
  // looked up by dlopen elsewhere: the program's folder unknown means absent
  Place(ESSAI_COMPLETE, "libquigenb.so");
  const fs::path avant = fs::current_path();
  fs::current_path(dossier);
  for (const char *relatif : {"", "."}) {
    SCOPED_TRACE(relatif);
    InitialiseGBF_USB(relatif);
    EXPECT_FALSE(GBF_USBPresent());
    FinaliseGBF_USB();
  }
  fs::current_path(avant);
}

TEST_F(DossierProgrammeEssai, UnFichierQuiNeSeChargePasCompteAbsent) {
  std::ofstream(dossier / "libquigenb.so") << "not a library";
  InitialiseGBF_USB(dossier);
  EXPECT_FALSE(GBF_USBPresent());
}

TEST(DossierProgramme, EstLeDossierDuProgrammeEnCours) {
  EXPECT_TRUE(fs::exists(fs::path(DossierProgramme()) / "tests_device"));
}

}  // namespace
