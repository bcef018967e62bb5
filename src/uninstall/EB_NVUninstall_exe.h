#pragma once
#include <cstdint>
#include <string>
#include "payload/PayloadData.h"

namespace gui {
class Label;
class ProgressBar;
}  // namespace gui

// Carries the remover, NVUninstall.Exe, packed from its executable when the uninstaller is built.
namespace EB_NVUninstall_exe {

extern const int BlockCount;
extern const std::int64_t StreamLength;
extern const std::int64_t DecompressedLength;
const PayloadData& Payload();

// Writes the program to targetPath; see PayloadExtractor.
void ExtractToFile(const std::string& targetPath, gui::ProgressBar* bar, gui::Label* label);

}  // namespace EB_NVUninstall_exe
