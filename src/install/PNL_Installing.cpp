#include "install/PNL_Installing.h"
#include <cmath>
#include "gui/core/Application.h"
#include "record/win32/WidePaths.h"
#include "win32/TextCodes.h"

std::string PercentCompleteText(int position, int maximum) {
  long double percent = static_cast<long double>(position) / maximum * 100;
  // nearbyintl rounds in the current mode, which is to nearest with halves to even unless changed.
  return std::to_string(static_cast<long long>(std::nearbyintl(percent))) + "% complete";
}

TPnlInstalling::TPnlInstalling(Navigation& navigation, InstallSettings& settings,
                               const InstalledPrograms& programs)
    : TFramePanel(navigation),
      ProgressBar1(Add<gui::ProgressBar>()),
      Label12(Add<gui::Label>()),
      settings_(settings),
      programs_(programs) {
  PanelCaption = "Installing Twinsift";
  ProgressBar1.SetBounds(39, 208, 634, 26);
  Label12.SetBounds(344, 176, 60, 13);
  Label12.GetFont().SetColor(gui::clWhite);
  Label12.SetCaption("0% complete");
  // A step takes microseconds and drawing it a millisecond or more: show the progress once a frame.
  ProgressBar1.SetRedrawInterval(kRedrawIntervalMs);
  Label12.SetRedrawInterval(kRedrawIntervalMs);
}

void TPnlInstalling::ShowPosition(std::uint32_t position) {
  ProgressBar1.SetPosition(static_cast<int>(position));
  Label12.SetCaption(PercentCompleteText(ProgressBar1.Position(), ProgressBar1.Max()));
}

void TPnlInstalling::ShowWaitingProgress() {
  ProgressBar1.Flush();
  Label12.Flush();
}

void TPnlInstalling::LetMessagesRun() {
  gui::Application::Instance().ProcessMessages();
  if (OnProgressShown) OnProgressShown();
}

void TPnlInstalling::SetProgress(std::uint32_t value) {
  ShowPosition(value);
  ShowWaitingProgress();
  LetMessagesRun();
}

void TPnlInstalling::Begin(int maximum) { ProgressBar1.SetMax(maximum); }

void TPnlInstalling::Unpacked(std::uint32_t position) {
  ShowPosition(position);
  LetMessagesRun();
}

void TPnlInstalling::UnpackedUnseen() { LetMessagesRun(); }

void TPnlInstalling::UnpackingStopped() { ShowWaitingProgress(); }

void TPnlInstalling::StepDone(std::uint32_t position) { SetProgress(position); }

void TPnlInstalling::PanelEnter() { SetProgress(0); }

void TPnlInstalling::PanelAfterShow() {
  settings_.Missing = RunInstallation(settings_, *this, Wizard.WizardWindow(), programs_);
  if (!settings_.Missing.empty())
    MessageBoxW(Wizard.WizardWindow(), MissingItemsText(settings_.Missing).c_str(),
                win32::WideFromUtf8(gui::Application::Instance().Title()).c_str(), MB_OK | MB_ICONWARNING);
  Wizard.Next();
}
