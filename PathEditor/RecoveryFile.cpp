// The recovery file's writer thread, its names, and the search for recovery files.
#include "RecoveryFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "SafeFile.h"

namespace {

constexpr const char* kUnsaved = ".unsaved";
constexpr std::size_t kUnsavedLength = 8;
constexpr const char* kUntitled = "untitled.xml";

// Where ".unsaved" and a number end `name`, or npos.
std::size_t UnsavedSuffix(const std::string& name) {
  const std::size_t at = name.rfind(kUnsaved);
  if (at == std::string::npos || at + kUnsavedLength >= name.size()) return std::string::npos;
  return name.find_first_not_of("0123456789", at + kUnsavedLength) == std::string::npos ? at
                                                                                        : std::string::npos;
}

}  // namespace

RecoveryFile::~RecoveryFile() {
  {
    const std::lock_guard<std::mutex> lock(mMutex);
    mStop = true;
  }
  mWake.notify_all();
  if (mWriter.joinable()) mWriter.join();  // the writer does what is pending before it stops
}

void RecoveryFile::Keep(std::string stem, std::string text) {
  Submit(Request{true, std::move(stem), std::move(text)});
}

void RecoveryFile::Remove() { Submit(Request{false, "", ""}); }

void RecoveryFile::Submit(Request request) {
  std::unique_lock<std::mutex> lock(mMutex);
  mPending = std::move(request);
  if (!mWriter.joinable()) {
    try {
      mWriter = std::thread(&RecoveryFile::Run, this);
    } catch (const std::system_error&) {
      // No thread to be had: the request is done here instead, on the caller's time.
    }
  }
  if (mWriter.joinable()) {
    lock.unlock();
    mWake.notify_one();
    return;
  }
  const Request now = std::move(*mPending);
  mPending.reset();
  State state = mState;
  lock.unlock();
  const bool ok = Carry(now, state);
  lock.lock();
  Done(now, state, ok);
}

void RecoveryFile::Run() {
  std::unique_lock<std::mutex> lock(mMutex);
  for (;;) {
    mWake.wait(lock, [this] { return mPending.has_value() || mStop; });
    if (!mPending) return;
    const Request request = std::move(*mPending);
    mPending.reset();
    mBusy = true;
    State state = mState;
    lock.unlock();
    const bool ok = Carry(request, state);
    lock.lock();
    Done(request, state, ok);
    mBusy = false;
    mIdle.notify_all();
  }
}

bool RecoveryFile::Carry(const Request& request, State& state) {
  if (!request.keep) {
    if (!state.onDisk) return true;
    std::error_code error;
    std::filesystem::remove(state.name, error);  // a file already gone is no error
    if (!error) state.onDisk = false;
    return !error;
  }
  if (state.onDisk) return safefile::ReplaceFile(state.name, request.text);
  // The session's name again, unless another session has taken it since its file was removed.
  if (!state.name.empty()) {
    switch (safefile::CreateNewFile(state.name, request.text)) {
      case safefile::CreateResult::Created: state.onDisk = true; return true;
      case safefile::CreateResult::Failed: return false;
      case safefile::CreateResult::Exists: break;
    }
  }
  for (unsigned long long k = 0;; ++k) {
    const std::string name = request.stem + std::to_string(k);
    switch (safefile::CreateNewFile(name, request.text)) {
      case safefile::CreateResult::Created: state = State{name, true}; return true;
      case safefile::CreateResult::Exists: continue;
      case safefile::CreateResult::Failed: return false;
    }
  }
}

void RecoveryFile::Done(const Request& request, const State& state, bool ok) {
  mState = state;
  if (!request.keep) return;  // a file that cannot be removed stays, and is replaced by the next keep
  if (ok) {
    ++mWrites;
  } else {
    mFailures.push_back("failed to keep the unsaved changes: " +
                        (state.name.empty() ? request.stem : state.name));
  }
}

void RecoveryFile::Finish() {
  std::unique_lock<std::mutex> lock(mMutex);
  mIdle.wait(lock, [this] { return !mPending && !mBusy; });
}

std::vector<std::string> RecoveryFile::TakeFailures() {
  const std::lock_guard<std::mutex> lock(mMutex);
  return std::exchange(mFailures, {});
}

std::string RecoveryFile::Name() const {
  const std::lock_guard<std::mutex> lock(mMutex);
  return mState.name;
}

bool RecoveryFile::OnDisk() const {
  const std::lock_guard<std::mutex> lock(mMutex);
  return mState.onDisk;
}

std::uint64_t RecoveryFile::Writes() const {
  const std::lock_guard<std::mutex> lock(mMutex);
  return mWrites;
}

bool EndsWithXml(const std::string& name) {
  return name.size() >= 5 && name.compare(name.size() - 4, 4, ".xml") == 0;
}

std::string RecoveryStem(const std::string& filename) {
  std::string base = std::filesystem::path(filename).filename().string();
  const std::size_t unsaved = UnsavedSuffix(base);
  if (unsaved != std::string::npos) base.erase(unsaved);
  if (base.empty() || base == "." || base == "..") base = "untitled";
  return (EndsWithXml(base) ? base : base + ".xml") + kUnsaved;
}

std::optional<std::string> KeptFrom(const std::string& name) {
  const std::size_t unsaved = UnsavedSuffix(name);
  if (unsaved == std::string::npos) return std::nullopt;
  const std::string stem = name.substr(0, unsaved);
  if (!EndsWithXml(stem)) return std::nullopt;
  return stem == kUntitled ? std::string() : stem;
}

std::vector<std::string> ListRecoveryFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  struct Found {
    fs::file_time_type time;
    std::string name;
  };
  std::vector<Found> found;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    std::error_code statError;
    if (!KeptFrom(name) || !it->is_regular_file(statError)) continue;
    const fs::file_time_type time = it->last_write_time(statError);
    if (!statError) found.push_back(Found{time, std::move(name)});
  }
  // The newest first; files of the same moment by name, the later first.
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.time != b.time ? a.time > b.time : a.name > b.name;
  });
  std::vector<std::string> names;
  for (Found& f : found) names.push_back(std::move(f.name));
  return names;
}
