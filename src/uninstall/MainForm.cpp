#include "uninstall/MainForm.h"

#include <windows.h>
#include <algorithm>
#include "gui/core/Application.h"
#include "record/win32/WidePaths.h"
#include "uninstall/Removal.h"
#include "win32/TextCodes.h"

namespace {
constexpr int kLineHeight = 13;
}  // namespace

TForm1::TForm1()
    : Label1(Add<gui::Label>()),
      Label2(Add<gui::Label>("All installed items will be removed. ")),
      Image1(Add<gui::BitmapImage>()),
      Button1(Add<gui::Button>()),
      ProgressBar1(Add<gui::ProgressBar>()) {
  SetName("Form1");
  SetCaption("Swiftclear");
  SetColor(gui::clWhite);
  SetClientSize(352, 118);

  Label1.SetName("Label1");
  Label1.SetLeft(59);
  Label1.SetTop(8);
  Label2.SetName("Label2");
  Label2.SetLeft(59);
  Label2.SetTop(32);
  Image1.SetName("Image1");
  Image1.SetBounds(8, 8, 41, 41);
  Image1.LoadBitmapResource("REMOVER_BMP");
  Button1.SetName("Button1");
  Button1.SetBounds(136, 64, 75, 25);
  Button1.SetCaption("OK");
  Button1.OnClick = [this] { Button1Click(); };
  ProgressBar1.SetName("ProgressBar1");
  ProgressBar1.SetHeight(17);
  ProgressBar1.SetAlign(gui::Align::Bottom);

  for (gui::Label*& line : Lines) {
    line = &Add<gui::Label>();
    line->SetLeft(59);
    line->SetVisible(false);
  }

  Timer1.SetInterval(200);
  Timer1.OnTimer = [this] { Timer1Timer(); };
  OnShow = [this] { FormShow(); };
}

void TForm1::FormShow() {
  Button1.SetVisible(false);
  rules_ = std::make_unique<record::ValueRules>(uninstall::ProtectedFolders(), record::SameOnDisk);
  std::vector<record::Text> arguments;
  for (const std::wstring& argument : uninstall::SplitCommandLine(std::wstring_view(GetCommandLineW())))
    arguments.push_back(record::AsText(argument));
  if (!arguments.empty()) arguments.erase(arguments.begin());  // the program's own path
  plan_ = uninstall::ParseRemoverArguments(arguments, *rules_);
  removeName_ = win32::Utf8FromWide(record::AsWide(plan_.removeName));
  if (!removeName_.empty()) {
    SetCaption("Swiftclear - " + removeName_);
    Label1.SetCaption("Removing " + removeName_ + " from your computer");
  } else {
    Label1.SetCaption("Cannot run without proper parameters");
    Label2.SetVisible(false);
  }
}

void TForm1::Timer1Timer() {
  Timer1.SetEnabled(false);
  if (plan_.removeName.empty()) {
    Close();
    return;
  }
  ProgressBar1.SetMax(16);
  ProgressBar1.SetPosition(0);
  WaitWithSteps();
  uninstall::Removal removal(plan_, *rules_, HandleIfAllocated());
  for (int group = 0; group < uninstall::Removal::kGroupCount; ++group) {
    if (gui::Application::Instance().Terminated()) return;  // the window was closed meanwhile
    removal.RunGroup(group);
    ProgressStep();
  }
  if (gui::Application::Instance().Terminated()) return;
  ShowOutcome(removal.Check());
  Button1.SetVisible(true);
  ProgressBar1.SetPosition(ProgressBar1.Max());
  // The caption comes last: whoever watches it for the finish finds the window whole.
  SetCaption("Finished : Swiftclear - " + removeName_);
}

void TForm1::ShowOutcome(const uninstall::RemovalOutcome& outcome) {
  FinishLines lines = FinishText(removeName_, outcome);
  Label1.SetCaption(lines.title);
  Label2.SetCaption(lines.details.empty() ? "Click OK to exit." : lines.details.front());
  int shown = 0, right = ClientWidth();
  for (std::size_t i = 1; i < lines.details.size() && shown < kMaxLines; ++i, ++shown) {
    gui::Label& line = *Lines[shown];
    line.SetTop(32 + (shown + 1) * kLineHeight);
    line.SetCaption(shown + 1 == kMaxLines && i + 1 < lines.details.size() ? "..." : lines.details[i]);
    line.SetVisible(true);
    right = std::max(right, line.Left() + line.Width() + 8);
  }
  if (lines.details.empty()) return;
  // The window grows to hold the lines and "Click OK to exit." under them.
  gui::Label& last = *Lines[shown];
  last.SetTop(32 + (shown + 1) * kLineHeight);
  last.SetCaption("Click OK to exit.");
  last.SetVisible(true);
  right = std::max(right, Label2.Left() + Label2.Width() + 8);
  const int extra = (shown + 2) * kLineHeight;
  Button1.SetTop(64 + extra);
  Button1.SetLeft((right - Button1.Width()) / 2);
  SetClientSize(right, 118 + extra);
}

FinishLines FinishText(const std::string& removeName, const uninstall::RemovalOutcome& outcome) {
  FinishLines lines;
  if (outcome.left.empty()) {
    lines.title = removeName + " is removed from your computer.";
  } else {
    lines.title = removeName + " is not removed completely.";
    lines.details.push_back("Could not be removed (close what uses it and delete it):");
    for (const std::wstring& path : outcome.left) lines.details.push_back("  " + win32::Utf8FromWide(path));
  }
  if (!outcome.kept.empty()) {
    lines.details.push_back("Kept, as it holds files of your own:");
    for (const std::wstring& path : outcome.kept) lines.details.push_back("  " + win32::Utf8FromWide(path));
  }
  return lines;
}

// Waits for kWaitMs, one step each time more than a second has passed. Messages are answered as they
// come (a screen reader's questions among them), not only at the steps.
void TForm1::WaitWithSteps() {
  gui::Application& app = gui::Application::Instance();
  ULONGLONG start = GetTickCount64();
  ULONGLONG lastStep = start;
  while (!app.Terminated()) {
    ULONGLONG now = GetTickCount64();
    if (now - start >= kWaitMs) break;
    ULONGLONG untilStep = lastStep + 1001 - std::min(now, lastStep + 1001);
    ULONGLONG untilEnd = start + kWaitMs - now;
    app.WaitForMessage(static_cast<DWORD>(std::max<ULONGLONG>(1, std::min(untilStep, untilEnd))));
    app.ProcessMessages();
    now = GetTickCount64();
    if (now - lastStep > 1000) {
      lastStep = now;
      ProgressStep();
    }
  }
}

void TForm1::ProgressStep() {
  ProgressBar1.SetPosition(ProgressBar1.Position() + 1);
  gui::Application::Instance().ProcessMessages();
}

void TForm1::Button1Click() { Close(); }
