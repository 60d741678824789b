// The stack of game states; commands are stored and carried out at the next Update.
#pragma once

#include <cstdint>
#include <vector>

#include "GameState.h"
#include "Singleton.h"
#include "SubSystem.h"

enum StateCommand : std::int32_t {
  None = 0,
  Reload = 1,
  Restart = 2,
  Push = 3,
  Pop = 4,
  Change = 5,
};

class GameStateManager : public Singleton<GameStateManager>, public SubSystem {
public:
  void Update() override;
  void Shutdown() override;

  StateCommand mCommand = None;
  GameState* mNextState = nullptr;  // not cleared after use
  std::vector<GameState*> mStates;  // top is the last element; not owned

private:
  friend class Singleton<GameStateManager>;
  GameStateManager() = default;

  GameState* Top() const { return mStates.back(); }
  void RemoveTop();  // Free, Unload, pop
};
