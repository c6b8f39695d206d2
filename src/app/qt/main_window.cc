#include "app/qt/main_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <limits>

#include "app/qt/qt_text.h"
#include "app/resolve_workflow.h"
#include "app/site_constants.h"
#include "runtime/events.h"

namespace zelmora {
namespace {

// The whole window, frame and title bar included.
constexpr int kOuterWidth = 746;
constexpr int kOuterHeight = 137;

// The controls, in client coordinates.
constexpr QRect kAddressBoxArea(10, 10, 630, 40);
constexpr QRect kResolveButtonArea(650, 10, 80, 40);
constexpr QRect kResultBoxArea(10, 60, 720, 40);

void DispatchPendingEvents() { QCoreApplication::processEvents(); }

QLineEdit* MakeEditBox(QWidget* window, const char* name, const QRect& area) {
  auto* box = new QLineEdit(window);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(area);
  box->setAlignment(Qt::AlignCenter);
  // Neither a typed address nor a written result is ever cut short.
  box->setMaxLength(std::numeric_limits<int>::max());
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  box->setPalette(palette);
  return box;
}

}  // namespace

MainWindow::MainWindow(Text& headers)
    : headers_(headers),
      addressBox_(MakeEditBox(this, "addressBox", kAddressBoxArea)),
      resolveButton_(new QPushButton(QStringLiteral("解析"), this)),
      resultBox_(MakeEditBox(this, "resultBox", kResultBoxArea)),
      view_(*addressBox_, *resultBox_) {
  setWindowTitle(QStringLiteral("Zelmora免费解析下载工具 - ") +
                 QString::fromUtf8(kPublisherAddress));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setBackgroundRole(QPalette::Button);
  setFixedSize(kOuterWidth, kOuterHeight);
  CentreOnPrimaryScreen();

  addressBox_->setText(QString::fromUtf8(kSampleTrackAddress));
  addressBox_->setCursorPosition(0);
  resultBox_->setReadOnly(true);
  resolveButton_->setObjectName(QStringLiteral("resolveButton"));
  resolveButton_->setGeometry(kResolveButtonArea);
  resolveButton_->setAutoDefault(false);
  resolveButton_->setDefault(false);
  // The Tab order follows the creation order: address box, button, result box.
  setTabOrder(addressBox_, resolveButton_);
  setTabOrder(resolveButton_, resultBox_);
  addressBox_->setFocus();

  connect(resolveButton_, &QPushButton::clicked, this,
          [this] { static_cast<void>(OnParseClicked(view_, headers_)); });
  SetEventPump(&DispatchPendingEvents);
}

MainWindow::~MainWindow() { SetEventPump(nullptr); }

bool MainWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  // The frame's size is known only once the window system has framed the
  // window; the client area then shrinks so that the outer size stays fixed.
  if (event->type() == QEvent::Show || event->type() == QEvent::Move) FitOuterSize();
  return handled;
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::FitOuterSize() {
  const QMargins frame = windowHandle() == nullptr ? QMargins() : windowHandle()->frameMargins();
  const QSize client(kOuterWidth - frame.left() - frame.right(),
                     kOuterHeight - frame.top() - frame.bottom());
  if (minimumSize() != client || maximumSize() != client) setFixedSize(client);
}

// Places the frame's top-left corner so that the whole window stands in the
// middle of the primary screen's full area (taskbars and panels included).
void MainWindow::CentreOnPrimaryScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - kOuterWidth) / 2, area.y() + (area.height() - kOuterHeight) / 2);
}

}  // namespace zelmora
