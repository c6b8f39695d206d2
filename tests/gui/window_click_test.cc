// A click of the button runs the resolve workflow against the replica of the
// site, and a click waiting while a run searches the page runs a whole
// nested resolve.

#include <QMouseEvent>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "app/site_constants.h"
#include "site/replica_content.h"
#include "window_fixture.h"

namespace zelmora::testing {
namespace {

using WindowClickTest = WindowTest;

std::string Shown(const QLineEdit& box) { return box.text().toStdString(); }

TEST_F(WindowClickTest, ResolvesTheSampleAddressIntoTheMediaAddress) {
  QTest::mouseClick(&resolveButton(), Qt::LeftButton);

  EXPECT_EQ(Shown(resultBox()), MediaAddress(kSampleTrackId));
  EXPECT_EQ(resultBox().cursorPosition(), 0);
  EXPECT_EQ(Shown(addressBox()), kSampleTrackAddress) << "the address box is only read";
  EXPECT_EQ(site().RequestCount(), 3);
  EXPECT_NE(headers().view().find(std::string("\r\nReferer: ") + kSampleTrackAddress),
            std::string_view::npos)
      << "the window's header variable keeps the completed header text";
}

// Posts a click of `button` to the event queue, where it waits like a click
// the user made while the window was busy.
void PostClick(QPushButton& button) {
  const QPointF centre = QRectF(button.rect()).center();
  const QPointF global = button.mapToGlobal(centre);
  QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                       Qt::LeftButton, Qt::LeftButton, {}));
  QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                       Qt::LeftButton, Qt::NoButton, {}));
}

TEST_F(WindowClickTest, AClickWaitingDuringTheCollectionRunsANestedResolve) {
  // The first run resolves the sample. Waiting in the queue: the address
  // box changing to a second track, then a click. Both are dispatched when
  // the first run's page search pumps the events.
  const std::string second = TrackAddress("2024000001");
  QMetaObject::invokeMethod(
      &addressBox(), [this, &second] { addressBox().setText(QString::fromStdString(second)); },
      Qt::QueuedConnection);
  PostClick(resolveButton());
  std::vector<std::string> written;
  QObject::connect(&resultBox(), &QLineEdit::textChanged,
                   [&written](const QString& text) { written.push_back(text.toStdString()); });

  QTest::mouseClick(&resolveButton(), Qt::LeftButton);

  EXPECT_EQ(written,
            (std::vector<std::string>{MediaAddress("2024000001"), MediaAddress(kSampleTrackId)}))
      << "the nested run writes first, the interrupted one last";
  EXPECT_EQ(Shown(resultBox()), MediaAddress(kSampleTrackId));

  // The requests in order: the first run's track page and mobile page, the
  // whole nested run, then the first run's script, which carries the header
  // text that the nested run left behind.
  const std::vector<ReceivedRequest> requests = site().Requests();
  ASSERT_EQ(requests.size(), 6U);
  const auto pathOf = [&requests](std::size_t i) { return requests[i].target; };
  EXPECT_EQ(pathOf(0), "/playmc/" + std::string(kSampleTrackId) + ".html");
  EXPECT_EQ(pathOf(2), "/playmc/2024000001.html");
  EXPECT_EQ(requests[2].Header("Host"), kDesktopHost);
  EXPECT_EQ(requests[3].Header("Host"), MobileHost());
  EXPECT_EQ(pathOf(4).rfind("/showmc/", 0), 0U);
  EXPECT_EQ(pathOf(5).rfind("/showmc/", 0), 0U);
  EXPECT_EQ(requests[1].Header("Referer"), kSampleTrackAddress);
  EXPECT_EQ(requests[5].Header("Referer"), second);
}

}  // namespace
}  // namespace zelmora::testing
