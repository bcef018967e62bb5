#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "controls/FxSpeedButton.h"
#include "gui/core/Error.h"
#include "pages/PNL_ChooseDirectory.h"
#include "pages/PNL_Disclaimer.h"
#include "pages/PNL_Welcome.h"
#include "shell/Form_Main.h"
#include "toolkit/Folders.h"
#include "toolkit/WizardWindow.h"
#include "win32/TextCodes.h"

namespace {

using Controls = std::vector<const gui::Control*>;
using TabStops = std::vector<gui::WinControl*>;

class WizardPages : public ::testing::Test, protected WizardWindow {
 protected:
  template <class Page>
  Page& Shown(const char* name) {
    form->ShowPanel(name, false);
    return dynamic_cast<Page&>(*form->CurrentPage());
  }
  static Controls Children(const gui::WinControl& page) { return {page.Controls().begin(), page.Controls().end()}; }
};

// Knows which copies of itself exist, so that a handler can ask whether the closure running it still does.
struct Witness {
  static std::set<const Witness*>& Live() {
    static std::set<const Witness*> live;
    return live;
  }
  Witness() { Live().insert(this); }
  Witness(const Witness&) { Live().insert(this); }
  ~Witness() { Live().erase(this); }
  bool Alive() const { return Live().count(this) != 0; }
};

}  // namespace

TEST_F(WizardPages, WelcomeShowsItsTextsWhereTheLayoutPutsThem) {
  auto& page = Shown<TPnlWelcome>("PnlWelcome");
  struct Text {
    const gui::Control& control;
    std::string text;
    int left, top, width, height;  // width 0: sized to the text
  } texts[] = {
      {page.Label1, "Thank you for installing Twinsift", 324, 8, 0, 13},
      {page.Label2, "We hope you'll find Twinsift very usefull.", 330, 161, 0, 13},
      {page.Label3, "Norveth Software", 480, 185, 0, 13},
      {page.StaticText1,
       "Twinsift can be used for searching and removing double files from your harddisks. You can keep clean your "
       "collections of images, music and more. ",
       328, 38, 293, 43},
      {page.StaticText6,
       "With this installation you install Twinsift and nothing else. We are not putting any crap on your PC, change "
       "no settings, put no DLL's, show no banners and install no spyware.",
       329, 91, 294, 53},
  };
  for (const Text& t : texts) {
    SCOPED_TRACE(t.text);
    auto* label = dynamic_cast<const gui::Label*>(&t.control);
    auto* staticText = dynamic_cast<const gui::StaticText*>(&t.control);
    EXPECT_EQ(label ? label->Caption() : staticText->Caption(), t.text);
    EXPECT_EQ(t.control.Left(), t.left);
    EXPECT_EQ(t.control.Top(), t.top);
    if (t.width) EXPECT_EQ(t.control.Width(), t.width);
    else EXPECT_GT(t.control.Width(), 60);
    EXPECT_EQ(t.control.Height(), t.height);
    EXPECT_EQ(t.control.GetFont().Style().bold, &t.control == &page.Label1);
    EXPECT_EQ(t.control.GetFont().GetColor(), &t.control == &page.StaticText6 ? gui::clWhite : gui::clWindowText);
  }
  EXPECT_EQ(page.StaticText1.TabOrder(), 0);
  EXPECT_EQ(page.StaticText6.TabOrder(), 1);
  EXPECT_TRUE(page.TabStopsInside().empty()) << "static texts are no tab stops";
  EXPECT_EQ(form->ActiveControl(), nullptr) << "with no tab stop the form itself takes the keys";
}

TEST_F(WizardPages, TermsStatementHasFourParagraphsNamingProductAndMaker) {
  auto& page = Shown<TPnlDisclaimer>("PnlDisclaimer");
  std::string statement = page.txtDisclaimer.Caption();
  std::vector<std::string> paragraphs;
  for (size_t start = 0, end; start != std::string::npos; start = end == std::string::npos ? end : end + 2) {
    end = statement.find("\r\r", start);
    paragraphs.push_back(statement.substr(start, end == std::string::npos ? end : end - start));
  }
  ASSERT_EQ(paragraphs.size(), 4u);
  for (const std::string& paragraph : paragraphs) {
    EXPECT_GT(paragraph.size(), 40u);
    EXPECT_EQ(paragraph.find('\r'), std::string::npos) << "one empty line between paragraphs, no more";
  }
  EXPECT_NE(statement.find("Twinsift"), std::string::npos);
  EXPECT_NE(statement.find("Norveth Software"), std::string::npos);
  EXPECT_EQ(page.TabStopsInside(), (TabStops{&page.CheckBox1}));
  EXPECT_EQ(form->ActiveControl(), &page.CheckBox1) << "the page's first tab stop";
}

