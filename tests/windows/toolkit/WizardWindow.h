#pragma once
#include <memory>
#include <string>
#include <vector>
#include "SetupPages.h"
#include "driver/TestApplication.h"
#include "shell/Form_Main.h"

// The setup program's main window with its pages, made in the test process as the program makes it; the
// errors it would show are written down instead.
struct WizardWindow {
  WizardWindow() {
    gui::Application& application = e2e::TestApplication();
    application.SetTitle("Twinsift");
    application.OnError = [this](const std::string& message) { errors.push_back(message); };
    form = std::make_unique<TFormMain>(SetupPages(settings));
    application.SetMainForm(form.get());
  }
  ~WizardWindow() {
    form.reset();
    e2e::TestApplication().SetMainForm(nullptr);
    e2e::TestApplication().OnError = nullptr;
  }
  WizardWindow(const WizardWindow&) = delete;
  WizardWindow& operator=(const WizardWindow&) = delete;

  InstallSettings settings;
  std::unique_ptr<TFormMain> form;
  std::vector<std::string> errors;
};
