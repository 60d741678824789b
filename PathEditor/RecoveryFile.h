// The session's recovery file: unsaved work kept on the disk after every finished gesture,
// written by a thread of its own so that the flushes never hold up a frame.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class RecoveryFile {
public:
  RecoveryFile() = default;
  // Finishes the last request before it returns.
  ~RecoveryFile();
  RecoveryFile(const RecoveryFile&) = delete;
  RecoveryFile& operator=(const RecoveryFile&) = delete;

  // Asks for the file to hold `text`, replaced through a flushed temporary file. The first
  // time, its name is `stem` and the first number that no file has yet; that name stays the
  // session's, and another session's file is never written over. A newer request replaces
  // one not yet begun. Returns at once.
  void Keep(std::string stem, std::string text);
  // Asks for the session's file, if there is one, to be removed.
  void Remove();
  // Waits until every request made so far is done.
  void Finish();

  // The console lines of requests that failed since the last call.
  std::vector<std::string> TakeFailures();
  // The session's file name; empty until one is taken.
  std::string Name() const;
  // Whether the session's file is there (as of the requests done so far).
  bool OnDisk() const;
  // The files written so far.
  std::uint64_t Writes() const;

private:
  struct Request {
    bool keep = false;  // otherwise: remove
    std::string stem, text;
  };
  // What one request leaves: the session's file, and whether the request went through.
  struct State {
    std::string name;
    bool onDisk = false;
  };
  static bool Carry(const Request& request, State& state);
  void Submit(Request request);
  void Done(const Request& request, const State& state, bool ok);
  void Run();

  mutable std::mutex mMutex;
  std::condition_variable mWake;  // a request came, or the writer is to stop
  std::condition_variable mIdle;  // a request is done
  std::optional<Request> mPending;
  bool mBusy = false;
  bool mStop = false;
  State mState;
  std::uint64_t mWrites = 0;
  std::vector<std::string> mFailures;
  std::thread mWriter;  // started by the first request
};

// Whether a name is a path file's: ".xml" after at least one character. Save adds ".xml" to a
// name that is not, and the recovery file's name is built by the same rule, so the two agree.
bool EndsWithXml(const std::string& name);

// The name a recovery file takes after the Filename field: the file it saves to (".xml"
// added unless the name ends so) with ".unsaved", "untitled.xml.unsaved" without a name.
// After a recovery file was loaded the stem is the one it had, not one made from its name.
std::string RecoveryStem(const std::string& filename);
// The file a recovery file was kept from: "a.xml" for a.xml.unsaved3, an empty name for
// untitled.xml.unsaved0; nothing when `name` is no recovery file's name.
std::optional<std::string> KeptFrom(const std::string& name);
// The recovery files in `folder`, the newest first.
std::vector<std::string> ListRecoveryFiles(const std::string& folder = ".");
