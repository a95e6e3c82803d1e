#include <gtest/gtest.h>
#include "schfile/sch_document.h"
TEST(Smoke, EmptyDocument) { vesk::SchDocument d; EXPECT_EQ(d.readMemory(""), 0); }
