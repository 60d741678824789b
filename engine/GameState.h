// Base of the game states kept on the GameStateManager's stack.
#pragma once

class GameState {
public:
  virtual ~GameState() = default;
  virtual void Load() {}
  virtual void Initialize() {}
  virtual void Update() {}
  virtual void Free() {}
  virtual void Unload() {}
  virtual void Pause() {}
  virtual void Resume() {}
};
