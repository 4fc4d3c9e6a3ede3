#pragma once
// The program as the window benchmarks run it: one QApplication for the whole run (on the
// offscreen platform when there is no display), US English, its own settings file in a
// scratch folder, no example books, and a password prompt that accepts nothing.

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application_window.h"

namespace qv::bench {

// The run's one application object, made on first use.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "quorvel_bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}

// A folder of the temporary folder, made when missing.
inline std::filesystem::path BenchFolder(const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(folder);
  return folder;
}

class NoPrompt final : public PasswordPrompt {
 public:
  void Ask(const std::string&, Session&) override {}
};

// The program started on its empty book, with its settings in `folder`.
struct BenchProgram {
  explicit BenchProgram(const std::filesystem::path& folder) {
    App();
    options.Arguments = {"quorvel"};
    options.SettingsFile = (folder / "QV.conf").string();
    options.ExampleFolders = {(folder / "no-examples").string()};
    options.Locale = UsEnglishLocale();
    options.SecondCopy = false;
    options.Prompt = &prompt;
    app = std::make_unique<Application>(options);
    app->Start();
  }
  NoPrompt prompt;
  ApplicationOptions options;
  std::unique_ptr<Application> app;
};

}  // namespace qv::bench
