// Bars, entries and enumeration types of the tweak-bar layer; no OpenGL here.
#include <imgui.h>

#include <algorithm>
#include <iostream>

#include "TweakBarState.h"

namespace tweakbar {

Context& State() {
  static Context context;
  return context;
}

void ReportError(const std::string& message) {
  if (State().errorHandler != nullptr) {
    State().errorHandler(message.c_str());
  } else {
    std::cerr << "tweak bar: " << message << std::endl;
  }
}

TwBar* FindBar(const std::string& name) {
  for (auto& bar : State().bars) {
    if (bar->name == name) return bar.get();
  }
  return nullptr;
}

const EnumType* FindEnum(TwType type) {
  const auto& enums = State().enums;
  const int index = static_cast<int>(type) - TW_TYPE_ENUM_BASE;
  if (index < 0 || index >= static_cast<int>(enums.size())) return nullptr;
  return &enums[static_cast<std::size_t>(index)];
}

int CurrentModifiers() { return State().getModifiers != nullptr ? State().getModifiers() : 0; }

namespace {

bool OwnsBar(const TwBar* bar) {
  const auto& bars = State().bars;
  return std::any_of(bars.begin(), bars.end(), [bar](const auto& owned) { return owned.get() == bar; });
}

bool KnownType(TwType type) {
  return type == TW_TYPE_BOOLCPP || type == TW_TYPE_INT32 || type == TW_TYPE_FLOAT ||
         type == TW_TYPE_STDSTRING || FindEnum(type) != nullptr;
}

// Adds a finished entry when its bar and definition are sound; reports and adds nothing otherwise.
int AddEntry(TwBar* bar, Entry entry, const char* def) {
  if (!State().initialised) {
    ReportError("the tweak-bar layer is not initialised (TwInit)");
    return 0;
  }
  if (bar == nullptr || !OwnsBar(bar)) {
    ReportError("invalid bar handle");
    return 0;
  }
  if (entry.kind != EntryKind::Separator && entry.kind != EntryKind::Button && !KnownType(entry.type)) {
    ReportError("unknown variable type for entry '" + entry.name + "'");
    return 0;
  }
  if (!ApplyEntryDefinition(entry, def != nullptr ? def : "")) return 0;
  if (entry.label.empty()) entry.label = entry.name;
  bar->entries.push_back(std::move(entry));
  return 1;
}

}  // namespace

}  // namespace tweakbar

using namespace tweakbar;

int TwInit(TwGraphAPI graphAPI, void* /*device*/) {
  Context& state = State();
  if (graphAPI != TW_OPENGL) {
    ReportError("only the OpenGL graphics API is supported");
    return 0;
  }
  if (state.initialised) return 1;
  state.imgui = ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // no imgui.ini or log in the user's working folder
  io.LogFilename = nullptr;
  io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;  // the editor owns the cursor shape
  unsigned char* pixels = nullptr;
  int width = 0;
  int height = 0;
  io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);  // CPU-side, so frames run without GL
  state.initialised = true;
  return 1;
}

int TwTerminate() {
  Context& state = State();
  if (!state.initialised) return 0;
  ReleaseRenderer();  // the backend's data lives outside the context and goes first
  if (state.imgui != nullptr) ImGui::DestroyContext(state.imgui);
  TwErrorHandler handler = state.errorHandler;
  state = Context();
  state.errorHandler = handler;
  return 1;
}

int TwWindowSize(int width, int height) {
  if (width < 0 || height < 0) {
    ReportError("invalid window size");
    return 0;
  }
  State().windowWidth = width;
  State().windowHeight = height;
  return 1;
}

int TwGLUTModifiersFunc(int (*glutGetModifiersFunc)()) {
  State().getModifiers = glutGetModifiersFunc;
  return 1;
}

void TwCopyStdStringToClientFunc(TwCopyStdStringToClient copyStdStringFunc) {
  State().copyString = copyStdStringFunc;
}

void TwHandleErrors(TwErrorHandler errorHandler) { State().errorHandler = errorHandler; }

