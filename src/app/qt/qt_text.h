#pragma once

// Texts crossing between the window's Unicode strings and the code page 936
// texts that the workflow handles.

#include <QString>

#include "runtime/text.h"

namespace zelmora {

// The string as code page 936 bytes, exactly as shown: nothing is trimmed.
// Characters the code page lacks become their best-fit equivalent or "?",
// and a U+0000 ends the text, as the code page conversion does.
Text TextFromQString(const QString& string);

// The text for display; a byte that forms no character shows as "?".
QString QStringFromText(const Text& text);

}  // namespace zelmora
