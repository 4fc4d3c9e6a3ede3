// The main of every window test: the application runs under the offscreen platform, so no
// display is needed, and its saved settings and e-mail message files go to folders of the
// test run, never to the user's own.

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QV_TEST_OUTPUT", QV_TEST_OUTPUT_DIR, 0);
  const char* output = std::getenv("QV_TEST_OUTPUT");
  const std::string base = output && *output ? output : QDir::tempPath().toStdString();
  const std::string config = base + "/config-" + std::to_string(getpid());
  QDir().mkpath(QString::fromStdString(config));
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  const std::string runtime = base + "/runtime-" + std::to_string(getpid());
  QDir().mkpath(QString::fromStdString(runtime));
  chmod(runtime.c_str(), 0700);  // a runtime folder is the user's alone
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QDir(QString::fromStdString(config)).removeRecursively();
  QDir(QString::fromStdString(runtime)).removeRecursively();
  return result;
}
