#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "gui/label/Label.h"
#include "gui/progressbar/ProgressBar.h"
#include "install/InstallSettings.h"
#include "install/Installation.h"
#include "shell/Frame_Panel.h"

// The installing page: once it is in view it runs the installation, showing its progress on a bar and a
// percent label and letting messages run after every step, and ends by showing the completion page.
class TPnlInstalling : public TFramePanel, public InstallProgress {
 public:
  static constexpr DWORD kRedrawIntervalMs = 20;

  // programs: what the run unpacks.
  TPnlInstalling(Navigation& navigation, InstallSettings& settings, const InstalledPrograms& programs);
  void PanelEnter() override;
  void PanelAfterShow() override;  // the run, and a box naming what it could not make

  gui::ProgressBar& ProgressBar1;
  gui::Label& Label12;

  // Shows value on the bar and its share of the bar's maximum on the label, then lets messages run.
  void SetProgress(std::uint32_t value);

  // What the run reports.
  void Begin(int maximum) override;
  void Unpacked(std::uint32_t position) override;
  void UnpackedUnseen() override;
  void UnpackingStopped() override;
  void StepDone(std::uint32_t position) override;

  // Sees every progress step of the run once bar and label show it (the unpacking's steps included).
  std::function<void()> OnProgressShown;

 private:
  void ShowPosition(std::uint32_t position);
  void ShowWaitingProgress();
  void LetMessagesRun();

  InstallSettings& settings_;  // read, and given what the run could not make
  InstalledPrograms programs_;
};

// "<n>% complete" for position out of maximum, rounded to the nearest whole number, halves to even.
std::string PercentCompleteText(int position, int maximum);
