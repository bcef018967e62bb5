#include <string>
#include "access/ScreenReader.h"
#include "e2e/SetupHarness.h"

namespace {

class AccessibleWizardTest : public SetupTest {
 protected:
  reader::ComApartment com;
  reader::Object Bar() { return reader::Object::ClientOf(SetupTest::Bar()); }
  reader::Object Window() { return reader::Object::ClientOf(window); }
};

}  // namespace

TEST_F(AccessibleWizardTest, Spike) {
  ASSERT_TRUE(WaitForPage("Welcome"));
  reader::Object client = Window();
  ASSERT_TRUE(client);
  std::printf("%s", reader::Read(client).c_str());
}
