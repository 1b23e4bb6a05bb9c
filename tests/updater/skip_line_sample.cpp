// Prints GoogleTest's own report of one test, "Suite.Name" (argv[1]), that
// skips ("skip") or passes ("pass", argv[2]): a CTest entry's skip pattern is
// held against the lines this GoogleTest really prints, not a copy of them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class Sample : public ::testing::Test {
 public:
  explicit Sample(bool skips) : skips_(skips) {}
  void TestBody() override {
    if (skips_) GTEST_SKIP() << "a sample skip";
  }

 private:
  bool skips_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string name = argc == 3 ? argv[1] : "";
  const std::string outcome = argc == 3 ? argv[2] : "";
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos || (outcome != "skip" && outcome != "pass")) {
    std::fprintf(stderr, "usage: skip_line_sample <Suite.Name> skip|pass\n");
    return 2;
  }
  const std::string suite = name.substr(0, dot), test = name.substr(dot + 1);
  const bool skips = outcome == "skip";
  ::testing::RegisterTest(suite.c_str(), test.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                          [skips]() -> ::testing::Test* { return new Sample(skips); });
  return RUN_ALL_TESTS();
}
