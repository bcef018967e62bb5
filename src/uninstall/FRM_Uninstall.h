#pragma once
#include <exception>
#include <string>
#include <vector>
#include "gui/bitmapimage/BitmapImage.h"
#include "gui/button/Button.h"
#include "gui/core/Form.h"
#include "gui/label/Label.h"
#include "uninstall/RemoverStart.h"

// The uninstall record beside the program cannot be read: the uninstaller ends without a word. (One that
// is simply missing beside our utility counts as damaged instead.)
// (A plain exception: the library's runtime_error would bring its whole string family into the program.)
struct RecordUnreadable : std::exception {
  const char* what() const noexcept override { return "the uninstall record cannot be read"; }
};

// The uninstaller's window: reads the uninstall record beside the program, asks for confirmation and
// unpacks the remover into a protected folder of its own in the temporary folder, to be started when the
// uninstaller ends. Only the record lines our installer writes reach the remover. A record that lacks one
// of the lines our installer always writes, or is missing beside our utility, is damaged: the window says
// so, and what our installer always makes for this folder goes instead.
class TFrmUninstall : public gui::Form {
 public:
  TFrmUninstall();  // reads the record; raises RecordUnreadable

  const std::string& ProductName() const { return ProductName_; }
  // The remover, unpacked and held once the removal is confirmed; else one that starts nothing.
  RemoverStart TakeRemover() { return std::move(Remover_); }

 protected:
  void FillCreateParams(gui::CreateParams& params) override;  // a dialog frame with its close button
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  // Keeps the items that may reach the remover; returns the RequiredLineBit of them all.
  unsigned TakeItems(const std::wstring& folder, const std::vector<std::string>& items);
  void FormActivate();
  void btnOKClick();
  void btnCancelClick();

  gui::BitmapImage& Image1;
  gui::Label& LblTitle;
  gui::Label& Label3;
  gui::Label& Label1;
  gui::Label& Label4;
  gui::Label& Label2;
  gui::Button& btnOK;
  gui::Button& btnCancel;

  std::string ProductName_;
  std::vector<std::string> Items_;         // the record's further lines that pass, unquoted
  std::wstring OwnPath_;
  std::vector<std::wstring> FilesToCheck_;  // the installed files handed over, this program aside
  RemoverStart Remover_;
};

// The text of the uninstall record at path; raises RecordUnreadable.
std::string ReadRecordFile(const std::wstring& path);
// The record's content as UTF-8: after its mark, or turned from the ANSI code page.
std::string RecordText(const std::string& content);

// "Uninstall " + product name + "." CR "Sure?": the confirmation's text.
std::string ConfirmationText(const std::string& productName);
// The message when an installed program is still running: it names the program and asks to close it.
std::string InUseText(const std::string& program);
