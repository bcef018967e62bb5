#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include "payload/PayloadData.h"

namespace gui {
class Label;
class ProgressBar;
}  // namespace gui

// One extraction of a payload into a program file, with optional progress on a bar and a percent label.
// Every payload module runs its ExtractToFile through this.
class PayloadExtractor {
 public:
  // Neither bar nor label is owned; either may be null. The caller sets the bar's range.
  PayloadExtractor(const PayloadData& payload, gui::ProgressBar* bar, gui::Label* label);

  // Copies the blocks into memory, then inflates them through a 1024-byte buffer into a temporary file
  // beside targetPath, which replaces targetPath once whole, reporting progress after every block and
  // every piece written.
  // Raises gui::Error("Cannot create file ...") / ("Cannot write file ...") for the file,
  // gui::Error("Error") for a damaged, short or overlong stream, std::bad_alloc when memory runs out.
  // On any failure the temporary file is removed again, and a file at targetPath stays as it was.
  void ExtractToFile(const std::string& targetPath);

  // Moves the bar to the low 32 bits of position, writes the percent label from the position the bar
  // then holds, and lets pending window messages run.
  void ReportProgress(std::int64_t position);

  // Sees every position reported, once the bar and label show it.
  std::function<void(std::int64_t position)> OnProgress;

 private:
  const PayloadData& payload_;
  gui::ProgressBar* bar_;
  gui::Label* label_;
};

// "<n>% complete" for position out of maximum, rounded to the nearest whole number, halves to even.
std::string PercentCompleteText(int position, int maximum);
