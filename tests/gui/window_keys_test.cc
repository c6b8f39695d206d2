// Keys: Escape closes the window wherever the focus is; Enter neither moves
// the focus nor presses the button.

#include <QTimer>
#include <tuple>

#include "window_fixture.h"

namespace zelmora::testing {
namespace {

class EscapeTest : public WindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EscapeTest, ClosesTheWindowAndEndsTheEventLoop) {
  QWidget* control = window().findChild<QWidget*>(QString::fromLatin1(GetParam()));
  ASSERT_NE(control, nullptr);
  Focus(*control);
  // Only a failing case waits for the guard, which ends the loop with 1.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(1); });
  guard.start(10000);
  QTimer::singleShot(0, control, [control] { QTest::keyClick(control, Qt::Key_Escape); });

  EXPECT_EQ(QApplication::exec(), 0) << "the loop ended when the window closed";
  EXPECT_FALSE(window().isVisible());
}

INSTANTIATE_TEST_SUITE_P(EveryControl, EscapeTest,
                         ::testing::Values("addressBox", "resolveButton", "resultBox"));

class EnterTest : public WindowTest,
                  public ::testing::WithParamInterface<std::tuple<const char*, Qt::Key>> {};

TEST_P(EnterTest, DoesNothing) {
  const auto [name, key] = GetParam();
  QWidget* control = window().findChild<QWidget*>(QString::fromLatin1(name));
  ASSERT_NE(control, nullptr);
  resultBox().setText(QStringLiteral("earlier result"));
  Focus(*control);

  QTest::keyClick(control, key);
  QApplication::processEvents();

  EXPECT_EQ(site().RequestCount(), 0) << "no run started";
  EXPECT_TRUE(headers().empty()) << "no run started";
  EXPECT_EQ(resultBox().text(), QStringLiteral("earlier result"));
  EXPECT_EQ(QApplication::focusWidget(), control);
  EXPECT_TRUE(window().isVisible());
}

INSTANTIATE_TEST_SUITE_P(AddressBoxAndButton, EnterTest,
                         ::testing::Combine(::testing::Values("addressBox", "resolveButton"),
                                            ::testing::Values(Qt::Key_Return, Qt::Key_Enter)),
                         [](const auto& row) {
                           return std::string(std::get<0>(row.param)) +
                                  (std::get<1>(row.param) == Qt::Key_Return ? "Return" : "Enter");
                         });

// The counterpart of the Enter cases: the same keyboard path does reach the
// button when the key is one that presses it.
TEST_F(WindowTest, SpaceOnTheFocusedButtonPressesIt) {
  Focus(resolveButton());
  QTest::keyClick(&resolveButton(), Qt::Key_Space);
  EXPECT_EQ(site().RequestCount(), 3);
  EXPECT_FALSE(resultBox().text().isEmpty());
}

}  // namespace
}  // namespace zelmora::testing
