#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "gui/label/Label.h"
#include "gui/progressbar/ProgressBar.h"
#include "payload/PayloadData.h"
#include "record/UninstallRecord.h"
#include "shell/Frame_Panel.h"

// The installing page: once it is in view it runs the whole installation, step by step, with a
// progress bar and a percent label, and ends by showing the completion page.
class TPnlInstalling : public TFramePanel {
 public:
  static constexpr const char* kWebsite = record::kWebsite;

  static constexpr DWORD kRedrawIntervalMs = 20;

  TPnlInstalling();
  void PanelEnter() override;
  void PanelAfterShow() override;  // the run

  gui::ProgressBar& ProgressBar1;
  gui::Label& Label12;

  // Shows value on the bar and its share of the bar's maximum on the label, then lets messages run.
  void SetProgress(std::uint32_t value);

  // Sees every progress step of the run once bar and label show it (the extraction's steps included).
  std::function<void()> OnProgressShown;

 private:
  void ShowWaitingProgress();
  void Extract(const PayloadData& payload, const std::string& target, bool showProgress);
  void CreateMenuShortcuts();
  void CreateDesktopShortcut();
};

// The run's progress scale: both payloads' stream and decompressed lengths, before the added thirtieth.
std::int64_t RunProgressSpan();
// round(maximum / 100 x percent), halves to even.
std::uint32_t ShareOfMaximum(int maximum, int percent);
// Makes directory (a path ending with a backslash) and every missing directory above it, outermost first,
// each with the protected access list (an existing one keeps its own). Failures are not reported: a
// directory that is missing afterwards shows when a file is made in it.
void CreateDirectoryChain(const std::string& directory);
bool DirectoryExists(const std::string& path);
