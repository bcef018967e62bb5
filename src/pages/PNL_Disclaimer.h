#pragma once
#include "shell/Frame_Panel.h"

class TPnlDisclaimer : public TFramePanel {
 public:
  TPnlDisclaimer();
};
