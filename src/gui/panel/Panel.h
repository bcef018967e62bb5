#pragma once
#include <functional>
#include <string>
#include "gui/core/WinControl.h"

namespace gui {

enum class Bevel { None, Raised, Lowered };

// A windowed container with an optional 1-pixel bevel and a caption centred in its own font.
class Panel : public WinControl {
 public:
  explicit Panel(WinControl* parent);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  Bevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(Bevel bevel);

  std::function<void()> OnClick;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void PaintBackground(HDC dc, const RECT& area) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string caption_;
  Bevel bevelOuter_ = Bevel::Raised;
  bool pressed_ = false;
};

}  // namespace gui
