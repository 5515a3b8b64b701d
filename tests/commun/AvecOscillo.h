#pragma once
#include <memory>

#include "SurLeBanc.h"
#include "TOscillo.h"

// The program's oscilloscope model, connected to the bench's virtual oscilloscope.
class AvecOscillo : public SurLeBanc {
 protected:
  void SetUp() override {
    SurLeBanc::SetUp();
    o = std::make_unique<TOscillo>();
    ASSERT_TRUE(o->EstConnecte());
  }
  void TearDown() override {
    o.reset();
    SurLeBanc::TearDown();
  }
  std::unique_ptr<TOscillo> o;
};
