#pragma once
#include <gtest/gtest.h>

#include "BancVirtuel.h"
#include "HorlogeDuBanc.h"
#include "OscilloVirtuel.h"
#include "Quilink.h"

// A test on a bench preset ("demo" unless told), on virtual time.
class SurLeBanc : public testing::Test {
 protected:
  explicit SurLeBanc(const char *preset = "demo") : preset_(preset) {}
  void SetUp() override {
    ASSERT_EQ(QuilinkSimulation(preset_), 1);
    Banc().Horloge().PasseEnVirtuel();
    DefinitHorloge(&horloge_);
  }
  void TearDown() override {
    DefinitHorloge(nullptr);
    Banc().Horloge().PasseEnReel();
  }
  OscilloVirtuel &Virtuel() { return *Banc().Oscillo(); }

 private:
  const char *preset_;
  HorlogeDuBanc horloge_;
};
