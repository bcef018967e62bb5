// Windows, GDI objects and kernel handles: fifty page changes and a whole installation leave each count where
// it stood once everything had been done once (pages make their windows when first shown).
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "e2e/InstalledFiles.h"
#include "gui/core/Application.h"
#include "gui/core/Gdi.h"
#include "payload/TestPayload.h"
#include "shell/Form_Main.h"
#include "toolkit/WizardWindow.h"

namespace {

struct Census {
  int windows = 0;
  long gdiObjects = 0;
  DWORD handles = 0;
  bool operator==(const Census&) const = default;
};

void PrintTo(const Census& census, std::ostream* out) {
  *out << census.windows << " windows, " << census.gdiObjects << " GDI objects, " << census.handles << " handles";
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

// The kernel handles this process holds. GetProcessHandleCount says 0 under Wine, so ask about each small
// handle value instead (handles are multiples of 4 from 4 up, and a few thousand cover this program).
DWORD OpenHandles() {
  DWORD count = 0, flags = 0;
  for (ULONG_PTR value = 4; value < 16384; value += 4)
    count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  return count;
}

Census Take() {
  gui::Application::Instance().ProcessMessages();  // let windows that are on their way out go
  Census census;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&census.windows));
  census.gdiObjects = gui::LiveGdiObjects();
  census.handles = OpenHandles();
  return census;
}

class Leaks : public ::testing::Test, protected WizardWindow {
 protected:
  void SetUp() override {
    form->Show();
    settings.InstallDir = folder.File("leaks\\");
    settings.DesktopShortcut = true;
  }
  void TearDown() override { e2e::Installation{settings.InstallDir}.Remove(); }
  void Install() {
    form->ShowPanel("PnlInstalling", false);
    ASSERT_EQ(errors, std::vector<std::string>{});
    ASSERT_EQ(form->CurrentPage()->Name(), "PnlInstall_Ready");
  }

  ScratchFolder folder;
};

}  // namespace

TEST_F(Leaks, FiftyPageChangesAndAWholeInstallationLeaveEveryCountWhereItWas) {
  const char* pages[] = {"PnlWelcome", "PnlDisclaimer", "PnlChooseDirectory", "PNLInstall_Go"};
  auto fiftyChanges = [&] {
    for (int change = 0; change < 50; ++change)
      form->ShowPanel(pages[change % 4], change % 10 == 0);  // every tenth one slides
  };
  // Once through everything first: what is made on first use (a page's windows, a slide's buffers, the
  // pictures' kept bitmaps, the system's link objects, which Wine makes on the second save over a link) stays
  // for the program's life and is not a leak.
  fiftyChanges();
  ASSERT_NO_FATAL_FAILURE(Install());
  ASSERT_NO_FATAL_FAILURE(Install());
  const Census baseline = Take();
  EXPECT_GT(baseline.windows, 10);
  EXPECT_GT(baseline.gdiObjects, 0);
  EXPECT_GT(baseline.handles, 0u);

  fiftyChanges();
  EXPECT_EQ(Take(), baseline) << "after fifty page changes";
  ASSERT_NO_FATAL_FAILURE(Install());
  EXPECT_EQ(Take(), baseline) << "after an installation over the one before";
}
