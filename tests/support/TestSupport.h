// Small helpers shared by the unit tests: temporary folders, files, captured console output.
#pragma once

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

namespace testsupport {

// A fresh folder under the system temp folder that becomes the working directory for the
// fixture's lifetime. Beside it (as ../resources) sits a resources folder of its own, so code
// that reads "../resources/..." can be fed files the test writes.
class TempWorkDir {
public:
  TempWorkDir();
  ~TempWorkDir();
  TempWorkDir(const TempWorkDir&) = delete;
  TempWorkDir& operator=(const TempWorkDir&) = delete;

  const std::filesystem::path& Path() const { return mWork; }
  std::filesystem::path Resources() const { return mRoot / "resources"; }

private:
  std::filesystem::path mRoot;
  std::filesystem::path mWork;
  std::filesystem::path mPrevious;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);

// Captures what is written to std::cout while it lives.
class CaptureStdout {
public:
  CaptureStdout() : mPrevious(std::cout.rdbuf(mBuffer.rdbuf())) {}
  ~CaptureStdout() { std::cout.rdbuf(mPrevious); }
  CaptureStdout(const CaptureStdout&) = delete;
  CaptureStdout& operator=(const CaptureStdout&) = delete;
  std::string Text() const { return mBuffer.str(); }

private:
  std::ostringstream mBuffer;
  std::streambuf* mPrevious;
};

}  // namespace testsupport
