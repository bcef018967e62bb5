#include "payload/ProtectedFolder.h"

#include <windows.h>
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
  return CreateDirectoryW(path.c_str(), &attributes) != 0;
}
