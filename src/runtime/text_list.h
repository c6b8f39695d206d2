#pragma once

#include "runtime/text.h"

namespace zelmora {

// Number of members.
Position ListCount(const TextList& list);
// Member i, for 1 <= i <= count. Any other index stops the program (see
// runtime/stop.h); no input of the program reaches that.
const Text& ListItem(const TextList& list, Position i);
// Adds a copy of the text as the last member.
void ListAppend(TextList& list, const Text& text);

}  // namespace zelmora
