// Shared main for every test binary: isolates the process, then runs the tests. A
// QApplication exists for the whole run so GUI and non-GUI tests alike may use Qt.
#include <gtest/gtest.h>

#include <QApplication>

namespace testsupport {
void initProcessEnvironment();
void clearProcessEnvironment();
}  // namespace testsupport

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testsupport::initProcessEnvironment();
  int result = 0;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  testsupport::clearProcessEnvironment();
  return result;
}
