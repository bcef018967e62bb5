#pragma once
#include "shell/Frame_Panel.h"

class TPnlInstalling : public TFramePanel {
 public:
  TPnlInstalling();
};
