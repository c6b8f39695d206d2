#pragma once

// A shown, exposed and active window for the window tests, over a header
// variable of its own, with the site's hosts mapped to the replica.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/qt/main_window.h"
#include "runtime/text.h"
#include "site/replica_site.h"

namespace zelmora::testing {

// The process's application object, made on first use. The tests run on the
// platform that QT_QPA_PLATFORM names: "offscreen", set by the build.
QApplication& TestApplication();

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  MainWindow& window() { return *window_; }
  QLineEdit& addressBox();
  QPushButton& resolveButton();
  QLineEdit& resultBox();
  ReplicaSite& site() { return site_; }
  Text& headers() { return headers_; }

  // Gives `widget` the keyboard focus of the active window.
  void Focus(QWidget& widget);

 private:
  ReplicaSite site_;
  Text headers_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace zelmora::testing