TwBar* TwNewBar(const char* barName) {
  if (!State().initialised) {
    ReportError("the tweak-bar layer is not initialised (TwInit)");
    return nullptr;
  }
  const std::string name = barName != nullptr ? barName : "";
  if (name.empty()) {
    ReportError("a bar needs a name");
    return nullptr;
  }
  if (FindBar(name) != nullptr) {
    ReportError("a bar named '" + name + "' already exists");
    return nullptr;
  }
  auto bar = std::make_unique<TwBar>();
  bar->name = name;
  State().bars.push_back(std::move(bar));
  return State().bars.back().get();
}

int TwDeleteBar(TwBar* bar) {
  auto& bars = State().bars;
  auto found =
      std::find_if(bars.begin(), bars.end(), [bar](const auto& owned) { return owned.get() == bar; });
  if (bar == nullptr || found == bars.end()) {
    ReportError("invalid bar handle");
    return 0;
  }
  bars.erase(found);
  return 1;
}

int TwAddVarRW(TwBar* bar, const char* name, TwType type, void* var, const char* def) {
  if (var == nullptr) {
    ReportError("a read-write variable needs a variable");
    return 0;
  }
  Entry entry;
  entry.kind = EntryKind::Variable;
  entry.name = name != nullptr ? name : "";
  entry.type = type;
  entry.variable = var;
  return AddEntry(bar, std::move(entry), def);
}

int TwAddVarCB(TwBar* bar, const char* name, TwType type, TwSetVarCallback setCallback,
               TwGetVarCallback getCallback, void* clientData, const char* def) {
  if (getCallback == nullptr) {
    ReportError("a callback variable needs a get callback");
    return 0;
  }
  Entry entry;
  entry.kind = EntryKind::CallbackVariable;
  entry.name = name != nullptr ? name : "";
  entry.type = type;
  entry.setCallback = setCallback;
  entry.getCallback = getCallback;
  entry.clientData = clientData;
  return AddEntry(bar, std::move(entry), def);
}

int TwAddButton(TwBar* bar, const char* name, TwButtonCallback callback, void* clientData, const char* def) {
  Entry entry;
  entry.kind = EntryKind::Button;
  entry.name = name != nullptr ? name : "";
  entry.buttonCallback = callback;
  entry.clientData = clientData;
  return AddEntry(bar, std::move(entry), def);
}

int TwAddSeparator(TwBar* bar, const char* name, const char* def) {
  Entry entry;
  entry.kind = EntryKind::Separator;
  entry.name = name != nullptr ? name : "";
  return AddEntry(bar, std::move(entry), def);
}

TwType TwDefineEnum(const char* name, const TwEnumVal* enumValues, unsigned int nbValues) {
  if (name == nullptr || *name == '\0') {
    ReportError("an enumeration type needs a name");
    return TW_TYPE_UNDEF;
  }
  if (enumValues == nullptr && nbValues > 0) {
    ReportError("enumeration '" + std::string(name) + "' has no values");
    return TW_TYPE_UNDEF;
  }
  EnumType defined;
  defined.name = name;
  for (unsigned int i = 0; i < nbValues; ++i) {
    defined.values.emplace_back(enumValues[i].Value,
                                enumValues[i].Label != nullptr ? enumValues[i].Label : "");
  }
  // Defining a type again under its name replaces its values; variables of it show the new list.
  auto& enums = State().enums;
  std::size_t index = 0;
  while (index < enums.size() && enums[index].name != defined.name) ++index;
  if (index == enums.size()) {
    enums.push_back(std::move(defined));
  } else {
    enums[index] = std::move(defined);
  }
  return static_cast<TwType>(TW_TYPE_ENUM_BASE + static_cast<int>(index));
}

int TwSetListOpenCallback(TwBar* bar, const char* label, TwButtonCallback callback, void* clientData) {
  if (bar == nullptr || !OwnsBar(bar) || label == nullptr) {
    ReportError("invalid bar handle");
    return 0;
  }
  for (Entry& entry : bar->entries) {
    if (entry.label == label && FindEnum(entry.type) != nullptr) {
      entry.listOpenCallback = callback;
      entry.listOpenClientData = clientData;
      return 1;
    }
  }
  ReportError("no drop-down list labelled '" + std::string(label) + "'");
  return 0;
}
