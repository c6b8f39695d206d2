// Start-up and shut-down of the whole program, each run in a child process:
// the application object, the exit routine and the header global.

#include "app/qt/program.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace zelmora::testing {
namespace {

bool clickBeforeClosing = false;

void Report(const char* when) {
  std::fprintf(stderr, "header %s: %s\n", when, MobileUserAgentHeader.empty() ? "empty" : "held");
}

// Runs inside the program's event loop: the window is shown by then.
void DriveTheShownWindow() {
  QWidget* window = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) window = widget;
  }
  if (window == nullptr) std::_Exit(3);
  Report("when shown");
  if (clickBeforeClosing) {
    // An address that no request can reach: request 1 fails at once, yet
    // it has completed the header text by then, and the run ends.
    window->findChild<QLineEdit*>(QStringLiteral("addressBox"))
        ->setText(QStringLiteral("unsupported-scheme://nowhere/"));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("resolveButton")),
                      Qt::LeftButton);
  }
  Report("when closed");
  QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window,
                  Qt::Key_Escape);
}

// Called as the application object is made, before the window exists.
void ScheduleTheUser() { QTimer::singleShot(0, &DriveTheShownWindow); }

// Registered before the program registers its exit routine, so it runs
// after that routine.
void ReportAfterExitRoutine() { Report("after the exit routine"); }

[[noreturn]] void RunProgram(bool click) {
  clickBeforeClosing = click;
  MobileUserAgentHeader = "left over from before start-up";
  std::atexit(&ReportAfterExitRoutine);
  qAddPreRoutine(&ScheduleTheUser);
  static int argc = 1;
  static char name[] = "zelmora";
  static char* argv[] = {name, nullptr};
  std::exit(StartProgram(argc, argv));
}

TEST(ProgramTest, ClosingBeforeAnyClickEndsTheProgramWithTheHeaderAbsent) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunProgram(false), ::testing::ExitedWithCode(0),
              "header when shown: empty\n"
              "header when closed: empty\n"
              "header after the exit routine: empty\n");
}

TEST(ProgramTest, TheExitRoutineReleasesTheHeaderThatAClickLeft) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunProgram(true), ::testing::ExitedWithCode(0),
              "header when shown: empty\n"
              "header when closed: held\n"
              "header after the exit routine: empty\n");
}

}  // namespace
}  // namespace zelmora::testing
