#include "uninstall/FRM_Uninstall.h"

#include <windows.h>
#include "gui/core/Application.h"
#include "gui/core/Error.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProgressSink.h"
#include "record/UninstallRecord.h"
#include "record/ValueRules.h"
#include "record/win32/WidePaths.h"
#include "win32/TextCodes.h"
#include "win32/UniqueHandle.h"

namespace {

constexpr DWORD kLargestRecord = 1 << 20;  // a real record holds a few hundred bytes

std::wstring OwnPath() {
  std::wstring path(MAX_PATH * 4, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) throw RecordUnreadable();
  path.resize(length);
  return path;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

// A file that cannot be opened for writing with no sharing is held open: by a running program, say.
// Opening it for deleting alone would succeed even then.
bool HeldOpen(const std::wstring& path) {
  // A folder or a read-only file refuses writing whoever holds it: that says nothing of a running program.
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    return false;
  win32::UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return false;
  DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// No record where one should be, beside the utility our installer puts there first: a run that failed
// before its last step, or a record deleted. Anything else without a record is not ours to remove.
bool MissingBesideUtility(const std::wstring& folder, const std::wstring& recordPath) {
  if (GetFileAttributesW(recordPath.c_str()) != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND)
    return false;
  DWORD utility = GetFileAttributesW((folder + record::Widen(record::kUtilityFile)).c_str());
  return utility != INVALID_FILE_ATTRIBUTES && !(utility & FILE_ATTRIBUTE_DIRECTORY);
}

// The remover is unpacked without a bar; the window still answers between the steps.
class MessagesRunOnProgress : public ProgressSink {
 public:
  void Progress(std::int64_t) override { gui::Application::Instance().ProcessMessages(); }
};

}  // namespace

std::string ReadRecordFile(const std::wstring& path) {
  win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw RecordUnreadable();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestRecord) throw RecordUnreadable();
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() && (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
                           read != content.size()))
    throw RecordUnreadable();
  return content;
}

std::string RecordText(const std::string& content) {
  const std::string_view mark = record::kUtf8Mark;
  if (content.compare(0, mark.size(), mark) == 0) return content.substr(mark.size());
  return win32::Utf8FromAnsi(content);
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
  OwnPath_ = OwnPath();
  const std::wstring folder = FolderOf(OwnPath_);
  // The folder ends with a backslash and the name starts with one, as the record has always been found.
  const std::wstring recordPath = folder + L"\\" + record::Widen(record::kRecordFile);
  const std::string recordName = record::kRecordFile;
  std::string damage;
  if (MissingBesideUtility(folder, recordPath)) {
    damage = "Warning: the uninstall record " + recordName + " is missing.";
  } else {
    record::UninstallRecord content = record::ParseUninstallRecord(RecordText(ReadRecordFile(recordPath)));
    ProductName_ = content.productName;
    if (TakeItems(folder, content.items) != record::kEveryRequiredLine || ProductName_.empty())
      damage = "Warning: the uninstall record " + recordName + " is damaged.";
  }
  if (!damage.empty()) {
    // What our installer always makes for this folder goes instead: the lines it would have written.
    std::vector<std::string> lines = record::UninstallRecordLines(win32::Utf8FromWide(folder), true);
    ProductName_ = lines.front();
    Items_.clear();
    FilesToCheck_.clear();
    TakeItems(folder, std::vector<std::string>(lines.begin() + 1, lines.end()));
    Label3.SetCaption(damage);
  }
  SetCaption("Uninstall " + ProductName_);
  LblTitle.SetCaption(Caption());
  Label1.SetCaption(ProductName_ + " " + Label1.Caption());
}

unsigned TFrmUninstall::TakeItems(const std::wstring& folder, const std::vector<std::string>& items) {
  unsigned required = 0;
  const record::HandoverRules asStarted(record::AsText(folder), record::SameOnDisk);
  const record::HandoverRules resolved(record::AsText(record::ResolvedPath(folder)), record::SameOnDisk);
  for (const std::string& item : items) {
    char tag = 0;
    std::string_view value;
    if (!record::SplitTagged(std::string_view(item), tag, value)) continue;
    const std::wstring wide = win32::WideFromUtf8(std::string(value));
    // The same folder reached through another spelling (a link, a short name) counts as well.
    bool ours = asStarted.Accepts(tag, record::AsText(wide)) ||
                (record::ValueRules::IsSafeAbsolutePath(record::AsText(wide)) &&
                 resolved.Accepts(tag, record::AsText(record::ResolvedPath(wide))));
    if (!ours) continue;
    Items_.push_back(item);
    required |= record::RequiredLineBit(tag, record::AsText(wide), record::SameOnDisk);
    // Its own file is running, of course: known by what it is, however the record spells its path.
    if (tag == record::kInstalledFile && !record::SameFile(wide, OwnPath_))
      FilesToCheck_.push_back(wide);
  }
  return required;
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
  int answer = MessageBoxW(HandleIfAllocated(), win32::WideFromUtf8(ConfirmationText(ProductName_)).c_str(), L"Confirm",
                           MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return;
  for (const std::wstring& file : FilesToCheck_) {
    if (!HeldOpen(file)) continue;
    std::string name = win32::Utf8FromWide(file.substr(file.find_last_of(L'\\') + 1));
    MessageBoxW(HandleIfAllocated(), win32::WideFromUtf8(InUseText(name)).c_str(), win32::WideFromUtf8(Caption()).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  RemoverStart remover;
  const std::wstring& folder = remover.MakeFolder();
  MessagesRunOnProgress messagesRun;
  PayloadExtractor(EB_NVUninstall_exe::Payload(), &messagesRun).ExtractToFile(remover.ProgramPath());
  if (!remover.HoldProgram()) throw gui::Error("Cannot open " + win32::Utf8FromWide(remover.ProgramPath()));
  // Built in UTF-8 and handed over in UTF-16: the values keep what the code page cannot write.
  remover.SetCommand(win32::WideFromUtf8(
      record::RemoverCommandLine(win32::Utf8FromWide(folder), record::UninstallRecord{ProductName_, Items_})));
  Remover_ = std::move(remover);
  Close();
}

std::string InUseText(const std::string& program) {
  return program + " is running and cannot be removed.\nClose it, then press OK again.";
}

std::string ConfirmationText(const std::string& productName) { return "Uninstall " + productName + ".\rSure?"; }
