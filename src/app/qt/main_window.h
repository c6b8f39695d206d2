#pragma once

// The program's window: the address box, the resolve button and the result
// box, at fixed places in a window of fixed size centred on the primary
// screen.

#include <QWidget>

#include "app/qt/line_edit_view.h"
#include "runtime/text.h"

class QLineEdit;
class QPushButton;

namespace zelmora {

// Child object names, for tests and accessibility: "addressBox",
// "resolveButton" and "resultBox".
//
// A click of the button runs OnParseClicked on the window's thread. While it
// runs, the event pump installed by the window dispatches Qt's pending
// events whenever the workflow searches a page, so a click waiting there
// runs a whole nested resolve before the first one resumes. Escape closes
// the window; Enter does nothing, since the button is not a default button.
class MainWindow final : public QWidget {
 public:
  // `headers` is the header variable that every run resets and completes;
  // it must outlive the window. Installs the event pump.
  explicit MainWindow(Text& headers);
  // Removes the event pump.
  ~MainWindow() override;

  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FitOuterSize();
  void CentreOnPrimaryScreen();

  Text& headers_;
  QLineEdit* addressBox_;
  QPushButton* resolveButton_;
  QLineEdit* resultBox_;
  LineEditView view_;
};

}  // namespace zelmora
