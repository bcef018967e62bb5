#pragma once
#include <cstdint>
#include <string>
#include "payload/PayloadData.h"

namespace gui {
class Label;
class ProgressBar;
}  // namespace gui

// Carries the utility, Twinsift.Exe, packed from its executable when the setup program is built.
namespace EB_Twinsift_exe {

extern const int BlockCount;
extern const std::int64_t StreamLength;
extern const std::int64_t DecompressedLength;
const PayloadData& Payload();

// Writes the program to targetPath; see PayloadExtractor.
void ExtractToFile(const std::string& targetPath, gui::ProgressBar* bar, gui::Label* label);

}  // namespace EB_Twinsift_exe
