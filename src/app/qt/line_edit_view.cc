#include "app/qt/line_edit_view.h"

#include <QLineEdit>

#include "app/qt/qt_text.h"

namespace zelmora {

Text LineEditView::ReadAddress() { return TextFromQString(addressBox_.text()); }

void LineEditView::WriteResult(const Text& result) {
  resultBox_.setText(QStringFromText(result));
  resultBox_.setCursorPosition(0);
}

}  // namespace zelmora
