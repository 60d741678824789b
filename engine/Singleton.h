// The one-instance pattern every manager is reached through.
#pragma once

// T::Instance() returns the one object of T: a function-local static built on the first call
// and destroyed by the runtime at exit, in reverse order of construction. T declares
// `friend class Singleton<T>;` and keeps its constructor private.
template <typename T>
class Singleton {
public:
  static T* Instance() {
    static T instance;
    return &instance;
  }

  Singleton(const Singleton&) = delete;
  Singleton& operator=(const Singleton&) = delete;
  virtual ~Singleton() = default;

protected:
  Singleton() = default;
};
