#pragma once
#include <windows.h>
#include <string>

// What a wizard page may ask of the window that hosts it. Pages are given it when they are made.
class Navigation {
 public:
  // Makes the named page current (letter case ignored), sliding when Animate is set. A name that no
  // page carries raises UnknownPage.
  virtual void ShowPanel(const std::string& PageName, bool Animate) = 0;
  // Slides to the page that the page table gives as the current page's next or previous one.
  virtual void Next() = 0;
  virtual void Previous() = 0;
  // Closes the wizard, and with it the program.
  virtual void CloseWizard() = 0;
  // The wizard's window, as the owner of whatever the shell shows on its behalf.
  virtual HWND WizardWindow() const = 0;

 protected:
  ~Navigation() = default;
};
