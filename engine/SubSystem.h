// The interface of the managers that the System registers and shuts down.
#pragma once

class SubSystem {
public:
  virtual ~SubSystem() = default;
  virtual void Initialize() {}
  virtual void Update() {}
  virtual void Shutdown() {}
};
