#pragma once
#include "shell/Frame_Panel.h"

class TPnlInstall_Ready : public TFramePanel {
 public:
  TPnlInstall_Ready();
};
