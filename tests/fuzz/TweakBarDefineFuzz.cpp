// Fuzz target: bar definitions (TwDefine) and entry definitions (the def of TwAddButton) on a
// bar with a few entries. A definition that is refused must leave the bar exactly as it was.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "TweakBar.h"
#include "TweakBarState.h"

namespace {

using fuzzsupport::Fail;

void IgnoreBarError(const char*) {}
void NoAction(void*) {}

bool SameKey(const tweakbar::KeyShortcut& a, const tweakbar::KeyShortcut& b) {
  return a.valid == b.valid && a.special == b.special && a.code == b.code && a.modifiers == b.modifiers;
}

bool SameKeys(const std::vector<tweakbar::KeyShortcut>& a, const std::vector<tweakbar::KeyShortcut>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameKey);
}

bool SameBar(const TwBar& a, const TwBar& b) {
  if (a.rect.x != b.rect.x || a.rect.y != b.rect.y || a.rect.width != b.rect.width ||
      a.rect.height != b.rect.height || a.valuesWidth != b.valuesWidth || a.color != b.color ||
      a.alpha != b.alpha || a.refresh != b.refresh || a.iconifiable != b.iconifiable ||
      a.movable != b.movable || a.resizable != b.resizable || a.entries.size() != b.entries.size())
    return false;
  for (std::size_t i = 0; i < a.entries.size(); ++i) {
    const tweakbar::Entry &x = a.entries[i], &y = b.entries[i];
    if (x.label != y.label || x.step != y.step || x.keyText != y.keyText || !SameKeys(x.keys, y.keys))
      return false;
  }
  return true;
}

int gValue = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TwHandleErrors(IgnoreBarError);
  TwInit(TW_OPENGL, nullptr);
  return 0;
}

// The input up to the first newline is a bar definition; the rest an entry definition.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string barDef = input.substr(0, split);  // stops at a NUL too, as a C string does
  const std::string entryDef = split == std::string::npos ? std::string() : input.substr(split + 1);

  TwBar* bar = TwNewBar("B");
  if (bar == nullptr) Fail("no bar");
  TwAddVarRW(bar, "v", TW_TYPE_INT32, &gValue, "label=Value");
  TwAddButton(bar, "b", NoAction, nullptr, "label='Go' key=CTRL+g");

  const TwBar before = *bar;
  const int defined = TwDefine(barDef.c_str());
  if (defined != 0 && defined != 1) Fail("TwDefine returned neither 0 nor 1");
  if (defined == 0 && !SameBar(before, *bar)) Fail("a refused bar definition changed the bar");
  if (bar->rect.width <= 0 || bar->rect.height <= 0) Fail("a bar without area");

  const TwBar beforeEntry = *bar;
  const int added = TwAddButton(bar, "e", NoAction, nullptr, entryDef.c_str());
  if (added == 0 && !SameBar(beforeEntry, *bar)) Fail("a refused entry was added");
  if (added == 1 && bar->entries.size() != beforeEntry.entries.size() + 1) Fail("entry not added");
  if (added == 1 && bar->entries.back().step <= 0.0f) Fail("an entry with a step of zero or less");
  TwDeleteBar(bar);
  return 0;
}
