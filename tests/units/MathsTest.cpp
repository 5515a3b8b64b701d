#include <gtest/gtest.h>
#include "Maths.h"
TEST(PuissanceReel, Base) { EXPECT_EQ(PuissanceReel(2, 10), 1024); }
