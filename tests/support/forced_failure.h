// Include in exactly one test file per executable whose failure path is
// checked: with ZS_FORCE_FAIL=1 the case fails, otherwise it is skipped.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(ForcedFailure, FailsWhenAsked) {
  const char* f = std::getenv("ZS_FORCE_FAIL");
  if (!f || std::strcmp(f, "1") != 0) GTEST_SKIP() << "only with ZS_FORCE_FAIL=1";
  FAIL() << "failing on purpose: ZS_FORCE_FAIL=1";
}
