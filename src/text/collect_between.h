#pragma once

#include "runtime/text.h"

namespace zelmora {

// How CollectBetween builds and filters each collected text. Every member
// left out has the effect of its zero value.
struct CollectOptions {
  bool ignoreCase = false;          // passed to every search: A to Z match a to z
  Position maxLength = 0;           // 0: no limit; else keep texts strictly shorter
  Text prefix;                      // put in front of each piece
  Text suffix;                      // put behind each piece
  bool includeLeftMarker = false;   // put the left marker in front of each text
  bool includeRightMarker = false;  // put the right marker behind each text
  Position startPosition = 1;       // where the first search begins; below 1 means 1
};

// Collects into `results` (its previous members are dropped) every piece
// between an occurrence of `leftMarker` and the next `rightMarker` after it,
// in order, and returns the number of members. The search for the next left
// marker starts right behind the previous one, so pieces may overlap. After
// each pass that found both markers, ProcessEvents runs three times. An empty
// left marker collects nothing. Linear in the source, plus the size of what
// is collected.
Position CollectBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                        TextList& results, const CollectOptions& options = {});

}  // namespace zelmora
