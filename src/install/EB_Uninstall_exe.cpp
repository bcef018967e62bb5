#include "install/EB_Uninstall_exe.h"
#include "payload/PayloadExtractor.h"

extern "C" const PayloadData twinsift_payload_EB_Uninstall_exe;  // in the packed source

namespace EB_Uninstall_exe {

const PayloadData& Payload() { return twinsift_payload_EB_Uninstall_exe; }

void ExtractToFile(const std::string& targetPath, gui::ProgressBar* bar, gui::Label* label) {
  PayloadExtractor(Payload(), bar, label).ExtractToFile(targetPath);
}

}  // namespace EB_Uninstall_exe
