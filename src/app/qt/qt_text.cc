#include "app/qt/qt_text.h"

#include <QByteArray>

#include "text/gbk_to_utf8.h"
#include "text/utf8_to_gbk.h"

namespace zelmora {

Text TextFromQString(const QString& string) {
  const QByteArray utf8 = string.toUtf8();
  return Utf8ToGbk(ByteSet(utf8.begin(), utf8.end()));
}

QString QStringFromText(const Text& text) {
  const std::string utf8 = GbkToUtf8(text.view());
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace zelmora
