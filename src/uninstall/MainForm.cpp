#include "uninstall/MainForm.h"

#include <windows.h>
#include <algorithm>
#include "gui/core/Application.h"
#include "uninstall/Removal.h"

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

  Timer1.SetInterval(200);
  Timer1.OnTimer = [this] { Timer1Timer(); };
  OnShow = [this] { FormShow(); };
}

void TForm1::FormShow() {
  Button1.SetVisible(false);
  rules_ = std::make_unique<uninstall::ValueRules>(uninstall::ProtectedFolders());
  std::vector<std::string> arguments = uninstall::SplitCommandLine(GetCommandLineA());
  if (!arguments.empty()) arguments.erase(arguments.begin());  // the program's own path
  plan_ = uninstall::ParseRemoverArguments(arguments, *rules_);
  if (!plan_.removeName.empty()) {
    SetCaption("Swiftclear - " + plan_.removeName);
    Label1.SetCaption("Removing " + plan_.removeName + " from your computer");
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
  SetCaption("Finished : Swiftclear - " + plan_.removeName);
  Label1.SetCaption(plan_.removeName + " is removed from your computer.");
  Label2.SetCaption("Click OK to exit.");
  Button1.SetVisible(true);
  ProgressBar1.SetPosition(ProgressBar1.Max());
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
