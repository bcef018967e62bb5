// Each shipped program's overhead, its size less the packed programs it carries, stays within its budget.
// The programs grow as they are finished: raise a budget here, in this one table, when a feature is worth it.
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "PayloadPacker.h"

namespace {

struct Budget {
  const char* program;
  std::vector<const char*> carries;  // programs packed inside it
  std::size_t overheadBytes;
};

const Budget kBudgets[] = {
    {"Install_Twinsift.exe", {"Twinsift.exe", "Uninstall.exe"}, 336 * 1024},  // every text through the wide calls; any dpi, check boxes fitted
    {"Uninstall.exe", {"NVUninstall.exe"}, 185 * 1024},  // identity checks, the damaged record told, records in UTF-8; any dpi
    {"NVUninstall.exe", {}, 164 * 1024},  // deletions through its own handles, links known by their items; any dpi
    {"Twinsift.exe", {}, 255 * 1024},  // check boxes fitted at any dpi; the bin's settings read; reference folders, sorting, opening, helpers, a filter, the list saved
};

std::vector<unsigned char> ReadProgram(const std::string& file) {
  std::ifstream in(std::string(TWINSIFT_WINDOWS_BIN) + "/" + file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(SizeBudget, EveryProgramsOverheadStaysWithinItsBudget) {
  for (const Budget& budget : kBudgets) {
    std::vector<unsigned char> program = ReadProgram(budget.program);
    ASSERT_FALSE(program.empty()) << budget.program << " is not built";
    std::size_t packed = 0;
    for (const char* carried : budget.carries) {
      std::vector<unsigned char> inner = ReadProgram(carried);
      ASSERT_FALSE(inner.empty()) << carried << " is not built";
      packed += packer::Pack(inner).stored.size();
    }
    ASSERT_GT(program.size(), packed) << budget.program;
    std::size_t overhead = program.size() - packed;
    EXPECT_LE(overhead, budget.overheadBytes)
        << budget.program << ": " << overhead << " bytes besides its payloads (" << program.size() << " in all)";
  }
}
