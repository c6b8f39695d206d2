#pragma once

// Merging the cookies a request sent with the cookies its response set.
// Cookie texts hold name=value cookies separated by ";" (a Cookie header
// value) or "; " (returned cookies). None of these operations fails.

#include "runtime/text.h"

namespace zelmora {

// The merged cookies: the returned cookies in their order, then each sent
// cookie whose name no earlier cookie carries, less every cookie ending in
// "=deleted" and exact repeats, separated by "; ". Removes all spaces from
// both of the caller's variables first; afterwards `sentCookies` holds the
// merged text. Linear in the length of both texts.
Text MergeCookies(Text& sentCookies, Text& returnedCookies);

// The part of `cookie` before its first '=' (all of it without one), trimmed
// of spaces.
Text CookieName(const Text& cookie);

// Whether a member of `cookies` has the CookieName `name` (with letter case).
bool CookieListHasName(const TextList& cookies, const Text& name);

// The items of `source` without repeats, in the order of their first
// appearance, joined by `separator`. With `splitBySeparator` the items are
// the pieces between separators, otherwise the characters of SplitCharacters.
Text JoinDistinct(const Text& source, const Text& separator, bool splitBySeparator);

// Replaces the members of `characters` by the characters of `source`: a byte
// above 80 hex and the byte after it, or CR LF, make one member, every other
// byte and the last byte one member each. Returns the number of members.
Position SplitCharacters(const Text& source, TextList& characters);

// The 1-based index of the first member equal to `item` (with letter case),
// or -1.
Position FindInList(const TextList& list, const Text& item);

}  // namespace zelmora
