#include "window_fixture.h"

#include <QTest>

#include "http/host_mapping.h"

namespace zelmora::testing {

QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

void WindowTest::SetUp() {
  TestApplication();
  SetHostMappings({site_.Mapping()});
  window_ = std::make_unique<MainWindow>(headers_);
  for (const char* name : {"addressBox", "resolveButton", "resultBox"}) {
    ASSERT_NE(window_->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
}

void WindowTest::TearDown() {
  window_.reset();
  SetHostMappings({});
}

QLineEdit& WindowTest::addressBox() {
  return *window_->findChild<QLineEdit*>(QStringLiteral("addressBox"));
}

QPushButton& WindowTest::resolveButton() {
  return *window_->findChild<QPushButton*>(QStringLiteral("resolveButton"));
}

QLineEdit& WindowTest::resultBox() {
  return *window_->findChild<QLineEdit*>(QStringLiteral("resultBox"));
}

void WindowTest::Focus(QWidget& widget) {
  widget.setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(widget.hasFocus());
}

}  // namespace zelmora::testing