TEST_F(WizardPages, PagesMakeTheirControlsInTheLayoutsOrder) {
  auto& welcome = Shown<TPnlWelcome>("PnlWelcome");
  EXPECT_EQ(Children(welcome), (Controls{&welcome.Image1, &welcome.Label1, &welcome.Label2, &welcome.Label3,
                                         &welcome.StaticText1, &welcome.StaticText6}));
  auto& terms = Shown<TPnlDisclaimer>("PnlDisclaimer");
  EXPECT_EQ(Children(terms), (Controls{&terms.Image3, &terms.txtDisclaimer, &terms.CheckBox1}));
  auto& directory = Shown<TPnlChooseDirectory>("PnlChooseDirectory");
  EXPECT_EQ(Children(directory), (Controls{&directory.Image5, &directory.DriveComboBox1, &directory.DirectoryListBox1,
                                           &directory.Edit1, &directory.StaticText1}));
  EXPECT_EQ(directory.StaticText1.TabOrder(), 3);
  EXPECT_EQ(form->TabStopsInside(), (TabStops{&directory.DriveComboBox1, &directory.DirectoryListBox1,
                                              &directory.Edit1}))
      << "only the current page's tab stops, in tab order";
}

// What the page does with a typed folder, taken or refused by the rule (PathRulesTest holds the rule's cases).
TEST_F(WizardPages, TypedDirectoryIsStoredAsOneFullPathOrRefusedWhenItCouldMeanAnotherFolder) {
  struct Case {
    const char* typed;
    const char* field;
    const char* installDir;  // nullptr: refused, and the folder chosen before is kept
  } cases[] = {
      {"  D:\\Apps ", "D:\\Apps", "D:\\Apps\\"},
      {"D:\\", "D:\\", "D:\\"},
      {"C:/Apps//Twinsift/", "C:/Apps//Twinsift/", "C:\\Apps\\Twinsift\\"},
      {"\\\\server\\share\\Apps", "\\\\server\\share\\Apps", "\\\\server\\share\\Apps\\"},
      {"C:\\My Apps\\\xC3\x84pfel", "C:\\My Apps\\\xC3\x84pfel", "C:\\My Apps\\\xC3\x84pfel\\"},  // UTF-8
      {"C:\\Apps\\..\\Windows", nullptr, nullptr},
      {"C:\\x\\nul.txt", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    settings.InstallDir = "E:\\Before\\";
    auto& page = Shown<TPnlChooseDirectory>("PnlChooseDirectory");
    page.Edit1.SetText(c.typed);
    if (c.installDir) {
      page.NextClick();
      EXPECT_EQ(settings.InstallDir, c.installDir);
      EXPECT_EQ(page.Edit1.Text(), c.field);
      EXPECT_EQ(form->CurrentPage()->Name(), "PNLInstall_Go");
      continue;
    }
    try {
      page.NextClick();
      ADD_FAILURE() << "taken";
    } catch (const gui::Error& error) {
      EXPECT_STREQ(error.what(), "Invalid directory");
    }
    EXPECT_EQ(settings.InstallDir, "E:\\Before\\") << "kept";
    EXPECT_EQ(form->CurrentPage()->Name(), "PnlChooseDirectory");
  }
}

TEST_F(WizardPages, DirectoryListShowsAndPicksAFolderOutsideTheCodePage) {
  ScratchFolder folder;  // its path holds the product's name: the field adds nothing
  const std::string path = folder.File("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0");  // Cyrillic, outside 1252
  ASSERT_TRUE(CreateDirectoryW(win32::WideFromUtf8(path).c_str(), nullptr));
  auto& page = Shown<TPnlChooseDirectory>("PnlChooseDirectory");
  page.DirectoryListBox1.SetDirectory(folder.File(""));
  const std::vector<std::string>& shown = page.DirectoryListBox1.EntryPaths();
  page.DirectoryListBox1.OpenEntry(static_cast<int>(std::find(shown.begin(), shown.end(), path) - shown.begin()));
  page.NextClick();
  EXPECT_EQ(settings.InstallDir, path + "\\");
}

TEST_F(WizardPages, HandlerThatLaysTheBarAnewRunsToItsEndOnALiveClosure) {
  tNvButtonBar& bar = form->PnlButtons;
  bar.ClearButtons();
  const std::string text = "a capture long enough to live on the heap rather than inside the closure";
  Witness witness;
  bool aliveAfterLaying = false;
  std::string seen;
  bar.AddButtonRight("&Next", 2, 1, [&bar, &aliveAfterLaying, &seen, witness, text] {
    bar.ClearButtons();
    bar.AddButtonRight("&Next", 2, 1, [] {});  // the same stock button, a new handler
    aliveAfterLaying = witness.Alive();
    seen = text;
  });
  TFxSpeedButton& button = *bar.RightButtons[0];
  button.HandleMouseDown(gui::MouseButton::Left, MK_LBUTTON, {5, 5});
  button.HandleMouseUp(gui::MouseButton::Left, 0, {5, 5});
  EXPECT_TRUE(aliveAfterLaying);
  EXPECT_EQ(seen, text);
}
