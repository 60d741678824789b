// Saving when the folder or the disk says no, or when earlier files do not parse. Whatever
// happens, every file that was there before keeps its name and its whole content, and a
// failure is reported with the program's message.
#include <sys/mount.h>  // umount2 of the tiny disk

#include <map>

#include "EditorFixture.h"
#include "TinyDisk.h"

namespace editor {
namespace {

namespace fs = std::filesystem;

// Every entry of a folder, recursively: file name -> content ("<folder>" for a folder). The
// session's own recovery file comes and goes with its edits and saves, and is left out.
using Snapshot = std::map<std::string, std::string>;

Snapshot Take(const fs::path& folder) {
  Snapshot files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    if (name == "untitled.xml.unsaved0") continue;
    files[name] = entry.is_directory() ? "<folder>" : ReadText(entry.path());
  }
  return files;
}

std::string Names(const Snapshot& files) {
  std::string names;
  for (const auto& [name, content] : files) names += name + " ";
  return names;
}

// A saved path with one point; what the folder holds before each save.
const std::string kOldPath =
    "<resource>\n  <Scale>350 200</Scale>\n  <WorldPos>262 184</WorldPos>\n"
    "  <SplineStart>0 0</SplineStart>\n  <ControlPoint>0.5 0.5</ControlPoint>\n</resource>\n";

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class SaveFaults : public EditorTest {
protected:
  void SetUp() override {}

  void TearDown() override {
    if (mTmpfs.empty()) return;
    // The program's working folder is the mount: end the program, then detach the mount so
    // the session can remove the folder.
    const fs::path root = mTmpfs.parent_path();
    mDemo.reset();
    umount2(mTmpfs.c_str(), MNT_DETACH);
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  // Three points and the name `name` in the Filename field.
  void DrawAndName(const std::string& name) {
    AddPoint(400, 300);
    AddPoint(500, 350);
    AddPoint(600, 300);
    ASSERT_TRUE(WaitForColor(600, 300, IsRed));
    SetFilename(name);
  }

  // Saves and waits for `message` (or, when empty, for the program to have drawn a few frames
  // after the save); returns the messages printed by this save, without the echo of special
  // keys (Ctrl alone is one: "114").
  std::string SaveExpecting(const std::string& message) {
    const std::size_t before = mDemo->Output().size();
    Save();
    if (message.empty()) {
      mDemo->Frames(6);
    } else {
      EXPECT_TRUE(mDemo->WaitForOutput(message + "\n")) << mDemo->Output();
    }
    std::istringstream printed(mDemo->Output().substr(before));
    std::string messages;
    for (std::string line; std::getline(printed, line);) {
      if (line.find_first_not_of("0123456789") != std::string::npos) messages += line + "\n";
    }
    return messages;
  }

  // Each file of `before` is still there with the same content, except `changed`.
  static void ExpectKept(const Snapshot& before, const Snapshot& after, const std::string& changed = "") {
    for (const auto& [name, content] : before) {
      if (name == changed) continue;
      const auto found = after.find(name);
      ASSERT_NE(found, after.end()) << name << " is gone; the folder holds " << Names(after);
      EXPECT_EQ(found->second, content) << name << " changed";
    }
  }

  // A tiny file system (64 KiB of tmpfs) mounted on the working folder before the program
  // starts, in a mount namespace of this test process alone. False where that is refused.
  bool MountTinyDisk(const fs::path& work) {
    mMountError = testsupport::MountTinyDisk(work, 64);
    if (!mMountError.empty()) return false;
    mTmpfs = work;
    return true;
  }

  fs::path mTmpfs;
  std::string mMountError;
};

TEST_F(SaveFaults, ReadOnlyFolderRefusesTheSaveAndChangesNothing) {
  Start([](const fs::path& work) { std::ofstream(work / "a.xml") << kOldPath; });
  DrawAndName("a");
  fs::permissions(mDemo->WorkDir(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
  const Snapshot before = Take(mDemo->WorkDir());
  // The existing file cannot be kept as a backup, so it is not overwritten either.
  EXPECT_EQ(Count(SaveExpecting("failed to save: a.xml"), "failed to save"), 1u);
  SetFilename("b");
  SaveExpecting("failed to save: b.xml");
  EXPECT_EQ(Take(mDemo->WorkDir()), before);
  EXPECT_TRUE(mDemo->Running());
}

// A refused save, tried again and again, leaves the folder exactly as it was: no backup of a
// file that is not going to be replaced.
TEST_F(SaveFaults, RefusedSavesLeaveTheFolderAsItWas) {
  Start([](const fs::path& work) {
    std::ofstream(work / "a.xml") << kOldPath;
    fs::permissions(work / "a.xml", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::ofstream(work / "b.xml") << kOldPath;
  });
  DrawAndName("a");
  const Snapshot before = Take(mDemo->WorkDir());
  SaveExpecting("failed to save: a.xml");
  SaveExpecting("failed to save: a.xml");
  EXPECT_EQ(Take(mDemo->WorkDir()), before) << Names(Take(mDemo->WorkDir()));

  // Writable, but the path placed beyond the float range has no file form.
  SetFilename("b");
  TypeInto(kScaleY, "1e38");
  SaveExpecting("failed to save: b.xml");
  SaveExpecting("failed to save: b.xml");
  EXPECT_EQ(Take(mDemo->WorkDir()), before) << Names(Take(mDemo->WorkDir()));
}

TEST_F(SaveFaults, FullDiskRefusesTheSaveKeepsEveryFileAndSavesOnceThereIsRoom) {
  Start([this](const fs::path& work) {
    if (!MountTinyDisk(work)) return;
    std::ofstream(work / "a.xml") << kOldPath;
    std::ofstream(work / "a.xml.bak0") << kOldPath;
    // Fill what is left, to the last byte the file system gives.
    std::FILE* filler = std::fopen((work / "filler.bin").c_str(), "wb");
    const std::string block(4096, 'x');
    while (filler != nullptr && std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
    }
    if (filler != nullptr) std::fclose(filler);
  });
  if (mTmpfs.empty()) GTEST_SKIP() << "no tmpfs could be mounted: " << mMountError;
  DrawAndName("a");
  const Snapshot before = Take(mDemo->WorkDir());
  SaveExpecting("failed to save: a.xml");
  SetFilename("b");
  SaveExpecting("failed to save: b.xml");
  EXPECT_EQ(Take(mDemo->WorkDir()), before);  // no half-written backup, file or temporary

  // With room again the same save goes through: the previous file becomes the next backup.
  fs::remove(mDemo->WorkDir() / "filler.bin");
  SetFilename("a");
  EXPECT_EQ(SaveExpecting(""), "");
  const Snapshot after = Take(mDemo->WorkDir());
  EXPECT_EQ(after.at("a.xml.bak0"), kOldPath);
  ASSERT_EQ(after.count("a.xml.bak1"), 1u) << Names(after);
  EXPECT_EQ(Count(after.at("a.xml.bak1"), "<ControlPoint>"), 1u);
  EXPECT_EQ(Count(after.at("a.xml"), "<ControlPoint>"), 3u);
}

TEST_F(SaveFaults, TargetAndBackupsThatDoNotParseAreAllKept) {
  const std::string notXml = "this is not <xml";
  Start([&](const fs::path& work) {
    std::ofstream(work / "a.xml") << notXml;
    std::ofstream(work / "a.xml.bak0") << "";
    std::ofstream(work / "a.xml.bak1") << "<<<";
  });
  DrawAndName("a");
  const Snapshot before = Take(mDemo->WorkDir());
  EXPECT_EQ(SaveExpecting(""), "");
  const Snapshot after = Take(mDemo->WorkDir());
  ExpectKept(before, after, "a.xml");
  ASSERT_EQ(after.count("a.xml.bak2"), 1u) << Names(after);
  EXPECT_EQ(after.at("a.xml.bak2"), notXml);  // kept byte for byte, as it does not parse
  EXPECT_EQ(Count(after.at("a.xml"), "<ControlPoint>"), 3u);
  EXPECT_EQ(after.size(), before.size() + 1) << Names(after);
}

TEST_F(SaveFaults, FolderNamedLikeTheTargetIsLeftAlone) {
  Start([](const fs::path& work) {
    fs::create_directory(work / "a.xml");
    std::ofstream(work / "a.xml" / "inside.txt") << "kept";
  });
  DrawAndName("a");
  const Snapshot before = Take(mDemo->WorkDir());
  SaveExpecting("failed to save: a.xml");
  EXPECT_EQ(Take(mDemo->WorkDir()), before);
}

}  // namespace
}  // namespace editor
