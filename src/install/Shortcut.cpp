#include "install/Shortcut.h"
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <utility>
#include <vector>
#include "gui/core/Error.h"

namespace {

// One COM interface reference, released with its owner.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  void** out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

std::wstring FromAnsi(const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return L"";
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length) - 1);
  return wide;
}

}  // namespace

std::string OleErrorText(long result) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : "";
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  if (!text.empty()) return text;
  // "OLE error" and the code as eight hex digits, formatted by hand: printf would bring its whole engine.
  std::string code = "OLE error ";
  const auto value = static_cast<unsigned long>(result);
  for (int shift = 28; shift >= 0; shift -= 4) code += "0123456789abcdef"[(value >> shift) & 0xF];
  return code;
}

void CreateShortcut(const std::string& target, const std::string& linkFile, const std::string& description,
                    const std::string& arguments, int iconIndex) {
  ComRef<IUnknown> object;
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     IID_IUnknown, object.out());
  if (FAILED(created)) throw gui::Error(OleErrorText(created));
  ComRef<IShellLinkA> link;
  ComRef<IPersistFile> file;
  if (FAILED(object->QueryInterface(IID_IShellLinkA, link.out())) || !link.get() ||
      FAILED(object->QueryInterface(IID_IPersistFile, file.out())) || !file.get())
    throw gui::Error("Interface not supported");
  // std::string::c_str() of an empty string is a pointer to a zero, never null.
  link->SetArguments(arguments.c_str());
  link->SetDescription(description.c_str());
  link->SetPath(target.c_str());
  if (iconIndex >= 0) link->SetIconLocation(target.c_str(), iconIndex);
  std::wstring name = FromAnsi(linkFile);
  file->Save(name.c_str(), FALSE);
}
