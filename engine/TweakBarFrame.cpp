// One Dear ImGui frame over every bar: input fed one transition at a time, widgets, callbacks.
// Needs no OpenGL; TwDraw renders what this produces.
#include <GL/freeglut.h>  // GLUT's special-key codes
#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cfloat>
#include <functional>

#include "TweakBarState.h"

namespace tweakbar {

namespace {

struct FrameWork {
  std::vector<std::function<void()>> actions;  // callbacks, run once the widgets are done
  bool editing = false;
};

void SetKeyMap(ImGuiIO& io) {
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

// ImGui 1.86 polls its input once per frame, so a press and a release that arrive between two
// frames would cancel out. Feed at most one button or key transition per frame; pointer moves
// and typed characters (which ImGui queues itself) go along with it.
void FeedPendingInput(ImGuiIO& io) {
  Context& state = State();
  for (int& key : state.keysReleaseNextFrame) {
    if (key != 0) io.KeysDown[&key - state.keysReleaseNextFrame.data()] = false;
    key = 0;
  }
  io.KeyCtrl = io.KeyShift = io.KeyAlt = false;
  while (!state.pending.empty()) {
    const PendingInput input = state.pending.front();
    state.pending.pop_front();
    if (input.kind == PendingInput::MouseMove) {
      io.MousePos = ImVec2(input.x, input.y);
    } else if (input.kind == PendingInput::Character) {
      io.AddInputCharacter(static_cast<unsigned int>(input.key));
    } else if (input.kind == PendingInput::RunButton) {
      // Everything queued before it has been fed and its frame's callbacks have run.
      if (input.callback != nullptr) input.callback(input.clientData);
    } else if (input.kind == PendingInput::MouseButton) {
      io.MousePos = ImVec2(input.x, input.y);
      io.MouseDown[input.button] = input.down;
      break;
    } else {
      const auto index = static_cast<std::size_t>(input.key) % state.keysReleaseNextFrame.size();
      io.KeysDown[index] = true;
      state.keysReleaseNextFrame[index] = 1;
      io.KeyCtrl = input.ctrl, io.KeyShift = input.shift, io.KeyAlt = input.alt;
      break;
    }
  }
}

const char* EnumLabel(const EnumType& type, int value) {
  for (const auto& entry : type.values) {
    if (entry.first == value) return entry.second.c_str();
  }
  return "";
}

void StringField(Entry& entry, FrameWork& work) {
  auto* bound = static_cast<std::string*>(entry.variable);
  if (!entry.wasActive) {
    if (bound != nullptr) {
      entry.editText = *bound;
    } else if (entry.getCallback != nullptr) {
      entry.getCallback(&entry.editText, entry.clientData);
    }
  }
  ImGui::InputText("##value", &entry.editText);
  entry.wasActive = ImGui::IsItemActive();
  work.editing = work.editing || entry.wasActive;
  if (ImGui::IsItemDeactivatedAfterEdit()) {
    Entry* target = &entry;
    const std::string text = entry.editText;
    work.actions.push_back([target, bound, text] {
      if (bound != nullptr) {
        TwCopyStdStringToClient copy = State().copyString;
        copy != nullptr ? copy(*bound, text) : void(*bound = text);
      } else if (target->setCallback != nullptr) {
        target->setCallback(&text, target->clientData);
      }
    });
  }
}

void SetFloat(const Entry& entry, float value) {
  if (entry.variable != nullptr) {
    *static_cast<float*>(entry.variable) = value;
  } else if (entry.setCallback != nullptr) {
    entry.setCallback(&value, entry.clientData);
  }
}

float GetFloat(const Entry& entry) {
  float value = 0.0f;
  if (entry.variable != nullptr) {
    value = *static_cast<float*>(entry.variable);
  } else if (entry.getCallback != nullptr) {
    entry.getCallback(&value, entry.clientData);
  }
  return value;
}

// A typed value is committed once, when the field lets go of the keyboard (Enter or a click
// elsewhere); the - and + buttons change it by the entry's step at once.
void FloatField(Entry& entry, float width, FrameWork& work) {
  const float buttonWidth = ImGui::GetFrameHeight();
  const float spacing = 2.0f;
  float value = entry.wasActive ? entry.editFloat : GetFloat(entry);
  ImGui::SetNextItemWidth(std::max(1.0f, width - 2.0f * (buttonWidth + spacing)));
  ImGui::InputFloat("##value", &value, 0.0f, 0.0f, "%g");
  entry.editFloat = value;
  entry.wasActive = ImGui::IsItemActive();
  work.editing = work.editing || entry.wasActive;
  const Entry* target = &entry;
  if (ImGui::IsItemDeactivatedAfterEdit()) {
    work.actions.push_back([target, value] { SetFloat(*target, value); });
  }
  ImGui::SameLine(0.0f, spacing);
  if (ImGui::Button("-", ImVec2(buttonWidth, 0.0f))) {
    work.actions.push_back([target] { SetFloat(*target, GetFloat(*target) - target->step); });
  }
  ImGui::SameLine(0.0f, spacing);
  if (ImGui::Button("+", ImVec2(buttonWidth, 0.0f))) {
    work.actions.push_back([target] { SetFloat(*target, GetFloat(*target) + target->step); });
  }
}

int GetEnumValue(const Entry& entry) {
  int value = 0;
  if (entry.variable != nullptr) {
    value = *static_cast<int*>(entry.variable);
  } else if (entry.getCallback != nullptr) {
    entry.getCallback(&value, entry.clientData);
  }
  return value;
}

void EnumField(Entry& entry, FrameWork& work) {
  int value = GetEnumValue(entry);
  const bool open = ImGui::BeginCombo("##value", EnumLabel(*FindEnum(entry.type), value));
  const bool opened = open && !entry.listWasOpen;
  entry.listWasOpen = open;
  if (!open) return;
  if (opened && entry.listOpenCallback != nullptr) {
    // The list's owner may define its entries anew; read the value and the type after it.
    entry.listOpenCallback(entry.listOpenClientData);
    value = GetEnumValue(entry);
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
      work.actions.push_back([target, choice] {
        if (target->variable != nullptr) {
          *static_cast<int*>(target->variable) = choice;
        } else if (target->setCallback != nullptr) {
          target->setCallback(&choice, target->clientData);
        }
      });
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
  } else if (entry.type == TW_TYPE_FLOAT) {
    FloatField(entry, width, work);
  } else if (FindEnum(entry.type) != nullptr) {
    EnumField(entry, work);
  } else if (entry.type == TW_TYPE_INT32 || entry.type == TW_TYPE_BOOLCPP) {
    int value = 0;
    if (entry.getCallback != nullptr) entry.getCallback(&value, entry.clientData);
    ImGui::Text("%d", value);
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
  ImGui::SetNextWindowSize(ImVec2(bar.rect.width, bar.rect.height),
                           (!bar.resizable || bar.placeNext) ? ImGuiCond_Always : ImGuiCond_Appearing);
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
  // What the next events are tested against: where the bar really is now.
  bar.rect = Rect{ImGui::GetWindowPos().x, ImGui::GetWindowPos().y, ImGui::GetWindowSize().x,
                  ImGui::GetWindowSize().y};
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

void RunFrame() {
  Context& state = State();
  if (!state.initialised) return;
  ImGui::SetCurrentContext(state.imgui);
  ImGuiIO& io = ImGui::GetIO();
  if (io.KeyMap[ImGuiKey_Enter] != 13) {
    SetKeyMap(io);
    ApplyStyle();
  }
  const auto now = std::chrono::steady_clock::now();
  const float elapsed = state.lastFrame.time_since_epoch().count() == 0
                            ? 1.0f / 60.0f
                            : std::chrono::duration<float>(now - state.lastFrame).count();
  state.lastFrame = now;
  io.DeltaTime = std::clamp(elapsed, 1e-4f, 0.25f);
  io.DisplaySize = ImVec2(static_cast<float>(state.windowWidth), static_cast<float>(state.windowHeight));
  FeedPendingInput(io);

  ImGui::NewFrame();
  state.popupOpen = false;
  FrameWork work;
  for (auto& bar : state.bars) BarWindow(*bar, work);
  ImGui::Render();
  state.editing = work.editing;
  for (auto& action : work.actions) action();
}

}  // namespace tweakbar
