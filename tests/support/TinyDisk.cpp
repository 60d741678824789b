// Mounting a tiny tmpfs in a private mount namespace, and finding out whether that is allowed.
#include "TinyDisk.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace testsupport {

std::string MountTinyDisk(const std::filesystem::path& folder, int kilobytes) {
  // Each step fails on its own kind of machine: unshare without CAP_SYS_ADMIN, the private
  // remount of "/" in a chroot (not a mount point there), the tmpfs itself under some policies.
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare(CLONE_NEWNS): ") + std::strerror(errno);
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return std::string("making / private: ") + std::strerror(errno);
  const std::string options = "size=" + std::to_string(kilobytes) + "k";
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
    return std::string("mounting a tmpfs: ") + std::strerror(errno);
  return "";
}

std::string TinyDiskRefusal(const std::filesystem::path& folder) {
  int channel[2];
  if (pipe(channel) != 0) return std::string("pipe: ") + std::strerror(errno);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const std::string refusal = MountTinyDisk(folder, 64);
    ssize_t ignored = write(channel[1], refusal.data(), refusal.size());
    (void)ignored;
    _exit(0);
  }
  close(channel[1]);
  if (child < 0) {
    close(channel[0]);
    return std::string("fork: ") + std::strerror(errno);
  }
  std::string refusal;
  char buffer[256];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    refusal.append(buffer, static_cast<std::size_t>(got));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return "the child that tried to mount did not end normally";
  return refusal;
}

}  // namespace testsupport
