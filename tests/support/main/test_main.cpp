// The main of every model test. The C library's locale comes from the environment, as it
// does in the program (where Qt takes it), so that a run under another locale tries the
// model code under that locale's number symbols and texts.

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  setenv("QV_TEST_OUTPUT", QV_TEST_OUTPUT_DIR, 0);
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
