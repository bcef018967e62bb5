#include "uninstall/FRM_Uninstall.h"

#include <windows.h>
#include "gui/core/Application.h"
#include "gui/core/Error.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProgressSink.h"
#include "uninstall/UninstallRecord.h"

std::string RemoverCommand;

namespace {

constexpr DWORD kLargestRecord = 1 << 20;  // a real record holds a few hundred bytes

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

std::string OwnFolder() {
  char path[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  if (length == 0 || length >= sizeof(path)) throw RecordUnreadable();
  std::string own(path, length);
  return own.substr(0, own.find_last_of('\\') + 1);
}

std::string TempFolder() {
  char path[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof(path), path);
  if (length == 0 || length >= sizeof(path)) throw gui::Error("Cannot find the temporary folder");
  std::string folder(path, length);
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

// The remover is unpacked without a bar; the window still answers between the steps.
class MessagesRunOnProgress : public ProgressSink {
 public:
  void Progress(std::int64_t) override { gui::Application::Instance().ProcessMessages(); }
};

}  // namespace

std::string ReadRecordFile(const std::string& path) {
  FileHandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) throw RecordUnreadable();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size) || size.QuadPart > kLargestRecord) throw RecordUnreadable();
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() && (!ReadFile(file.handle, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
                           read != content.size()))
    throw RecordUnreadable();
  return content;
}

TFrmUninstall::TFrmUninstall()
    : Image1(Add<gui::BitmapImage>()),
      LblTitle(Add<gui::Label>("Uninstall")),
      Label3(Add<gui::Label>("Warning")),
      Label1(Add<gui::Label>("and all its installed components will be removed from your system.")),
      Label4(Add<gui::Label>("Before you continue: Make sure the program is not running.")),
      Label2(Add<gui::Label>("Press OK to continue.")),
      btnOK(Add<gui::Button>()),
      btnCancel(Add<gui::Button>()) {
  SetName("FrmUninstall");
  SetCaption("Uninstall");
  SetColor(0xFFFBF0);
  SetClientSize(464, 152);

  Image1.SetName("Image1");
  Image1.SetBounds(8, 8, 33, 49);
  Image1.LoadBitmapResource("UNINSTALL_BMP");
  LblTitle.SetName("LblTitle");
  LblTitle.SetLeft(52);
  LblTitle.SetTop(8);
  LblTitle.GetFont().SetHeight(-19);
  LblTitle.GetFont().SetColor(gui::Color(0x0000FF));
  Label3.SetName("Label3");
  Label3.SetLeft(53);
  Label3.SetTop(44);
  Label3.GetFont().SetBold(true);
  Label1.SetName("Label1");
  Label1.SetLeft(52);
  Label1.SetTop(59);
  Label4.SetName("Label4");
  Label4.SetLeft(53);
  Label4.SetTop(76);
  Label2.SetName("Label2");
  Label2.SetLeft(53);
  Label2.SetTop(93);
  btnOK.SetName("btnOK");
  btnOK.SetBounds(304, 119, 75, 25);
  btnOK.SetCaption("&OK");
  btnOK.OnClick = [this] { btnOKClick(); };
  btnCancel.SetName("btnCancel");
  btnCancel.SetBounds(384, 119, 75, 25);
  btnCancel.SetCaption("&Cancel");
  btnCancel.SetDefault(true);
  btnCancel.SetCancel(true);
  btnCancel.OnClick = [this] { btnCancelClick(); };

  OnCreate = [this] { FormCreate(); };
  DoCreate();
}

void TFrmUninstall::FormCreate() {
  // The folder ends with a backslash and the name starts with one, as the record has always been found.
  uninstall::UninstallRecord record =
      uninstall::ParseUninstallRecord(ReadRecordFile(OwnFolder() + "\\uninstall.dat"));
  ProductName_ = record.productName;
  Items_ = record.items;
  SetCaption("Uninstall " + ProductName_);
  LblTitle.SetCaption(Caption());
  Label1.SetCaption(ProductName_ + " " + Label1.Caption());
}

void TFrmUninstall::FillCreateParams(gui::CreateParams& params) {
  gui::Form::FillCreateParams(params);
  params.style |= WS_SYSMENU;
}

LRESULT TFrmUninstall::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = gui::Form::WndProc(message, wParam, lParam);
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) FormActivate();
  return result;
}

void TFrmUninstall::FormActivate() { btnCancel.SetFocus(); }

void TFrmUninstall::btnCancelClick() { Close(); }

void TFrmUninstall::btnOKClick() {
  int answer = MessageBoxA(HandleIfAllocated(), uninstall::ConfirmationText(ProductName_).c_str(), "Confirm",
                           MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return;
  std::string temp = TempFolder();
  MessagesRunOnProgress messagesRun;
  PayloadExtractor(EB_NVUninstall_exe::Payload(), &messagesRun).ExtractToFile(temp + "NVUninstall.Exe");
  RemoverCommand = uninstall::RemoverCommandLine(temp, uninstall::UninstallRecord{ProductName_, Items_});
  Close();
}
