#pragma once
#include "payload/PayloadData.h"

// The programs carried packed. The build packs each from its executable into a generated source that
// describes it under a C name (cmake/Payload.cmake); a program links only the ones it carries.
extern "C" const PayloadData twinsift_payload_EB_Twinsift_exe;
extern "C" const PayloadData twinsift_payload_EB_Uninstall_exe;
extern "C" const PayloadData twinsift_payload_EB_NVUninstall_exe;

// The utility, Twinsift.Exe, carried by the setup program.
namespace EB_Twinsift_exe {
inline const PayloadData& Payload() { return twinsift_payload_EB_Twinsift_exe; }
}  // namespace EB_Twinsift_exe

// The uninstaller, Uninstall.Exe, carried by the setup program.
namespace EB_Uninstall_exe {
inline const PayloadData& Payload() { return twinsift_payload_EB_Uninstall_exe; }
}  // namespace EB_Uninstall_exe

// The remover, NVUninstall.Exe, carried by the uninstaller.
namespace EB_NVUninstall_exe {
inline const PayloadData& Payload() { return twinsift_payload_EB_NVUninstall_exe; }
}  // namespace EB_NVUninstall_exe
