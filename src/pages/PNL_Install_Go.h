#pragma once
#include "shell/Frame_Panel.h"

class TPNLInstall_Go : public TFramePanel {
 public:
  TPNLInstall_Go();
};
