// A test suite whose tests share one copy of the sample content, written once
// for the suite: writing it costs more than most of the tests.
#pragma once

#include <gtest/gtest.h>

#include "sample/sample_set.h"
#include "temp_dir.h"

class SampleSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    builder::WriteSampleSet(dir_->path());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  // The folder of the sample files.
  inline static TempDir* dir_ = nullptr;
};
