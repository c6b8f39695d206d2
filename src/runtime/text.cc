#include "runtime/text.h"

#include <ostream>

namespace zelmora {

std::ostream& operator<<(std::ostream& out, const Text& text) { return out << text.view(); }

}  // namespace zelmora
