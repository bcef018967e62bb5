#pragma once
#include "shell/Frame_Panel.h"

class TPnlWelcome : public TFramePanel {
 public:
  TPnlWelcome();
};
