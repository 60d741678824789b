// GLUT events into the tweak-bar layer: which it takes, shortcuts, and the queue fed to ImGui.
#include <GL/freeglut.h>  // GLUT's modifier bits, button states and key codes
#include <imgui.h>

#include <cctype>

#include "TweakBarState.h"

namespace tweakbar {

namespace {

bool OnAnyBar(float x, float y) {
  const Context& state = State();
  if (state.popupOpen && state.popupRect.Contains(x, y)) return true;
  for (const auto& bar : state.bars) {
    if (bar->shown.Contains(x, y)) return true;
  }
  return false;
}

void Queue(const PendingInput& input) {
  auto& pending = State().pending;
  // Consecutive pointer moves carry nothing but the last position.
  if (input.kind == PendingInput::MouseMove && !pending.empty() &&
      pending.back().kind == PendingInput::MouseMove) {
    pending.back() = input;
    return;
  }
  pending.push_back(input);
}

PendingInput KeyInput(PendingInput::Kind kind, int key, int modifiers) {
  PendingInput input;
  input.kind = kind;
  input.key = key;
  input.ctrl = (modifiers & GLUT_ACTIVE_CTRL) != 0;
  input.shift = (modifiers & GLUT_ACTIVE_SHIFT) != 0;
  input.alt = (modifiers & GLUT_ACTIVE_ALT) != 0;
  return input;
}

// A key typed into the field being edited: characters as text, the rest as key presses.
void QueueEditKey(unsigned char key, int modifiers) {
  if ((modifiers & GLUT_ACTIVE_CTRL) && key >= 1 && key <= 26) {
    Queue(KeyInput(PendingInput::KeyDown, 'A' + key - 1, modifiers));  // Ctrl+A, C, V, X ...
  } else if (key == 8 || key == 9 || key == 13 || key == 27 || key == 127) {
    Queue(KeyInput(PendingInput::KeyDown, key, modifiers));
  } else if (key >= 32) {
    Queue(KeyInput(PendingInput::Character, key, modifiers));
  }
}

// For characters, Shift is already in the character itself unless the shortcut names it; an
// exact match also asks the shortcut to name every modifier that is held.
bool Matches(const KeyShortcut& shortcut, bool special, int code, int modifiers, bool exact) {
  if (!shortcut.valid || shortcut.special != special) return false;
  int relevant = GLUT_ACTIVE_CTRL | GLUT_ACTIVE_ALT;
  if (special || exact || (shortcut.modifiers & GLUT_ACTIVE_SHIFT)) relevant |= GLUT_ACTIVE_SHIFT;
  if ((modifiers & relevant) != (shortcut.modifiers & relevant)) return false;
  if (!special && (shortcut.modifiers & GLUT_ACTIVE_CTRL)) return std::tolower(code) == shortcut.code;
  return code == shortcut.code;
}

// The button whose shortcut matches, or null: a shortcut naming every modifier held wins over
// one that lets Shift pass (Ctrl+Shift+Z finds "CTRL+SHIFT+z" before "CTRL+z").
const Entry* FindShortcut(bool special, int code, int modifiers) {
  for (const bool exact : {true, false}) {
    for (const auto& bar : State().bars) {
      for (const Entry& entry : bar->entries) {
        if (entry.kind != EntryKind::Button) continue;
        for (const KeyShortcut& key : entry.keys)
          if (Matches(key, special, code, modifiers, exact)) return &entry;
      }
    }
  }
  return nullptr;
}

// The button whose shortcut the key is, as GLUT hands the key over: Ctrl with a letter comes as
// a control code, and keypad Delete stands for the DEL key, as the main Delete key does.
const Entry* ShortcutOfKey(int glutKey, bool special, int modifiers) {
  if (special) {
    if (glutKey == GLUT_KEY_DELETE) {
      if (const Entry* entry = FindShortcut(false, 127, modifiers)) return entry;
    }
    return FindShortcut(true, glutKey, modifiers);
  }
  int code = glutKey;
  if ((modifiers & GLUT_ACTIVE_CTRL) && code >= 1 && code <= 26) code = 'a' + code - 1;
  return FindShortcut(false, code, modifiers);
}

// The button the key runs now, after the events before it: none while a field is edited
// (it takes the key) or for Escape over an open list (it closes the list).
const Entry* ShortcutNow(int glutKey, bool special, int modifiers) {
  CatchUp();  // a click just before may have opened a field or a list
  if (State().editing) return nullptr;
  if (!special && glutKey == 27 && State().popupOpen) return nullptr;
  return ShortcutOfKey(glutKey, special, modifiers);
}

// Runs the button; true when there was one.
bool RunShortcut(const Entry* entry) {
  if (entry == nullptr) return false;
  // Copy before calling: the callback may redefine enumerations or change bars.
  TwButtonCallback callback = entry->buttonCallback;
  void* clientData = entry->clientData;
  if (callback != nullptr) callback(clientData);
  return true;
}

// Ctrl with a letter that edits the field's own text: select all, copy, paste, cut, undo, redo.
bool IsTextEditingChord(int letter) {
  return letter == 'a' || letter == 'c' || letter == 'v' || letter == 'x' || letter == 'y' || letter == 'z';
}

// While a field is edited, a Ctrl shortcut of a button commits the edit, as Enter would, and
// then runs the button, so that Ctrl+S saves under the name just typed. True when one matched.
bool CommitEditThenRunShortcut(unsigned char key, int modifiers) {
  if (!(modifiers & GLUT_ACTIVE_CTRL) || key < 1 || key > 26) return false;
  const int letter = 'a' + key - 1;
  if (IsTextEditingChord(letter)) return false;
  const Entry* entry = FindShortcut(false, letter, modifiers);
  if (entry == nullptr) return false;
  Queue(KeyInput(PendingInput::KeyDown, 13, 0));
  PendingInput run;
  run.kind = PendingInput::RunButton;
  run.callback = entry->buttonCallback;
  run.clientData = entry->clientData;
  Queue(run);
  return true;
}

void QueueCloseAll() {
  PendingInput input;
  input.kind = PendingInput::CloseAll;
  Queue(input);
}

int ImGuiButtonOf(int glutButton) {
  static const int kMap[3] = {0, 2, 1};  // GLUT left, middle, right -> ImGui left, middle, right
  return kMap[glutButton];
}

}  // namespace

// The keys are queued under GLUT's codes (characters) and kSpecialBase + GLUT's special-key
// codes; this tells ImGui which of those indices its text fields act on.
void MapKeys(ImGuiIO& io) {
  io.KeyMap[ImGuiKey_Tab] = 9;
  io.KeyMap[ImGuiKey_LeftArrow] = kSpecialBase + GLUT_KEY_LEFT;
  io.KeyMap[ImGuiKey_UpArrow] = kSpecialBase + GLUT_KEY_UP;
  io.KeyMap[ImGuiKey_RightArrow] = kSpecialBase + GLUT_KEY_RIGHT;
  io.KeyMap[ImGuiKey_DownArrow] = kSpecialBase + GLUT_KEY_DOWN;
  io.KeyMap[ImGuiKey_PageUp] = kSpecialBase + GLUT_KEY_PAGE_UP;
  io.KeyMap[ImGuiKey_PageDown] = kSpecialBase + GLUT_KEY_PAGE_DOWN;
  io.KeyMap[ImGuiKey_Home] = kSpecialBase + GLUT_KEY_HOME;
  io.KeyMap[ImGuiKey_End] = kSpecialBase + GLUT_KEY_END;
  io.KeyMap[ImGuiKey_Insert] = kSpecialBase + GLUT_KEY_INSERT;
  io.KeyMap[ImGuiKey_Delete] = 127;
  io.KeyMap[ImGuiKey_Backspace] = 8;
  io.KeyMap[ImGuiKey_Space] = 32;
  io.KeyMap[ImGuiKey_Enter] = 13;
  io.KeyMap[ImGuiKey_Escape] = 27;
  io.KeyMap[ImGuiKey_KeyPadEnter] = 13;
  io.KeyMap[ImGuiKey_A] = 'A';
  io.KeyMap[ImGuiKey_C] = 'C';
  io.KeyMap[ImGuiKey_V] = 'V';
  io.KeyMap[ImGuiKey_X] = 'X';
  io.KeyMap[ImGuiKey_Y] = 'Y';
  io.KeyMap[ImGuiKey_Z] = 'Z';
}

}  // namespace tweakbar

