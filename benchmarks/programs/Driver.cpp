// perf_programs: whole-program figures, each beside its peer in the same run, under the X
// server of $DISPLAY: Demo's start-up to its first drawn frame, Demo's frames per second with
// a loaded path, and resindex on a folder of 100,000 files beside find | sort. Runs of the two
// sides alternate; each figure is the median of its runs. Writes "key,median,runs" lines.
#include <fcntl.h>     // open of the programs' output files
#include <sys/wait.h>  // waitpid
#include <unistd.h>    // fork, exec and chdir

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

#include <stb/stb_image_write.h>  // the background image, as PNG

#include "BenchPaths.h"
#include "DriverSupport.h"

namespace fs = std::filesystem;
using bench::Child;
using bench::NowNs;
using bench::SwapCounter;

namespace {

struct Options {
  std::string demo, peerLines, peerFirstFrame, resindex, swapCounter, resources, out;
  int startupRuns = 7, fpsRuns = 3, resindexRuns = 11;
  double fpsSeconds = 3.0;
  std::string only;  // startup, fps, fps_background or resindex: that part alone
};

// Demo's folders: <root>/work as the working folder, <root>/resources beside it.
struct Folders {
  explicit Folders(const std::string& resources) {
    std::random_device seed;
    do root = fs::temp_directory_path() / ("veyrun-perf-" + std::to_string(seed()));
    while (!fs::create_directory(root));
    fs::create_directory(root / "work");
    fs::create_directory_symlink(resources, root / "resources");
  }
  ~Folders() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  void EmptyWork() const {
    for (const auto& entry : fs::directory_iterator(root / "work")) fs::remove_all(entry.path());
  }
  fs::path root;
};

std::vector<std::string> Environment(const Options& options, const SwapCounter& counter) {
  return {"LD_PRELOAD=" + options.swapCounter, counter.Environment()};
}

// Seconds from starting the program to the return of its first buffer swap.
double FirstFrame(const Options& options, const Folders& folders, const std::string& program) {
  SwapCounter counter(folders.root / "swaps");
  const std::int64_t start = NowNs();
  Child child({program}, folders.root / "work", Environment(options, counter), folders.root / "log");
  if (!counter.WaitFor(0, 1, 60000)) return NAN;
  return static_cast<double>(counter.Read().firstSwapNs - start) * 1e-9;
}

// Frames per second of a running program over at least `seconds`, from its own swap times,
// and the processor time it spent per frame meanwhile (all its threads; steadier than the
// frame rate when other programs compete for the processors).
struct FrameRate {
  double perSecond = NAN;
  double processorPerFrame = NAN;
};

FrameRate MeasureFrames(const Child& program, const SwapCounter& counter, double seconds) {
  const bench::SwapLog first = counter.Read();
  const double cpuFirst = program.ProcessorSeconds();
  bench::SleepMs(static_cast<int>(seconds * 1000));
  counter.WaitFor(first.swaps, 3, 30000);  // a slow program still shows a few frames
  const bench::SwapLog last = counter.Read();
  const double cpuLast = program.ProcessorSeconds();
  FrameRate rate;
  if (last.swaps <= first.swaps) return rate;
  const auto frames = static_cast<double>(last.swaps - first.swaps);
  rate.perSecond = frames / (static_cast<double>(last.lastSwapNs - first.lastSwapNs) * 1e-9);
  rate.processorPerFrame = (cpuLast - cpuFirst) / frames;
  return rate;
}

// Demo's curve has this many samples for n control points (parameters 0, 0.01, ... added up
// in single precision while they stay at or below max(1, n - 3), then that end once).
std::size_t SampleCount(std::size_t n) {
  const float end = static_cast<float>(n > 4 ? n - 3 : 1);
  std::size_t count = 1;
  for (float s = 0.0f; s <= end; s += 0.01f) ++count;
  return count;
}

// One left click at window coordinates, press and release a few frames apart (the bar polls
// the buttons once per frame).
void Click(bench::Screen& screen, const SwapCounter& counter, ::Window window, int x, int y) {
  screen.MoveTo(window, x, y);
  counter.WaitFor(counter.Read().swaps, 3, 10000);
  screen.Button(true);
  counter.WaitFor(counter.Read().swaps, 3, 10000);
  screen.Button(false);
  counter.WaitFor(counter.Read().swaps, 3, 10000);
}

// The background image of the frame-rate runs, written into the working folder.
constexpr const char* kLevelImage = "level.png";

// Demo with a path of n points chosen from its Load list, over the background image when
// `background` says so; NaN when the path did not show.
FrameRate DemoFps(const Options& options, const Folders& folders, std::size_t n, bool background) {
  folders.EmptyWork();
  std::ofstream(folders.root / "work" / "path.xml") << bench::PathFileText(n, background ? kLevelImage : "");
  if (background) {
    const std::vector<unsigned char> rgb = bench::LevelImage();
    stbi_write_png((folders.root / "work" / kLevelImage).c_str(), bench::kLevelWidth, bench::kLevelHeight, 3,
                   rgb.data(), bench::kLevelWidth * 3);
  }
  SwapCounter counter(folders.root / "swaps");
  Child demo({options.demo}, folders.root / "work", Environment(options, counter), folders.root / "log");
  bench::Screen screen;
  const ::Window window = screen.FindWindow("Veyrun Path Editor", 60000);
  if (window == 0 || !counter.WaitFor(0, 5, 60000)) return {};
  Click(screen, counter, window, 130, 71);  // opens the Load list
  // path.xml: its only entry, or the one after level.png
  Click(screen, counter, window, 130, background ? 108 : 92);
  screen.MoveTo(window, 600, 700);  // below the path, outside the bar
  const auto path = bench::WindowPath(n);
  int shown = 0;
  for (std::size_t k = 0; k < 5; ++k) {
    const auto [x, y] = path[k * n / 5];
    shown +=
        screen.GreenNear(window, static_cast<int>(std::lround(x)), 767 - static_cast<int>(std::lround(y)));
  }
  if (shown < 3) {
    std::cerr << "perf_programs: the path of " << n << " points did not show" << std::endl;
    return {};
  }
  bench::SleepMs(1000);
  return MeasureFrames(demo, counter, options.fpsSeconds);
}

// The peer with as many line vertices, and over the same image when `background` says so (the
// run of Demo before it left the image in the working folder).
FrameRate PeerFps(const Options& options, const Folders& folders, std::size_t vertices, bool background) {
  SwapCounter counter(folders.root / "swaps");
  std::vector<std::string> command = {options.peerLines, std::to_string(vertices)};
  if (background) command.push_back(kLevelImage);
  Child peer(command, folders.root / "work", Environment(options, counter), folders.root / "log");
  if (!counter.WaitFor(0, 1, 60000)) return {};
  bench::SleepMs(1000);
  return MeasureFrames(peer, counter, options.fpsSeconds);
}

// 100,000 empty files, a quarter of them named *.xml (some *.XML), in no particular order.
fs::path MakeResourceFolder(const Folders& folders) {
  const fs::path folder = folders.root / "res100k";
  fs::create_directory(folder);
  for (std::uint32_t i = 0; i < 100000; ++i) {
    char name[32];
    const std::uint32_t scrambled = i * 2654435761u;
    const char* extension = i % 4 != 0 ? ".png" : (i % 16 == 0 ? ".XML" : ".xml");
    std::snprintf(name, sizeof name, "r%08x%s", scrambled, extension);
    const int fd = open((folder / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) close(fd);
  }
  return folder;
}

double Resindex(const Options& options, const fs::path& folder) {
  const std::int64_t start = NowNs();
  Child run({options.resindex}, folder, {}, folder.parent_path() / "log");
  run.Wait();
  return static_cast<double>(NowNs() - start) * 1e-9;
}

// find . -maxdepth 1 -iname '*.xml' | LC_ALL=C sort > out, as its two processes.
double Pipeline(const fs::path& folder) {
  const std::int64_t start = NowNs();
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return NAN;
  const pid_t find = fork();
  if (find == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    dup2(pipeEnds[1], 1);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    execlp("find", "find", ".", "-maxdepth", "1", "-iname", "*.xml", static_cast<char*>(nullptr));
    _exit(127);
  }
  const pid_t sort = fork();
  if (sort == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int out = open("out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(pipeEnds[0], 0);
    dup2(out, 1);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    setenv("LC_ALL", "C", 1);
    execlp("sort", "sort", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[0]);
  close(pipeEnds[1]);
  waitpid(find, nullptr, 0);
  waitpid(sort, nullptr, 0);
  return static_cast<double>(NowNs() - start) * 1e-9;
}

std::size_t Lines(const fs::path& file) {
  std::ifstream in(file);
  std::size_t count = 0;
  for (std::string line; std::getline(in, line);) ++count;
  return count;
}

class Results {
public:
  void Add(const std::string& key, double value) { mRuns[key].push_back(value); }
  void Write(const std::string& file) const {
    std::ofstream out(file);
    for (const auto& [key, runs] : mRuns) {
      out << key << ',' << bench::Median(runs) << ',';
      for (std::size_t i = 0; i < runs.size(); ++i) out << (i ? ";" : "") << runs[i];
      out << '\n';
      std::cout << key << " median " << bench::Median(runs) << " of " << runs.size() << std::endl;
    }
  }

private:
  std::map<std::string, std::vector<double>> mRuns;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::map<std::string, std::string*> flags = {{"--demo", &options.demo},
                                               {"--peer-lines", &options.peerLines},
                                               {"--peer-first-frame", &options.peerFirstFrame},
                                               {"--resindex", &options.resindex},
                                               {"--swap-counter", &options.swapCounter},
                                               {"--resources", &options.resources},
                                               {"--out", &options.out},
                                               {"--only", &options.only}};
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--quick") {
      options.startupRuns = 3, options.fpsRuns = 1, options.resindexRuns = 3;
      options.fpsSeconds = 1.5;
    } else if (flags.count(flag) != 0 && i + 1 < argc) {
      *flags[flag] = argv[++i];
    } else {
      std::cerr << "perf_programs: unknown argument " << flag << std::endl;
      return 2;
    }
  }
  for (const auto& [flag, value] : flags) {
    if (value == &options.only) continue;
    if (value->empty()) {
      std::cerr << "perf_programs: " << flag << " is missing" << std::endl;
      return 2;
    }
    *value = fs::absolute(*value).string();  // the programs start in folders of their own
  }

  Results results;
  const Folders folders(options.resources);
  const auto part = [&](const char* name) { return options.only.empty() || options.only == name; };
  for (int run = 0; part("startup") && run < options.startupRuns; ++run) {
    results.Add("startup_demo", FirstFrame(options, folders, options.demo));
    results.Add("startup_peer", FirstFrame(options, folders, options.peerFirstFrame));
  }
  // Each path alone, then over a 700 x 400 background (keys with "_background"), the peer
  // drawing the same textured quad then.
  for (const bool background : {false, true}) {
    const std::string over = background ? "_background" : "";
    for (std::size_t n : {100u, 1000u}) {
      const std::size_t vertices = 8 + 2 * (SampleCount(n) - 1);  // frame rectangle and curve
      const std::string key = over + "_" + std::to_string(n);
      for (int run = 0; part(background ? "fps_background" : "fps") && run < options.fpsRuns; ++run) {
        const FrameRate demo = DemoFps(options, folders, n, background);
        const FrameRate peer = PeerFps(options, folders, vertices, background);
        results.Add("fps_demo" + key, demo.perSecond);
        results.Add("fps_peer" + key, peer.perSecond);
        results.Add("cpu_frame_demo" + key, demo.processorPerFrame);
        results.Add("cpu_frame_peer" + key, peer.processorPerFrame);
      }
    }
  }
  if (part("resindex")) {
    folders.EmptyWork();
    const fs::path folder = MakeResourceFolder(folders);
    for (int run = 0; run < options.resindexRuns; ++run) {
      results.Add("resindex", Resindex(options, folder));
      results.Add("find_sort", Pipeline(folder));
    }
    if (Lines(folder / "output.txt") != 25003 || Lines(folder / "out") != 25000)
      std::cerr << "perf_programs: resindex or the pipeline listed an unexpected number of files"
                << std::endl;
  }
  results.Write(options.out);
  return 0;
}
