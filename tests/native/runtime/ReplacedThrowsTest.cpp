// Our programs' standard library throws runtime::LibraryFault where it would throw std::out_of_range and
// its kin (src/runtime/LibraryErrors.cpp). A catch of one of those types by name would then never fire:
// no source of the programs may have one.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

TEST(ReplacedThrows, NoProgramSourceCatchesAReplacedType) {
  const std::regex replaced(
      R"(catch\s*\(\s*(const\s+)?std::(logic_error|domain_error|invalid_argument|length_error|out_of_range|)"
      R"(runtime_error|range_error|overflow_error|underflow_error)\b)");
  int sources = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(TWINSIFT_SOURCES)) {
    auto extension = entry.path().extension();
    if (extension != ".cpp" && extension != ".h") continue;
    ++sources;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    EXPECT_FALSE(std::regex_search(content, replaced)) << entry.path() << " catches a type the programs never throw";
  }
  EXPECT_GT(sources, 20);
}
