// The result box refuses the user's edits yet shows what the workflow
// writes; texts cross between the boxes and the workflow in code page 936.

#include <QClipboard>
#include <string>

#include "http/host_mapping.h"
#include "site/replica_content.h"
#include "support/loopback_server.h"
#include "window_fixture.h"

namespace zelmora::testing {
namespace {

using ResultBoxTest = WindowTest;

TEST_F(ResultBoxTest, RefusesEditsYetShowsTheWorkflowsWriteAndCopies) {
  QTest::mouseClick(&resolveButton(), Qt::LeftButton);
  const QString result = resultBox().text();
  ASSERT_EQ(result.toStdString(), MediaAddress(kSampleTrackId)) << "shown as soon as written";

  QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
  Focus(resultBox());
  QTest::keyClicks(&resultBox(), QStringLiteral("typed"));
  for (const QKeySequence::StandardKey edit :
       {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Delete, QKeySequence::Backspace,
        QKeySequence::DeleteEndOfWord, QKeySequence::Undo}) {
    QTest::keySequence(&resultBox(), QKeySequence(edit));
  }
  EXPECT_EQ(resultBox().text(), result);

  QTest::keySequence(&resultBox(), QKeySequence(QKeySequence::SelectAll));
  QTest::keySequence(&resultBox(), QKeySequence(QKeySequence::Copy));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), result);
}

// A site of its own that answers the three steps with Chinese texts and a
// long head, and keeps what it was sent.
Reply ChineseSite(const ReceivedRequest& request) {
  if (request.target == "/track") return Reply::Redirect(302, "http://m.zelmora.example/page");
  if (request.target == "/page") {
    return Reply::Ok(
        "<script>var h5srcur = \"音乐/一.mp3\";</script>\n"
        "<script type=\"text/javascript\" src=\"/showmc/x.js\"></script>\n");
  }
  if (request.target == "/showmc/x.js") {
    return Reply::Ok("var u = 'http://媒体.example/" + std::string(40000, 'a') + "/';");
  }
  return Reply::Http(404, "Not Found", "", "");
}

TEST_F(ResultBoxTest, TextsCrossInCodePage936AndALongResultShowsWhole) {
  LoopbackServer server(&ChineseSite);
  SetHostMappings({{"", "", "127.0.0.1", std::to_string(server.port())}});
  addressBox().setText(QString::fromStdString(server.Url("/track#歌曲")));

  QTest::mouseClick(&resolveButton(), Qt::LeftButton);

  EXPECT_EQ(resultBox().text(), QString::fromStdString("http://媒体.example/" +
                                                       std::string(40000, 'a') + "/音乐/一.mp3"));
  const std::vector<ReceivedRequest> requests = server.Requests();
  ASSERT_FALSE(requests.empty());
  // The address reached the workflow as code page 936 bytes: 歌曲 is B8E8 C7FA.
  EXPECT_EQ(requests[0].Header("Referer"), server.Url("/track#\xB8\xE8\xC7\xFA"));
}

}  // namespace
}  // namespace zelmora::testing
