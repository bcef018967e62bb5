#include "payload/ProtectedFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace {

// P: the parent's entries are not inherited. OICI: files and folders beneath take the same entries.
constexpr const wchar_t* kProtectedList = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

struct LocalMemory {
  PSECURITY_DESCRIPTOR pointer = nullptr;
  ~LocalMemory() {
    if (pointer) LocalFree(pointer);
  }
};

}  // namespace

bool CreateProtectedDirectory(const std::wstring& path) {
  LocalMemory descriptor;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedList, SDDL_REVISION_1, &descriptor.pointer,
                                                            nullptr))
    return false;
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.pointer, FALSE};
  if (!CreateDirectoryW(path.c_str(), &attributes)) return false;
  // Some systems make the folder with the inherited list whatever the creation asked for (Wine does):
  // the list is set once more on the folder that is now ours.
  BOOL present = FALSE, defaulted = FALSE;
  PACL list = nullptr;
  if (GetSecurityDescriptorDacl(descriptor.pointer, &present, &list, &defaulted) && present)
    SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, list,
                          nullptr);
  return true;
}
