#include "app/qt/program.h"

#include <QApplication>
#include <cstdlib>
#include <utility>

#include "app/qt/main_window.h"

namespace zelmora {

Text MobileUserAgentHeader;

void OnProgramExit() {
  // Moving the text out frees its storage here rather than at the end of
  // static destruction.
  const Text released = std::exchange(MobileUserAgentHeader, Text());
}

int StartProgram(int& argc, char** argv) {
  const QApplication application(argc, argv);
  std::atexit(&OnProgramExit);
  MobileUserAgentHeader = Text();
  MainWindow window(MobileUserAgentHeader);
  window.show();
  return QApplication::exec();
}

}  // namespace zelmora
