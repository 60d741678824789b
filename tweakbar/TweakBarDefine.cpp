// Definition strings of the tweak-bar layer: "'Bar' attr=value ..." and entry attributes.
#include <GL/freeglut.h>  // GLUT's modifier bits and special-key codes

#include <cctype>
#include <cmath>
#include <locale>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <utility>

#include "TweakBarState.h"

namespace tweakbar {

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

bool IsQuote(char c) { return c == '\'' || c == '"' || c == '`'; }

// Reads a quoted or bare word at pos; false when a quote is not closed.
bool ReadWord(const std::string& text, std::size_t& pos, std::string& out, bool stopAtEquals) {
  out.clear();
  if (pos < text.size() && IsQuote(text[pos])) {
    const char quote = text[pos];
    const std::size_t close = text.find(quote, pos + 1);
    if (close == std::string::npos) return false;
    out = text.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    return true;
  }
  while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos])) &&
         !(stopAtEquals && text[pos] == '=')) {
    out += text[pos++];
  }
  return true;
}

void SkipSpace(const std::string& text, std::size_t& pos) {
  while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
}

// Splits "name=value name='a b' ..." from pos on; reports and returns nothing when malformed.
std::optional<Attributes> ParseAttributes(const std::string& text, std::size_t pos) {
  Attributes attributes;
  for (SkipSpace(text, pos); pos < text.size(); SkipSpace(text, pos)) {
    std::string name;
    std::string value;
    ReadWord(text, pos, name, true);
    if (name.empty() || pos >= text.size() || text[pos] != '=') {
      ReportError("malformed definition '" + text + "': expected attribute=value");
      return std::nullopt;
    }
    ++pos;
    if (!ReadWord(text, pos, value, false)) {
      ReportError("malformed definition '" + text + "': unclosed quote");
      return std::nullopt;
    }
    attributes.emplace_back(name, value);
  }
  return attributes;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ParseInts(const std::string& value, std::size_t count, std::vector<int>& out) {
  std::istringstream in(value);
  out.clear();
  long number = 0;
  while (in >> number) {
    if (number < -100000 || number > 100000) return false;
    out.push_back(static_cast<int>(number));
  }
  return in.eof() && out.size() == count;
}

bool ParseFloat(const std::string& value, float& out) {
  std::istringstream in(value);
  in.imbue(std::locale::classic());
  float number = 0.0f;
  if (!(in >> number) || !(in >> std::ws).eof() || !std::isfinite(number)) return false;
  out = number;
  return true;
}

bool ParseBool(const std::string& value, bool& out) {
  const std::string lower = Lower(value);
  if (lower == "true" || lower == "1") {
    out = true;
  } else if (lower == "false" || lower == "0") {
    out = false;
  } else {
    return false;
  }
  return true;
}

void BadValue(const std::string& attribute, const std::string& value) {
  ReportError("bad value '" + value + "' for attribute '" + attribute + "'");
}

// Validates every attribute into a copy, so a faulty definition changes nothing.
bool ApplyBarAttributes(TwBar& bar, const Attributes& attributes) {
  TwBar updated = bar;
  std::vector<int> ints;
  for (const auto& [name, value] : attributes) {
    const std::string key = Lower(name);
    bool ok = true;
    if (key == "size") {
      ok = ParseInts(value, 2, ints) && ints[0] > 0 && ints[1] > 0;
      if (ok)
        updated.rect.width = static_cast<float>(ints[0]), updated.rect.height = static_cast<float>(ints[1]);
    } else if (key == "position") {
      ok = ParseInts(value, 2, ints);
      if (ok) updated.rect.x = static_cast<float>(ints[0]), updated.rect.y = static_cast<float>(ints[1]);
    } else if (key == "valueswidth") {
      ok = ParseInts(value, 1, ints) && ints[0] > 0;
      if (ok) updated.valuesWidth = ints[0];
    } else if (key == "color") {
      ok = ParseInts(value, 3, ints) && ints[0] >= 0 && ints[0] <= 255 && ints[1] >= 0 && ints[1] <= 255 &&
           ints[2] >= 0 && ints[2] <= 255;
      if (ok) updated.color = {ints[0], ints[1], ints[2]};
    } else if (key == "alpha") {
      ok = ParseInts(value, 1, ints) && ints[0] >= 0 && ints[0] <= 255;
      if (ok) updated.alpha = ints[0];
    } else if (key == "refresh") {
      float seconds = 0.0f;
      ok = ParseFloat(value, seconds) && seconds >= 0.0f;
      if (ok) updated.refresh = seconds;
    } else if (key == "iconifiable") {
      ok = ParseBool(value, updated.iconifiable);
    } else if (key == "movable") {
      ok = ParseBool(value, updated.movable);
    } else if (key == "resizable") {
      ok = ParseBool(value, updated.resizable);
    } else {
      ReportError("unknown attribute '" + name + "' for bar '" + bar.name + "'");
      return false;
    }
    if (!ok) {
      BadValue(name, value);
      return false;
    }
  }
  updated.placeNext = true;
  updated.shown = updated.rect;  // until the next frame draws it
  bar = std::move(updated);
  return true;
}

bool ApplyEntryAttributes(Entry& entry, const Attributes& attributes) {
  Entry updated = entry;
  for (const auto& [name, value] : attributes) {
    const std::string key = Lower(name);
    if (key == "label") {
      updated.label = value;
    } else if (key == "key") {
      // One shortcut or several, separated by blanks ("CTRL+y CTRL+SHIFT+z").
      std::istringstream words(value);
      std::vector<KeyShortcut> keys;
      bool parsed = true;
      for (std::string word; parsed && words >> word;) {
        KeyShortcut shortcut;
        parsed = ParseKey(word, shortcut);
        keys.push_back(shortcut);
      }
      if (!parsed || keys.empty()) {
        BadValue(name, value);
        return false;
      }
      updated.keys = keys;
      updated.keyText = value;
    } else if (key == "step") {
      if (!ParseFloat(value, updated.step) || updated.step <= 0.0f) {
        BadValue(name, value);
        return false;
      }
    } else if (key == "precision") {
      float digits = 0.0f;
      if (!ParseFloat(value, digits) || digits != std::floor(digits) || digits < -1.0f || digits > 12.0f) {
        BadValue(name, value);
        return false;
      }
      updated.precision = static_cast<int>(digits);
    } else {
      ReportError("unknown attribute '" + name + "' for entry '" + entry.label + "'");
      return false;
    }
  }
  entry = std::move(updated);
  return true;
}

struct NamedKey {
  const char* name;
  bool special;
  int code;
};

constexpr NamedKey kNamedKeys[] = {
    {"del", false, 127},
    {"delete", false, 127},
    {"esc", false, 27},
    {"escape", false, 27},
    {"ret", false, 13},
    {"return", false, 13},
    {"enter", false, 13},
    {"tab", false, 9},
    {"space", false, 32},
    {"backspace", false, 8},
    {"bs", false, 8},
    {"left", true, GLUT_KEY_LEFT},
    {"up", true, GLUT_KEY_UP},
    {"right", true, GLUT_KEY_RIGHT},
    {"down", true, GLUT_KEY_DOWN},
    {"pgup", true, GLUT_KEY_PAGE_UP},
    {"pgdown", true, GLUT_KEY_PAGE_DOWN},
    {"home", true, GLUT_KEY_HOME},
    {"end", true, GLUT_KEY_END},
    {"insert", true, GLUT_KEY_INSERT},
    {"ins", true, GLUT_KEY_INSERT},
};

}  // namespace

