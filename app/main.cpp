// The program's entry point: checks that a display is there, then starts the application.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/application_window.h"
#include "app/main_window.h"
#include "platform/prompts_qt.h"
#include "platform/screen_pointer_qt.h"

namespace {

// Qt aborts with a cryptic message when the X or Wayland platform has no display to talk
// to; say plainly what is missing instead.
bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) {
    const std::string p = platform;
    if (p.rfind("offscreen", 0) == 0 || p.rfind("minimal", 0) == 0 || p.rfind("vnc", 0) == 0)
      return true;
  }
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "Quorvel needs a graphical display, and none was found (DISPLAY and "
                 "WAYLAND_DISPLAY are not set). Start it from a desktop session.\n");
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvel");
  qv::ApplicationOptions options;
  // Qt has taken its own options out of the arguments by now.
  for (const QString& argument : QApplication::arguments())
    options.Arguments.push_back(argument.toStdString());
  qv::Application program(std::move(options));
  qv::QtPromptService prompts;
  qv::ScopedPromptService installPrompts(prompts);
  qv::ScreenPointerCursor pointer;
  prompts.SetOwner(&program.MainWindow());
  program.Start();
  return QApplication::exec();
}
