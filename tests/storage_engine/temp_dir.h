// A fresh directory per test, removed afterwards.
#pragma once

#include "tests/support/temp_dir.h"

namespace zs::testing_support {

class TempDir : public zs::test::ScratchDirectory {
 public:
  TempDir() : ScratchDirectory("storage") {}
};

}  // namespace zs::testing_support
