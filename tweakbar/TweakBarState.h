// The tweak-bar layer's own state: bars, entries, enumeration types and pending input.
// Internal to the layer; tests read it through TweakBarInspect.h.
#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "TweakBar.h"

struct ImGuiContext;
struct ImGuiIO;

namespace tweakbar {

// ImGui's key index of a GLUT special key is its code plus this (characters stay below it).
constexpr int kSpecialBase = 256;
constexpr std::size_t kKeyIndices = 512;

// A key shortcut as written in a definition ("CTRL+s", "z", "DEL", "F5").
struct KeyShortcut {
  bool valid = false;
  bool special = false;  // a GLUT special-key code rather than a character
  int code = 0;          // character (lower case for CTRL+letter) or special-key code
  int modifiers = 0;     // GLUT_ACTIVE_SHIFT / CTRL / ALT bits
};

enum class EntryKind { Variable, CallbackVariable, Button, Separator };

struct Entry {
  EntryKind kind = EntryKind::Separator;
  std::string name;
  std::string label;  // what the bar shows; entries are told apart by it
  TwType type = TW_TYPE_UNDEF;
  void* variable = nullptr;  // bound variable of a read-write entry
  TwSetVarCallback setCallback = nullptr;
  TwGetVarCallback getCallback = nullptr;
  TwButtonCallback buttonCallback = nullptr;
  void* clientData = nullptr;
  float step = 1.0f;
  int precision = -1;             // digits a float shows after the point; -1: as many as it needs
  std::vector<KeyShortcut> keys;  // a button's shortcuts: "key" may name several, space apart
  std::string keyText;
  // While a value field is being edited, the edit lives here until it is committed.
  std::string editText;
  float editFloat = 0.0f;
  bool wasActive = false;  // the field had the keyboard in the last frame
  // A drop-down list: called as it opens; whether it was open in the last frame.
  TwButtonCallback listOpenCallback = nullptr;
  void* listOpenClientData = nullptr;
  bool listWasOpen = false;
};

struct Rect {
  float x = 0, y = 0, width = 0, height = 0;  // window pixels, y downwards
  bool Contains(float px, float py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

}  // namespace tweakbar

struct TwBar {
  std::string name;
  tweakbar::Rect rect{16, 16, 200, 320};  // the place and size it is defined with
  // Where it was drawn in the last frame, which events are tested against: lower than `rect`
  // when the window is too low for it (it scrolls then).
  tweakbar::Rect shown{16, 16, 200, 320};
  int valuesWidth = 100;
  std::array<int, 3> color{17, 109, 143};
  int alpha = 255;
  float refresh = 0.2f;
  bool iconifiable = true;
  bool movable = true;
  bool resizable = true;
  bool placeNext = true;  // position and size go to ImGui at the next frame
  std::vector<tweakbar::Entry> entries;
};

namespace tweakbar {

struct EnumType {
  std::string name;
  std::vector<std::pair<int, std::string>> values;
};

// One input transition waiting to be fed to Dear ImGui, or a button's callback that waits for
// the transitions queued before it (a shortcut pressed while a field is edited runs once the
// field has taken the Enter that commits it), or the end of whatever the bars have open: a
// field's edit, committed, and a drop-down list (a press elsewhere, Escape over an open list).
struct PendingInput {
  enum Kind { MouseMove, MouseButton, KeyDown, Character, RunButton, CloseAll } kind = MouseMove;
  float x = 0, y = 0;
  int button = 0;  // ImGui mouse button index
  bool down = false;
  int key = 0;  // ImGui key index (KeyDown) or character (Character)
  bool ctrl = false, shift = false, alt = false;
  TwButtonCallback callback = nullptr;  // RunButton
  void* clientData = nullptr;
};

struct Context {
  bool initialised = false;
  int windowWidth = 0;
  int windowHeight = 0;
  std::vector<std::unique_ptr<TwBar>> bars;
  std::vector<EnumType> enums;  // type of enums[i] is TW_TYPE_ENUM_BASE + i
  TwErrorHandler errorHandler = nullptr;
  TwCopyStdStringToClient copyString = nullptr;
  int (*getModifiers)() = nullptr;

  std::deque<PendingInput> pending;
  std::array<bool, 3> dragFromBar{};  // a press that a bar took, per button, until its release
  std::array<int, kKeyIndices> keysReleaseNextFrame{};
  bool editing = false;  // a value field had the keyboard in the last frame
  bool popupOpen = false;
  Rect popupRect;

  ImGuiContext* imgui = nullptr;
  bool rendererReady = false;
  std::chrono::steady_clock::time_point lastFrame{};
};

Context& State();
void ReportError(const std::string& message);
TwBar* FindBar(const std::string& name);
const EnumType* FindEnum(TwType type);
int CurrentModifiers();

// Parsing of definition strings and shortcuts (TweakBarDefine.cpp).
bool ParseKey(const std::string& text, KeyShortcut& out);
bool ApplyEntryDefinition(Entry& entry, const std::string& def);

// Tells ImGui the key indices that events are queued under (TweakBarEvents.cpp).
void MapKeys(ImGuiIO& io);

// One Dear ImGui frame over every bar, without OpenGL: feeds one pending input transition,
// runs the widgets and their callbacks, and records what the next events need to know.
void RunFrame();

// Runs frames until every transition queued so far has been fed, so that what an event means
// (text for a field, a list's Escape, a press on an open list) follows from the events before it.
void CatchUp();

// Shuts the OpenGL 2 backend down once TwDraw has set it up (TweakBarDraw.cpp): its data and
// font texture. Deleting a texture needs the context that drew, if there still is one.
void ReleaseRenderer();

}  // namespace tweakbar
