#include <gtest/gtest.h>

#include "core/uUtils.h"

namespace varnik {
namespace {

TEST(Utils, NextTokenSplitsPlainList) {
  std::string s = "A, B ,C";
  EXPECT_EQ(NextToken(s), "A");
  EXPECT_EQ(NextToken(s), "B");
  EXPECT_EQ(NextToken(s), "C");
  EXPECT_EQ(s, "");
}

}  // namespace
}  // namespace varnik
