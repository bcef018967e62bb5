#include <gtest/gtest.h>
#include <memory>
#include "gui/core/Application.h"
#include "shell/Form_Main.h"

TEST(MainWindow, LookupFoldsOnlyAsciiLetters) {
  EXPECT_EQ(LowerAsciiLetters("PNLInstall_Go"), "pnlinstall_go");
}
