// Stands for the tweak-bar user interface layer; holds the tweak-bar callbacks.
#pragma once

#include <string>

#include "Singleton.h"

class GUIManager : public Singleton<GUIManager> {
private:
  friend class Singleton<GUIManager>;
  GUIManager() = default;
};

// Tweak-bar error handler: one console line, then the program carries on.
void OnTweakBarError(const char* message);

// Lets bar variables of string type write into the program's own strings.
void CopyStdStringToClient(std::string& destination, const std::string& source);
