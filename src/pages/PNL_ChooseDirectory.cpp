#include "pages/PNL_ChooseDirectory.h"
#include "shell/NVI_ButtonBar.h"
#include <shlobj.h>
#include "gui/core/Error.h"
#include "pages/DirectoryChoice.h"
#include "record/UninstallRecord.h"
#include "record/win32/WidePaths.h"
#include "win32/TextCodes.h"

const char* const TPnlChooseDirectory::kExplanation =
    "The installation directory is the directory\r"
    "on your harddisk where the Twinsift\r"
    "program files will be placed.\r"
    "\r"
    "In most common cases the directory proposed\r"
    "is the best place and you can just press\r"
    "the \"next\" button, otherwise choose a directory.";

TPnlChooseDirectory::TPnlChooseDirectory(Navigation& navigation, InstallSettings& settings)
    : TFramePanel(navigation),
      Image5(Add<gui::Picture>()),
      DriveComboBox1(Add<gui::DriveComboBox>()),
      DirectoryListBox1(Add<gui::DirectoryListBox>()),
      Edit1(Add<gui::Edit>()),
      StaticText1(Add<gui::StaticText>()),
      settings_(settings) {
  PanelCaption = "Choose installation directory";
  Image5.SetBounds(8, 8, 105, 105);
  Image5.SetStretch(true);
  Image5.LoadJpegResource("DIRECTORY_JPG");
  DriveComboBox1.SetBounds(286, 311, 393, 19);
  DriveComboBox1.SetDirList(&DirectoryListBox1);
  DriveComboBox1.SetTabOrder(0);
  DirectoryListBox1.SetBounds(286, 31, 393, 273);
  DirectoryListBox1.SetTabOrder(1);
  DirectoryListBox1.OnChange = [this] { DirectoryListBox1Change(); };
  DirectoryListBox1.OnDblClick = [this] { DirectoryListBox1Change(); };
  Edit1.SetBounds(286, 7, 393, 21);
  Edit1.SetTabOrder(2);
  StaticText1.SetBounds(8, 128, 233, 209);
  StaticText1.SetCaption("StaticText1");
  StaticText1.SetTabOrder(3);
}

void TPnlChooseDirectory::SetupButtons(tNvButtonBar& bar) {
  AddExitButton(bar);
  bar.AddButtonRight("&Next", 2, 1, [this] { NextClick(); });
  bar.AddButtonRight("&Previous", 3, 1, [this] { PreviousClick(); });
}

void TPnlChooseDirectory::PanelEnter() {
  StaticText1.SetCaption(kExplanation);
  if (!settings_.InstallDir.empty()) return;
  wchar_t programFiles[MAX_PATH] = {};
  HRESULT found = SHGetFolderPathW(Wizard.WizardWindow(), CSIDL_PROGRAM_FILES, nullptr, 0, programFiles);
  // The list's change event fills the field.
  DirectoryListBox1.SetDirectory(found == S_OK ? win32::Utf8FromWide(programFiles)
                                               : std::string("C:\\") + record::kProduct);
}

void TPnlChooseDirectory::DirectoryListBox1Change() {
  Edit1.SetText(directory_choice::PathForDirectory(DirectoryListBox1.Directory()));
}

void TPnlChooseDirectory::NextClick() {
  std::string trimmed = directory_choice::Trimmed(Edit1.Text());
  Edit1.SetText(trimmed);
  // Checked as typed, before the current drive and folder could give it a meaning.
  const std::wstring typed = win32::WideFromUtf8(trimmed);
  if (!directory_choice::IsAcceptableDirectory(record::AsText(typed))) throw gui::Error("Invalid directory");
  wchar_t full[MAX_PATH];
  DWORD length = GetFullPathNameW(typed.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) throw gui::Error("Invalid directory");
  settings_.InstallDir = win32::Utf8FromWide(record::AsWide(directory_choice::InstallDirFor(record::AsText(full))));
  Wizard.Next();
}

void TPnlChooseDirectory::PreviousClick() { Wizard.Previous(); }