using namespace tweakbar;

int TwEventKeyboardGLUT(unsigned char glutKey, int /*mouseX*/, int /*mouseY*/) {
  if (!State().initialised) return 0;
  CatchUp();  // a click just before may have opened a field or a list
  const int modifiers = CurrentModifiers();
  if (State().editing) {
    if (!CommitEditThenRunShortcut(glutKey, modifiers)) QueueEditKey(glutKey, modifiers);
    return 1;
  }
  // Escape closes an open list and goes no further; with nothing open it is the program's.
  if (glutKey == 27 && State().popupOpen) {
    QueueCloseAll();
    return 1;
  }
  return RunShortcut(ShortcutOfKey(glutKey, false, modifiers)) ? 1 : 0;
}

int TwEventSpecialGLUT(int glutKey, int /*mouseX*/, int /*mouseY*/) {
  if (!State().initialised) return 0;
  CatchUp();
  const int modifiers = CurrentModifiers();
  if (State().editing) {
    const int key = glutKey == GLUT_KEY_DELETE ? 127 : kSpecialBase + glutKey;
    Queue(KeyInput(PendingInput::KeyDown, key, modifiers));
    return 1;
  }
  return RunShortcut(ShortcutOfKey(glutKey, true, modifiers)) ? 1 : 0;
}

