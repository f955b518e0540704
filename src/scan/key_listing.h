#pragma once
// Every subkey or value name of an open key, read while other processes may
// be adding and removing its subkeys and values.
//
// An index that the registry hands out is only good until the next change,
// so reads by index are trusted only between two checks of a change
// notification on the key. Subkeys come sorted by name, so after a change
// the listing finds the last name it trusted and goes on after it: a subkey
// that is there from the listing's start to its end comes exactly once,
// however often its siblings come and go, as long as the key leaves a
// quiet moment of a few reads now and then. A writer that leaves none for
// long gets a listing taken by agreeing reads instead (the marker read at
// its place before and after each name); a sibling coming and going between
// every two of them could still cost a name, so such a listing is not
// "whole" and is told. Values come in no order to go on by (Windows keeps
// the order they were written in), so their listing is read again whole
// until one read sees no change.
#include <windows.h>

#include <string>
#include <vector>

namespace scan {

enum class NameKind { Values, SubKeys };

struct KeyListing {
  std::vector<std::wstring> names;  // in the registry's order, each once
  // ERROR_NO_MORE_ITEMS when the listing reached its end; any other error
  // broke it off, with the names read up to there.
  LONG end = ERROR_NO_MORE_ITEMS;
  // False when the key kept changing for longer than the listing waits for
  // a quiet moment: some names may be missing.
  bool whole = true;
};

KeyListing ListNames(HKEY key, NameKind kind);

}  // namespace scan
