#include "runtime/text_list.h"

#include "runtime/stop.h"

namespace zelmora {

Position ListCount(const TextList& list) { return static_cast<Position>(list.size()); }

const Text& ListItem(const TextList& list, Position i) {
  GuardIndex(i, ListCount(list));
  return list[static_cast<std::size_t>(i - 1)];
}

void ListAppend(TextList& list, const Text& text) { list.push_back(text); }

}  // namespace zelmora
