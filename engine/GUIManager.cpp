// The tweak-bar callbacks the engine registers at start-up.
#include "GUIManager.h"

#include <iostream>

void OnTweakBarError(const char* message) {
  std::cout << "AntTweakBarError (don't ignore, inform Orlan): " << message << std::endl;
}

void CopyStdStringToClient(std::string& destination, const std::string& source) { destination = source; }