int TwKeyIsShortcut(int glutKey, int special, int modifiers) {
  if (!State().initialised) return 0;
  return ShortcutNow(glutKey, special != 0, modifiers) != nullptr ? 1 : 0;
}

int TwRunKeyShortcut(int glutKey, int special, int modifiers) {
  if (!State().initialised) return 0;
  return RunShortcut(ShortcutNow(glutKey, special != 0, modifiers)) ? 1 : 0;
}

int TwEventMouseButtonGLUT(int glutButton, int glutState, int mouseX, int mouseY) {
  Context& state = State();
  if (!state.initialised || glutButton < 0 || glutButton > 2) return 0;
  const int button = ImGuiButtonOf(glutButton);
  const float x = static_cast<float>(mouseX);
  const float y = static_cast<float>(mouseY);
  const bool down = glutState == GLUT_DOWN;
  CatchUp();  // whether a list is open, and where, follows from the events before this one
  bool taken = false;
  if (down) {
    taken = OnAnyBar(x, y);
    state.dragFromBar[static_cast<std::size_t>(button)] = taken;
  } else {
    // A release belongs to its press: one that began in the scene goes back to the scene,
    // so the editor never keeps a button it thinks is held.
    taken = state.dragFromBar[static_cast<std::size_t>(button)];
    state.dragFromBar[static_cast<std::size_t>(button)] = false;
  }
  // A press of any button outside the bars ends a field's edit and closes an open list before
  // the program sees the press: the typed value goes to what it was typed for (the point
  // selected while it was typed), as a commit with Enter would, and only then does the click act.
  const bool closes = down && !taken && (state.editing || state.popupOpen);
  if (closes) QueueCloseAll();
  // ImGui sees every press and release too.
  PendingInput input;
  input.kind = PendingInput::MouseButton;
  input.x = x, input.y = y, input.button = button, input.down = down;
  Queue(input);
  if (closes) CatchUp();
  return taken ? 1 : 0;
}

int TwEventMouseMotionGLUT(int mouseX, int mouseY) {
  Context& state = State();
  if (!state.initialised) return 0;
  PendingInput input;
  input.kind = PendingInput::MouseMove;
  input.x = static_cast<float>(mouseX), input.y = static_cast<float>(mouseY);
  Queue(input);
  // Motion with a button held belongs to the drag that press started.
  const bool taken = state.dragFromBar[0] || state.dragFromBar[1] || state.dragFromBar[2];
  return taken ? 1 : 0;
}

int TwIsOnBar(int mouseX, int mouseY) {
  if (!State().initialised) return 0;
  return OnAnyBar(static_cast<float>(mouseX), static_cast<float>(mouseY)) ? 1 : 0;
}
