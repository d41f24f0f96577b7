#include "entry/RealEntry.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ParseReal, Smoke) { EXPECT_EQ(ParseReal(QStringLiteral("12.0")), 12.0); }
