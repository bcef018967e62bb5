#include "shell/Form_Main.h"
#include <cmath>
#include "gui/core/Application.h"
#include "resources/resource_ids.h"

double MonotonicSeconds() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void ProcessMessagesFor(double seconds, const SecondsClock& clock) {
  gui::Application& app = gui::Application::Instance();
  double last = clock(), passed = 0;
  for (;;) {
    app.ProcessMessages();
    const double now = clock();
    if (now > last) passed += now - last;
    last = now;
    const double remaining = seconds - passed;
    if (remaining < 0 || app.Terminated()) break;
    app.WaitForMessage(static_cast<DWORD>(std::ceil(remaining * 1000.0)) + 1);
  }
}

TFormMain::TFormMain(PageTable pages)
    : ImgIcon(Add<gui::IconImage>(IDI_PROGRAM)),
      PnlHeader(Add<gui::Panel>()),
      PageControl(Add<gui::PageControl>()),
      PnlButtons(Add<tNvButtonBar>()),
      pages_(std::move(pages)) {
  SetName("FormMain");
  SetCaption("FormMain");
  SetClientSize(780, 509);
  ImgIcon.SetBounds(5, 6, 41, 41);
  PnlHeader.SetBounds(40, 31, 712, 41);
  PnlHeader.SetCaption("Header");
  PnlHeader.GetFont().SetHeight(-19);
  PnlHeader.OnClick = [this] { PnlHeaderClick(); };
  PageControl.SetBounds(40, 72, 712, 377);
  PnlButtons.SetBounds(40, 451, 713, 32);
  AlphaBlendTimer.SetEnabled(false);
  AlphaBlendTimer.SetInterval(100);
  AlphaBlendTimer.OnTimer = [this] { AlphaBlendTimerTimer(); };
  OnCreate = [this] { FormCreate(); };
  OnShow = [this] { FormShow(); };
  OnCloseQuery = [this] { return !Busy(); };
  DoCreate();
}

void TFormMain::FormCreate() {
  SetCaption("Install Twinsift 1.2");
  SetColor(0xFF0000);
  PnlHeader.SetColor(0x800000);
  PnlHeader.GetFont().SetColor(0xFFFFFF);
  PnlButtons.SetColors(0xFFFFFF, 0x00FF00, 0x800000, 0xFF0000, 0xF0FBFF);
  CreatePanels();
  ShowPanel(PageWithRole(pages_, PageRole::kFirst), false);
}

void TFormMain::FormShow() {
  SetAlphaBlend(true);
  SetAlphaBlendValue(0);
  AlphaBlendTimer.SetEnabled(true);
}

void TFormMain::AlphaBlendTimerTimer() {
  if (AlphaBlendValue() > 235) SetAlphaBlendValue(255);
  if (AlphaBlendValue() < 255) SetAlphaBlendValue(static_cast<BYTE>(AlphaBlendValue() + 8));
  else AlphaBlendTimer.SetEnabled(false);
}

void TFormMain::PnlHeaderClick() {
  if (Busy()) return;  // a page change or the installation run must not be disturbed
  ShowPanel(PageWithRole(pages_, PageRole::kHeaderTarget), true);
}

void TFormMain::CreatePanels() {
  for (const PageEntry& entry : pages_) AddPanel(entry.name, entry.make(*this));
}

void TFormMain::AddPanel(const std::string& PageName, std::unique_ptr<TFramePanel> page) {
  gui::TabSheet& sheet = PageControl.AddSheet();
  page->SetName(PageName);
  page->SetParent(&sheet);
  TFramePanel& hosted = *page.release();  // the sheet owns it from here on
  sheet.SetTabVisible(false);
  hosted.SetAlign(gui::Align::Client);
  sheet.SetName(hosted.Name());
}

gui::TabSheet* TFormMain::FindSheet(const std::string& PageName) const {
  gui::TabSheet* result = nullptr;
  for (gui::TabSheet* sheet : PageControl.Sheets())
    if (SamePageName(sheet->Name(), PageName)) result = sheet;
  return result;
}

TFramePanel* TFormMain::CurrentPage() const {
  gui::TabSheet* sheet = PageControl.ActivePage();
  if (!sheet || sheet->Controls().empty()) return nullptr;
  return dynamic_cast<TFramePanel*>(sheet->Controls().front());
}

void TFormMain::Next() {
  const TFramePanel* page = CurrentPage();
  if (!page) throw UnknownPage();
  ShowPanel(PageNamed(pages_, page->Name()).next, true);
}

void TFormMain::Previous() {
  const TFramePanel* page = CurrentPage();
  if (!page) throw UnknownPage();
  ShowPanel(PageNamed(pages_, page->Name()).previous, true);
}

void TFormMain::ShowPanel(const std::string& PageName, bool Animate) {
  gui::TabSheet* sheet = FindSheet(PageName);
  auto* page = sheet && !sheet->Controls().empty() ? dynamic_cast<TFramePanel*>(sheet->Controls().front()) : nullptr;
  if (!page) throw UnknownPage();
  SetAlphaBlend(false);
  AlphaBlendTimer.SetEnabled(false);
  BusyScope busy(*this);
  if (Animate) SlideOut();
  try {
    PageControl.SetActivePage(sheet);
    PnlHeader.SetCaption(page->PanelCaption);
    PnlButtons.ClearButtons();
    page->SetupButtons(PnlButtons);
    page->PanelEnter();
    // The keyboard goes on from the new page's first tab stop, never from a control of the page that went.
    FocusFirstTabStop(*page);
  } catch (...) {
    // Bring the parts back into the window before the error is shown.
    if (Animate) ShiftParts(-kSlideSteps * kSlideStepPixels);
    throw;
  }
  if (Animate) SlideIn();
  // A program that is ending starts no more work (a quit may have come in while the parts slid).
  if (gui::Application::Instance().Terminated()) return;
  page->PanelAfterShow();
}

TFormMain::BusyScope::BusyScope(TFormMain& form) : form_(form) {
  if (form_.busyDepth_++ > 0) return;
  form_.PnlButtons.HoldClicks(true);
  if (HWND window = form_.HandleIfAllocated()) SetPropA(window, kBusyProperty, reinterpret_cast<HANDLE>(1));
}

TFormMain::BusyScope::~BusyScope() {
  if (--form_.busyDepth_ > 0) return;
  form_.PnlButtons.HoldClicks(false);
  if (HWND window = form_.HandleIfAllocated()) RemovePropA(window, kBusyProperty);
}

void TFormMain::ShiftParts(int delta) {
  PnlHeader.SetLeft(PnlHeader.Left() + delta);
  PnlButtons.SetLeft(PnlButtons.Left() + delta);
  PageControl.SetLeft(PageControl.Left() - delta);
}

void TFormMain::SlideStep(int delta, double waitSeconds) {
  ShiftParts(delta);
  ProcessMessagesFor(waitSeconds, WaitClock);
}

void TFormMain::SlideOut() {
  for (int step = 0; step < kSlideSteps; ++step) SlideStep(kSlideStepPixels, kSlideOutWait);
}

void TFormMain::SlideIn() {
  for (int step = 0; step < kSlideSteps; ++step) SlideStep(-kSlideStepPixels, kSlideInWait);
}
