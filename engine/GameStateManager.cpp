// Carries out stored state commands at the start of a frame, then runs the top state.
#include "GameStateManager.h"

void GameStateManager::RemoveTop() {
  Top()->Free();
  Top()->Unload();
  mStates.pop_back();
}

void GameStateManager::Update() {
  // With an empty stack only Push and Change can do anything; other commands wait.
  if (mStates.empty() && mCommand != Push && mCommand != Change) return;

  switch (mCommand) {
    case Reload:
      Top()->Free();
      Top()->Unload();
      Top()->Load();
      break;
    case Restart:
      Top()->Free();
      Top()->Initialize();
      break;
    case Push:
      if (!mStates.empty()) Top()->Pause();
      mStates.push_back(mNextState);
      Top()->Load();
      Top()->Initialize();
      break;
    case Pop:
      RemoveTop();
      if (!mStates.empty()) Top()->Resume();
      break;
    case Change:
      if (mNextState == nullptr) break;
      while (mStates.size() > 1) {
        RemoveTop();
        Top()->Resume();
      }
      if (mStates.size() == 1) RemoveTop();
      mStates.push_back(mNextState);
      Top()->Load();
      Top()->Initialize();
      break;
    default: break;
  }
  mCommand = None;

  if (!mStates.empty()) Top()->Update();
}

void GameStateManager::Shutdown() {
  for (GameState* state : mStates) {
    state->Free();
    state->Unload();
  }
  mStates.clear();
}
