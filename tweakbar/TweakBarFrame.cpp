// One Dear ImGui frame over every bar: input fed one transition at a time, widgets, callbacks.
// Needs no OpenGL; TwDraw renders what this produces.
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>  // snprintf, for the format of a float with a fixed precision
#include <functional>

#include "TweakBarState.h"

namespace tweakbar {

namespace {

// A bar cut to the window's height keeps at least this much (its title and a row or two).
constexpr float kShortestBar = 48.0f;
constexpr int kCatchUpFrames = 256;

struct FrameWork {
  std::vector<std::function<void()>> actions;  // callbacks, run once the widgets are done
  bool editing = false;
};

// ImGui 1.86 polls its input once per frame, so a press and a release that arrive between two
// frames would cancel out. Feed at most one button or key transition per frame; pointer moves
// and typed characters (which ImGui queues itself) go along with it. A key is let go in the
// frame after its press, and pressed again no sooner than the frame after that: ImGui would
// take a key that stays down as one press. True when the bars are to close what they have open.
bool FeedPendingInput(ImGuiIO& io) {
  Context& state = State();
  std::array<bool, kKeyIndices> letGo{};
  for (std::size_t index = 0; index < letGo.size(); ++index) {
    if (state.keysReleaseNextFrame[index] == 0) continue;
    io.KeysDown[index] = false;
    letGo[index] = true;
    state.keysReleaseNextFrame[index] = 0;
  }
  io.KeyCtrl = io.KeyShift = io.KeyAlt = false;
  while (!state.pending.empty()) {
    const PendingInput input = state.pending.front();
    if (input.kind == PendingInput::KeyDown && letGo[static_cast<std::size_t>(input.key) % kKeyIndices])
      break;  // the same key again: next frame
    state.pending.pop_front();
    if (input.kind == PendingInput::MouseMove) {
      io.MousePos = ImVec2(input.x, input.y);
    } else if (input.kind == PendingInput::Character) {
      io.AddInputCharacter(static_cast<unsigned int>(input.key));
    } else if (input.kind == PendingInput::RunButton) {
      // Everything queued before it has been fed and its frame's callbacks have run.
      if (input.callback != nullptr) input.callback(input.clientData);
    } else if (input.kind == PendingInput::CloseAll) {
      return true;
    } else if (input.kind == PendingInput::MouseButton) {
      io.MousePos = ImVec2(input.x, input.y);
      io.MouseDown[input.button] = input.down;
      break;
    } else {
      const auto index = static_cast<std::size_t>(input.key) % kKeyIndices;
      io.KeysDown[index] = true;
      state.keysReleaseNextFrame[index] = 1;
      io.KeyCtrl = input.ctrl, io.KeyShift = input.shift, io.KeyAlt = input.alt;
      break;
    }
  }
  return false;
}

// An entry's value lives in its bound variable or behind its get and set callbacks; every
// field reads and writes it through these two.
void AssignBound(std::string& bound, const std::string& text) {
  // Strings cross to the program's own through its copy function, when it gave one.
  TwCopyStdStringToClient copy = State().copyString;
  copy != nullptr ? copy(bound, text) : void(bound = text);
}
template <typename T>
void AssignBound(T& bound, const T& value) {
  bound = value;
}

template <typename T>
T ReadValue(const Entry& entry) {
  T value{};
  if (entry.variable != nullptr) {
    value = *static_cast<const T*>(entry.variable);
  } else if (entry.getCallback != nullptr) {
    entry.getCallback(&value, entry.clientData);
  }
  return value;
}

template <typename T>
void WriteValue(const Entry& entry, const T& value) {
  if (entry.variable != nullptr) {
    AssignBound(*static_cast<T*>(entry.variable), value);
  } else if (entry.setCallback != nullptr) {
    entry.setCallback(&value, entry.clientData);
  }
}

const char* EnumLabel(const EnumType& type, int value) {
  for (const auto& entry : type.values) {
    if (entry.first == value) return entry.second.c_str();
  }
  return "";
}

void StringField(Entry& entry, FrameWork& work) {
  if (!entry.wasActive) entry.editText = ReadValue<std::string>(entry);
  ImGui::InputText("##value", &entry.editText);
  entry.wasActive = ImGui::IsItemActive();
  work.editing = work.editing || entry.wasActive;
  if (ImGui::IsItemDeactivatedAfterEdit()) {
    const Entry* target = &entry;
    const std::string text = entry.editText;
    work.actions.push_back([target, text] { WriteValue(*target, text); });
  }
}

// A typed value is committed once, when the field lets go of the keyboard (Enter or a click
// elsewhere); the - and + buttons change it by the entry's step at once.
// A value that is not a number is shown as an empty field that takes no input: the entry has
// nothing to show now (a coordinate of no selected point).
void FloatField(Entry& entry, float width, FrameWork& work) {
  const float buttonWidth = ImGui::GetFrameHeight();
  const float spacing = 2.0f;
  float value = entry.wasActive ? entry.editFloat : ReadValue<float>(entry);
  ImGui::SetNextItemWidth(std::max(1.0f, width - 2.0f * (buttonWidth + spacing)));
  if (std::isnan(value)) {
    ImGui::BeginDisabled();
    std::string nothing;
    ImGui::InputText("##value", &nothing);
    ImGui::SameLine(0.0f, spacing);
    ImGui::Button("-", ImVec2(buttonWidth, 0.0f));
    ImGui::SameLine(0.0f, spacing);
    ImGui::Button("+", ImVec2(buttonWidth, 0.0f));
    ImGui::EndDisabled();
    entry.wasActive = false;
    return;
  }
  char format[16] = "%g";
  if (entry.precision >= 0) std::snprintf(format, sizeof format, "%%.%df", entry.precision);
  ImGui::InputFloat("##value", &value, 0.0f, 0.0f, format);
  entry.editFloat = value;
  entry.wasActive = ImGui::IsItemActive();
  work.editing = work.editing || entry.wasActive;
  const Entry* target = &entry;
  if (ImGui::IsItemDeactivatedAfterEdit()) {
    work.actions.push_back([target, value] { WriteValue(*target, value); });
  }
  ImGui::SameLine(0.0f, spacing);
  if (ImGui::Button("-", ImVec2(buttonWidth, 0.0f))) {
    work.actions.push_back([target] { WriteValue(*target, ReadValue<float>(*target) - target->step); });
  }
  ImGui::SameLine(0.0f, spacing);
  if (ImGui::Button("+", ImVec2(buttonWidth, 0.0f))) {
    work.actions.push_back([target] { WriteValue(*target, ReadValue<float>(*target) + target->step); });
  }
}

// A switch: a click turns it over through the set callback (or the bound variable).
void BoolField(Entry& entry, FrameWork& work) {
  bool value = ReadValue<bool>(entry);
  if (!ImGui::Checkbox("##value", &value)) return;
  const Entry* target = &entry;
  work.actions.push_back([target, value] { WriteValue(*target, value); });
}

void EnumField(Entry& entry, FrameWork& work) {
  int value = ReadValue<int>(entry);
  const bool open = ImGui::BeginCombo("##value", EnumLabel(*FindEnum(entry.type), value));
  const bool opened = open && !entry.listWasOpen;
  entry.listWasOpen = open;
  if (!open) return;
  if (opened && entry.listOpenCallback != nullptr) {
    // The list's owner may define its entries anew; read the value and the type after it.
    entry.listOpenCallback(entry.listOpenClientData);
    value = ReadValue<int>(entry);
  }
  const EnumType& type = *FindEnum(entry.type);
  // The open list is a window of its own; events over it belong to the bar.
  Context& state = State();
  state.popupOpen = true;
  state.popupRect = Rect{ImGui::GetWindowPos().x, ImGui::GetWindowPos().y, ImGui::GetWindowSize().x,
                         ImGui::GetWindowSize().y};
  const Entry* target = &entry;
  for (std::size_t i = 0; i < type.values.size(); ++i) {
    const int choice = type.values[i].first;
    ImGui::PushID(static_cast<int>(i));
    if (ImGui::Selectable(type.values[i].second.c_str(), choice == value)) {
      work.actions.push_back([target, choice] { WriteValue(*target, choice); });
    }
    ImGui::PopID();
  }
  ImGui::EndCombo();
}

void EntryRow(const TwBar& bar, Entry& entry, FrameWork& work) {
  if (entry.kind == EntryKind::Separator) {
    ImGui::Separator();
    return;
  }
  if (entry.kind == EntryKind::Button) {
    if (ImGui::Button(entry.label.c_str(), ImVec2(-FLT_MIN, 0.0f)) && entry.buttonCallback) {
      TwButtonCallback callback = entry.buttonCallback;
      void* clientData = entry.clientData;
      work.actions.push_back([callback, clientData] { callback(clientData); });
    }
    return;
  }
  // Label on the left, the value in a column valuesWidth pixels wide on the right.
  const float width = static_cast<float>(bar.valuesWidth);
  const float valuesX = std::max(ImGui::GetWindowContentRegionMax().x - width, 0.0f);
  ImGui::AlignTextToFramePadding();
  ImGui::TextUnformatted(entry.label.c_str());
  ImGui::SameLine(valuesX);
  ImGui::SetNextItemWidth(width);
  if (entry.type == TW_TYPE_STDSTRING) {
    StringField(entry, work);
  } else if (entry.type == TW_TYPE_FLOAT && entry.variable == nullptr && entry.setCallback == nullptr) {
    // A callback variable without a set callback only shows its value.
    const float value = ReadValue<float>(entry);
    entry.precision >= 0 ? ImGui::Text("%.*f", entry.precision, static_cast<double>(value))
                         : ImGui::Text("%g", static_cast<double>(value));
  } else if (entry.type == TW_TYPE_FLOAT) {
    FloatField(entry, width, work);
  } else if (FindEnum(entry.type) != nullptr) {
    EnumField(entry, work);
  } else if (entry.type == TW_TYPE_BOOLCPP) {
    BoolField(entry, work);
  } else if (entry.type == TW_TYPE_INT32) {
    ImGui::Text("%d", ReadValue<int>(entry));
  }
}

ImVec4 Shade(const TwBar& bar, float factor, float alpha) {
  return ImVec4(static_cast<float>(bar.color[0]) / 255.0f * factor,
                static_cast<float>(bar.color[1]) / 255.0f * factor,
                static_cast<float>(bar.color[2]) / 255.0f * factor, alpha);
}

void BarWindow(TwBar& bar, FrameWork& work) {
  const ImGuiCond placement = (!bar.movable || bar.placeNext) ? ImGuiCond_Always : ImGuiCond_Appearing;
  ImGui::SetNextWindowPos(ImVec2(bar.rect.x, bar.rect.y), placement);
  // A bar that reaches below the window is cut at its lower edge, and scrolls; its whole
  // height comes back when the window is tall enough again.
  const float room = std::max(ImGui::GetIO().DisplaySize.y - bar.rect.y, kShortestBar);
  const bool cut = bar.rect.height > room;
  ImGui::SetNextWindowSize(ImVec2(bar.rect.width, cut ? room : bar.rect.height),
                           (!bar.resizable || bar.placeNext || cut) ? ImGuiCond_Always : ImGuiCond_Appearing);
  bar.placeNext = false;
  ImGuiWindowFlags flags = ImGuiWindowFlags_NoSavedSettings;
  if (!bar.iconifiable) flags |= ImGuiWindowFlags_NoCollapse;
  if (!bar.movable) flags |= ImGuiWindowFlags_NoMove;
  if (!bar.resizable) flags |= ImGuiWindowFlags_NoResize;
  const float alpha = static_cast<float>(bar.alpha) / 255.0f;
  ImGui::PushStyleColor(ImGuiCol_WindowBg, Shade(bar, 1.0f, alpha));
  ImGui::PushStyleColor(ImGuiCol_TitleBg, Shade(bar, 0.6f, 1.0f));
  ImGui::PushStyleColor(ImGuiCol_TitleBgActive, Shade(bar, 0.6f, 1.0f));
  ImGui::PushStyleColor(ImGuiCol_TitleBgCollapsed, Shade(bar, 0.6f, 1.0f));
  const bool open = ImGui::Begin(bar.name.c_str(), nullptr, flags);
  // What the next events are tested against: where the bar really is now. A bar the user may
  // move or resize keeps what was done to it, but not the cut.
  bar.shown = Rect{ImGui::GetWindowPos().x, ImGui::GetWindowPos().y, ImGui::GetWindowSize().x,
                   ImGui::GetWindowSize().y};
  bar.rect.x = bar.shown.x, bar.rect.y = bar.shown.y;
  if (!cut) bar.rect.width = bar.shown.width, bar.rect.height = bar.shown.height;
  if (open) {
    for (std::size_t i = 0; i < bar.entries.size(); ++i) {
      ImGui::PushID(static_cast<int>(i));
      EntryRow(bar, bar.entries[i], work);
      ImGui::PopID();
    }
  }
  ImGui::End();
  ImGui::PopStyleColor(4);
}

void ApplyStyle() {
  ImGuiStyle& style = ImGui::GetStyle();
  style.FramePadding = ImVec2(4.0f, 2.0f);
  style.ItemSpacing = ImVec2(4.0f, 3.0f);
  style.WindowPadding = ImVec2(6.0f, 6.0f);
  style.WindowRounding = 0.0f;
  style.WindowBorderSize = 0.0f;
}

}  // namespace

void CatchUp() {
  Context& state = State();
  const auto transitionWaits = [&state] {
    return std::any_of(state.pending.begin(), state.pending.end(),
                       [](const PendingInput& input) { return input.kind != PendingInput::MouseMove; });
  };
  // Each frame feeds a transition or lets go of a key; the bound only guards against a queue
  // that some fault keeps from draining.
  for (int frame = 0; frame < kCatchUpFrames && transitionWaits(); ++frame) RunFrame();
}

void RunFrame() {
  Context& state = State();
  if (!state.initialised) return;
  ImGui::SetCurrentContext(state.imgui);
  ImGuiIO& io = ImGui::GetIO();
  if (io.KeyMap[ImGuiKey_Enter] != 13) {
    MapKeys(io);
    ApplyStyle();
  }
  const auto now = std::chrono::steady_clock::now();
  const float elapsed = state.lastFrame.time_since_epoch().count() == 0
                            ? 1.0f / 60.0f
                            : std::chrono::duration<float>(now - state.lastFrame).count();
  state.lastFrame = now;
  io.DeltaTime = std::clamp(elapsed, 1e-4f, 0.25f);
  io.DisplaySize = ImVec2(static_cast<float>(state.windowWidth), static_cast<float>(state.windowHeight));
  const bool closeAll = FeedPendingInput(io);

  ImGui::NewFrame();
  // What a click on empty space does: no window has the focus, so the field being edited lets
  // go of the keyboard (and commits its value below) and every open list closes.
  if (closeAll) ImGui::SetWindowFocus(nullptr);
  state.popupOpen = false;
  FrameWork work;
  for (auto& bar : state.bars) BarWindow(*bar, work);
  ImGui::Render();
  state.editing = work.editing;
  for (auto& action : work.actions) action();
}

}  // namespace tweakbar