bool ParseKey(const std::string& text, KeyShortcut& out) {
  KeyShortcut key;
  std::string rest = text;
  for (;;) {
    const std::string lower = Lower(rest);
    if (lower.rfind("ctrl+", 0) == 0) {
      key.modifiers |= GLUT_ACTIVE_CTRL, rest = rest.substr(5);
    } else if (lower.rfind("alt+", 0) == 0) {
      key.modifiers |= GLUT_ACTIVE_ALT, rest = rest.substr(4);
    } else if (lower.rfind("shift+", 0) == 0) {
      key.modifiers |= GLUT_ACTIVE_SHIFT, rest = rest.substr(6);
    } else {
      break;
    }
  }
  if (rest.empty()) return false;
  if (rest.size() == 1) {
    key.code = static_cast<unsigned char>(rest[0]);
    // Ctrl+letter arrives as a control code that carries no case, so compare in lower case.
    if (key.modifiers & GLUT_ACTIVE_CTRL) key.code = std::tolower(key.code);
  } else {
    const std::string lower = Lower(rest);
    bool found = false;
    for (const NamedKey& named : kNamedKeys) {
      if (lower == named.name) {
        key.special = named.special, key.code = named.code, found = true;
        break;
      }
    }
    if (!found && lower.size() <= 3 && lower[0] == 'f') {
      const int number = std::atoi(lower.c_str() + 1);
      if (number >= 1 && number <= 12 && lower.find_first_not_of("0123456789", 1) == std::string::npos) {
        key.special = true, key.code = GLUT_KEY_F1 + number - 1, found = true;
      }
    }
    if (!found) return false;
  }
  key.valid = true;
  out = key;
  return true;
}

bool ApplyEntryDefinition(Entry& entry, const std::string& def) {
  const std::optional<Attributes> attributes = ParseAttributes(def, 0);
  return attributes && ApplyEntryAttributes(entry, *attributes);
}

}  // namespace tweakbar

using namespace tweakbar;

int TwDefine(const char* def) {
  const std::string text = def != nullptr ? def : "";
  std::size_t pos = 0;
  SkipSpace(text, pos);
  std::string target;
  if (!ReadWord(text, pos, target, false) || target.empty()) {
    ReportError("malformed definition '" + text + "': expected a bar name");
    return 0;
  }
  const std::optional<Attributes> attributes = ParseAttributes(text, pos);
  if (!attributes) return 0;

  // "bar/entry" addresses one entry by its name; a plain name addresses the bar.
  const std::size_t slash = target.find('/');
  TwBar* bar = FindBar(target.substr(0, slash));
  if (bar == nullptr) {
    ReportError("unknown bar '" + target.substr(0, slash) + "'");
    return 0;
  }
  if (slash == std::string::npos) return ApplyBarAttributes(*bar, *attributes) ? 1 : 0;

  const std::string entryName = target.substr(slash + 1);
  for (Entry& entry : bar->entries) {
    if (!entry.name.empty() && entry.name == entryName) {
      return ApplyEntryAttributes(entry, *attributes) ? 1 : 0;
    }
  }
  ReportError("unknown entry '" + entryName + "' in bar '" + bar->name + "'");
  return 0;
}
