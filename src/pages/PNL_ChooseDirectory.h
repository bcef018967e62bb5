#pragma once
#include "shell/Frame_Panel.h"

class TPnlChooseDirectory : public TFramePanel {
 public:
  TPnlChooseDirectory();
};
