// The window as it opens: outer size, place, frame, controls and look.

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <string>

#include "app/site_constants.h"
#include "window_fixture.h"

namespace zelmora::testing {
namespace {

using WindowLayoutTest = WindowTest;

TEST_F(WindowLayoutTest, OpensAt746By137OutsideCentredOnThePrimaryScreen) {
  // The layout data's own 50, 50 is not used: the place comes from the
  // primary screen's full area, with integer division.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect expected((screen.width() - 746) / 2, (screen.height() - 137) / 2, 746, 137);
  EXPECT_EQ(window().frameGeometry(), expected);
  EXPECT_NE(expected.topLeft(), QPoint(50, 50));
}

TEST_F(WindowLayoutTest, CanBeNeitherResizedNorMaximised) {
  EXPECT_EQ(window().minimumSize(), window().maximumSize());
  EXPECT_EQ(window().windowHandle()->minimumSize(), window().windowHandle()->maximumSize());
  const QSize before = window().frameGeometry().size();
  window().resize(1000, 400);
  EXPECT_EQ(window().frameGeometry().size(), before);

  const Qt::WindowFlags flags = window().windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << "only the buttons asked for";
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(flags.testFlag(Qt::FramelessWindowHint));
}

TEST_F(WindowLayoutTest, IsATopLevelWindowWithTheCaption) {
  EXPECT_TRUE(window().isWindow());
  EXPECT_EQ(window().parentWidget(), nullptr);
  EXPECT_FALSE(window().isModal());
  EXPECT_EQ(window().windowTitle().toStdString(),
            std::string("Zelmora免费解析下载工具 - ") + kPublisherAddress);
}

struct ControlRow {
  const char* name;
  QRect area;  // client coordinates
};

TEST_F(WindowLayoutTest, ControlsStandAtTheirPlacesInTheDefaultFont) {
  const ControlRow rows[] = {
      {"addressBox", {10, 10, 630, 40}},
      {"resolveButton", {650, 10, 80, 40}},
      {"resultBox", {10, 60, 720, 40}},
  };
  for (const ControlRow& row : rows) {
    SCOPED_TRACE(row.name);
    const QWidget* control = window().findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), row.area);
    EXPECT_TRUE(control->isVisible());
    EXPECT_TRUE(control->isEnabled());
    EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetFont)) << "inherits the default GUI font";
    EXPECT_EQ(control->font(), QApplication::font());
  }
  EXPECT_EQ(QApplication::font(), QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

TEST_F(WindowLayoutTest, EditBoxesAreSingleLinesOfCentredBlackOnWhite) {
  for (QLineEdit* box : {&addressBox(), &resultBox()}) {
    SCOPED_TRACE(box->objectName().toStdString());
    EXPECT_EQ(box->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(box->hasFrame());
    EXPECT_FALSE(box->hasSelectedText());
    EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_TRUE(box->inputMask().isEmpty());
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      EXPECT_EQ(box->palette().color(group, QPalette::Base), QColor(Qt::white));
      EXPECT_EQ(box->palette().color(group, QPalette::Text), QColor(Qt::black));
    }
  }
  EXPECT_EQ(addressBox().text().toStdString(), kSampleTrackAddress);
  EXPECT_FALSE(addressBox().isReadOnly());
  EXPECT_TRUE(resultBox().text().isEmpty());
  EXPECT_TRUE(resultBox().isReadOnly());
}

TEST_F(WindowLayoutTest, TheButtonIsAnOrdinaryPushButton) {
  EXPECT_EQ(resolveButton().text().toStdString(), "解析");
  EXPECT_FALSE(resolveButton().isDefault());
  EXPECT_FALSE(resolveButton().autoDefault());
  EXPECT_TRUE(resolveButton().icon().isNull());
}

TEST_F(WindowLayoutTest, TabVisitsAddressButtonAndResultInTurn) {
  EXPECT_EQ(QApplication::focusWidget(), &addressBox()) << "the address box has the focus first";
  for (QWidget* next :
       {static_cast<QWidget*>(&resolveButton()), static_cast<QWidget*>(&resultBox()),
        static_cast<QWidget*>(&addressBox())}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

}  // namespace
}  // namespace zelmora::testing
