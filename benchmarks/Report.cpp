// perf_report: turns the medians of perf_inprocess (Google Benchmark CSV) and perf_programs
// into the table of docs/PERFORMANCE.md: each figure, its floor or peer from the same run,
// the ratio and the goal. The table replaces what stands between the two marker lines.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Fields of one CSV line; quoted fields may hold commas.
std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

double ToSeconds(double value, const std::string& unit) {
  if (unit == "ns") return value * 1e-9;
  if (unit == "us") return value * 1e-6;
  if (unit == "ms") return value * 1e-3;
  return value;
}

// Medians by name (a benchmark run once: its one figure). In-process figures are CPU time,
// except those timed by hand (wall time). Figures in a label are kept as "name.figure".
std::map<std::string, double> ReadInProcess(const std::string& file) {
  std::map<std::string, double> medians;
  std::ifstream in(file);
  std::vector<std::string> header;
  for (std::string line; std::getline(in, line);) {
    if (header.empty()) {
      if (line.rfind("name,", 0) == 0) header = SplitCsv(line);
      continue;
    }
    const std::vector<std::string> fields = SplitCsv(line);
    if (fields.size() < 5) continue;
    std::string name = fields[0];
    const std::string suffix = "_median";
    const bool median =
        name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (median) {
      name.erase(name.size() - suffix.size());
    } else if (name.find("repeats:1") == std::string::npos) {
      continue;
    }
    const bool manual =
        name.find("manual_time") != std::string::npos || name.find("real_time") != std::string::npos;
    medians[name] = ToSeconds(std::stod(fields[manual ? 2 : 3]), fields[4]);
    // A label of "figure=value ..." pairs holds a benchmark's several figures.
    std::istringstream label(fields.size() > 7 ? fields[7] : "");
    for (std::string pair; label >> pair;) {
      const std::size_t equals = pair.find('=');
      if (equals != std::string::npos)
        medians[name + "." + pair.substr(0, equals)] = std::stod(pair.substr(equals + 1));
    }
  }
  return medians;
}

std::map<std::string, double> ReadPrograms(const std::string& file) {
  std::map<std::string, double> medians;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> fields = SplitCsv(line);
    if (fields.size() >= 2 && !fields[1].empty()) medians[fields[0]] = std::stod(fields[1]);
  }
  return medians;
}

std::string Time(double seconds) {
  char text[32];
  if (std::isnan(seconds)) return "n/a";
  if (seconds < 1e-7)
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  else if (seconds < 1e-6)
    std::snprintf(text, sizeof text, "%.0f ns", seconds * 1e9);
  else if (seconds < 1e-3)
    std::snprintf(text, sizeof text, "%.2f µs", seconds * 1e6);
  else if (seconds < 1.0)
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  else
    std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

std::string Rate(double perSecond) {
  char text[32];
  if (std::isnan(perSecond)) return "n/a";
  std::snprintf(text, sizeof text, "%.1f fps", perSecond);
  return text;
}

std::string MiB(double value) {
  char text[32];
  if (std::isnan(value)) return "n/a";
  std::snprintf(text, sizeof text, "%.2f MiB", value);
  return text;
}

struct Row {
  std::string number, cost, figure, floor, ratio, goal, met;
};

// A ratio against a goal: "<= limit" or ">= limit"; an empty goal is reported only.
Row Compare(std::string number, std::string cost, double figure, double floor, bool rate,
            const std::string& goal, double limit, bool atMost) {
  Row row{std::move(number),
          std::move(cost),
          rate ? Rate(figure) : Time(figure),
          rate ? Rate(floor) : Time(floor),
          "n/a",
          goal.empty() ? "report" : goal,
          ""};
  const double ratio = figure / floor;
  if (!std::isnan(ratio) && std::isfinite(ratio)) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f×", ratio);
    row.ratio = text;
    if (!goal.empty()) row.met = (atMost ? ratio <= limit : ratio >= limit) ? "yes" : "**no**";
  } else if (!goal.empty()) {
    row.met = "not measured";
  }
  return row;
}

// A figure against an absolute bound rather than a peer.
Row Within(std::string number, std::string cost, std::string figure, bool met, bool missing,
           std::string goal) {
  return Row{std::move(number),
             std::move(cost),
             std::move(figure),
             "n/a",
             "n/a",
             std::move(goal),
             missing ? "not measured"
             : met   ? "yes"
                     : "**no**"};
}

double Get(const std::map<std::string, double>& medians, const std::string& key) {
  const auto found = medians.find(key);
  return found == medians.end() ? NAN : found->second;
}

// A frame's part in processor time beside the whole frame it belongs to (counters in ms).
Row Part(const std::string& cost, double part, double frame) {
  return Compare("4 (part)", cost, part * 1e-3, frame * 1e-3, false, "", 0, true);
}

std::string Table(const std::map<std::string, double>& in, const std::map<std::string, double>& programs) {
  std::vector<Row> rows;
  for (const char* n : {"4", "100", "1000", "10000"}) {
    const bool last = std::string(n) == "10000";
    rows.push_back(Compare(
        "1", std::string("`RebuildSamples`, n = ") + n, Get(in, std::string("BM_RebuildSamples/") + n),
        Get(in, std::string("BM_WriteSamplesFloor/") + n), false, last ? "≤ 8×" : "", 8.0, true));
  }
  rows.push_back(Compare("2", "drag frame at n = 10,000 (peer: the same at n = 100)",
                         Get(in, "BM_DragFrame/10000"), Get(in, "BM_DragFrame/100"), false, "≤ 2×", 2.0,
                         true));
  // A zoom step is held to the drag frame's bound: twice the drag frame at 100 points.
  rows.push_back(Compare("2", "zoom step at n = 10,000 (peer: the drag frame at n = 100)",
                         Get(in, "BM_ZoomStep/10000"), Get(in, "BM_DragFrame/100"), false, "≤ 2×", 2.0,
                         true));
  // Reported only: what measuring the whole path for the bar's Length costs (a load, a change of
  // the ends), beside the rebuild of the samples; then what an edit costs it, beside that.
  for (const char* n : {"100", "1000", "10000"}) {
    rows.push_back(
        Compare("2 (info)",
                std::string("measuring the whole path for Length, n = ") + n + " (peer: `RebuildSamples`)",
                Get(in, std::string("BM_MeasurePath/") + n), Get(in, std::string("BM_RebuildSamples/") + n),
                false, "", 0.0, true));
  }
  const char* const edits[] = {"a click that appends a point", "a click that moves a point", "an undo"};
  for (int edit = 0; edit < 3; ++edit) {
    for (const char* n : {"1000", "10000", "100000"}) {
      rows.push_back(Compare(
          "2 (info)",
          std::string("the Length after ") + edits[edit] + ", n = " + n + " (peer: measuring the whole path)",
          Get(in, "BM_EditMeasure/" + std::to_string(edit) + "/" + n),
          Get(in, std::string("BM_MeasurePath/") + n), false, "", 0.0, true));
    }
  }
  // A drag frame with the Length's measure: at once up to 250 points, at the release beyond.
  for (const char* n : {"100", "10000"}) {
    rows.push_back(Compare(
        "2 (info)",
        std::string("drag frame with the Length's measure, n = ") + n + " (peer: the drag frame alone)",
        Get(in, std::string("BM_DragFrameMeasured/") + n), Get(in, std::string("BM_DragFrame/") + n), false,
        "", 0.0, true));
  }
  // Reported only: beside the frame's drawing (the rows below) no user feels it.
  for (const char* n : {"100", "1000", "10000"}) {
    rows.push_back(Compare("3", std::string("batch submission, n = ") + n,
                           Get(in, std::string("BM_SubmitBatches/") + n),
                           Get(in, std::string("BM_CopyBatchBytes/") + n), false, "", 0.0, true));
  }
  for (const char* n : {"100", "1000", "10000"}) {
    rows.push_back(Compare("3 (info)", std::string("GL render of those batches, n = ") + n + " (wall time)",
                           Get(in, std::string("BM_RenderBatchesGl/") + n + "/real_time"),
                           Get(in, std::string("BM_CopyBatchBytes/") + n), false, "", 0.0, true));
  }
  for (const char* n : {"100", "1000"}) {
    rows.push_back(Compare("4", std::string("`Demo` frames per second, path of ") + n + " points",
                           Get(programs, std::string("fps_demo_") + n),
                           Get(programs, std::string("fps_peer_") + n), true, "≥ 0.9×", 0.9, false));
    // The same frames priced in processor time (all threads): steadier on a shared machine.
    rows.push_back(Compare("4", std::string("processor time per frame, path of ") + n + " points",
                           Get(programs, std::string("cpu_frame_demo_") + n),
                           Get(programs, std::string("cpu_frame_peer_") + n), false, "≤ 1.2×", 1.2, true));
  }
  // Over a 700 x 400 background image, the peer drawing the same textured quad under its lines.
  for (const char* n : {"100", "1000"}) {
    const std::string over = std::string(" over a 700 × 400 background, path of ") + n + " points";
    rows.push_back(Compare("4", "`Demo` frames per second" + over + " (peer: lines and the same image)",
                           Get(programs, std::string("fps_demo_background_") + n),
                           Get(programs, std::string("fps_peer_background_") + n), true, "≥ 0.9×", 0.9,
                           false));
    rows.push_back(Compare(
        "4", "processor time per frame" + over, Get(programs, std::string("cpu_frame_demo_background_") + n),
        Get(programs, std::string("cpu_frame_peer_background_") + n), false, "≤ 1.2×", 1.2, true));
  }
  // Where a frame's processor time goes, in-process: each part is the frame less the frame
  // without it; the lines and the clear with the swap are what the lines-only peer draws too.
  for (const char* n : {"100", "1000"}) {
    const std::string with = std::string("BM_FrameParts/") + n + "/1/iterations:60/repeats:1.";
    const std::string without = std::string("BM_FrameParts/") + n + "/0/iterations:60/repeats:1.";
    const double frame = Get(in, with + "frame");
    const std::string path = std::string(", path of ") + n + " points (peer: the whole frame)";
    rows.push_back(Part("background image, 700 × 400" + path, Get(in, with + "background") - frame, frame));
    rows.push_back(Part("labels" + path, frame - Get(in, with + "no_labels"), frame));
    rows.push_back(Part("points" + path, frame - Get(in, with + "no_points"), frame));
    rows.push_back(
        Part("the bar's drawing" + path, Get(in, with + "lines_bar") - Get(in, without + "lines"), frame));
    rows.push_back(Part("lines" + path, Get(in, without + "lines") - Get(in, without + "none"), frame));
    rows.push_back(Part("clear and swap" + path, Get(in, without + "none"), frame));
  }
  {
    const double editor = Get(in, "BM_LabelFrameMemory/iterations:1/repeats:1.editor_mib");
    const double font = Get(in, "BM_LabelFrameMemory/iterations:1/repeats:1.font_mib");
    Row row{"4",
            "memory a frame of 100,000 labels adds at its peak (peer: the bitmap font one by one)",
            MiB(editor),
            MiB(font),
            "n/a",
            "≤ 16 MiB",
            std::isnan(editor) ? "not measured" : ""};
    if (!std::isnan(editor) && !std::isnan(font) && font > 0) {
      char text[32];
      std::snprintf(text, sizeof text, "%.2f×", editor / font);
      row.ratio = text;
    }
    if (!std::isnan(editor)) row.met = editor <= 16.0 ? "yes" : "**no**";
    rows.push_back(row);
  }
  rows.push_back(Compare("5", "`Demo` start-up to the first drawn frame", Get(programs, "startup_demo"),
                         Get(programs, "startup_peer"), false, "≤ 1.5×", 1.5, true));
  rows.push_back(Compare("6", "OBJ reader, 1,000,000 triangles (wall time)",
                         Get(in, "BM_ObjReader/iterations:1/manual_time"),
                         Get(in, "BM_TinyObjLoader/iterations:1/manual_time"), false, "≤ 1×", 1.0, true));
  const double save = Get(in, "BM_SaveOverExisting"), load = Get(in, "BM_Load");
  const double parse = Get(in, "BM_XmlParse"), print = Get(in, "BM_XmlPrint");
  rows.push_back(Compare("7", "Save over the file + Load, 10,000 points (peer: parse + print)", save + load,
                         parse + print, false, "≤ 2×", 2.0, true));
  rows.push_back(
      Compare("7 (part)", "Save over the existing file (peer: print)", save, print, false, "", 0, true));
  rows.push_back(Compare("7 (part)", "Save under a new name (peer: print)", Get(in, "BM_SaveNew"), print,
                         false, "", 0, true));
  rows.push_back(Compare("7 (part)", "Load (peer: parse)", load, parse, false, "", 0, true));
  rows.push_back(Compare("8", "`resindex`, 100,000 files (peer: find \\| sort)", Get(programs, "resindex"),
                         Get(programs, "find_sort"), false, "≤ 0.6×", 0.6, true));
  // The recovery file: the frame that ends a gesture and hands its text to the writer, beside
  // an ordinary frame; the same frame writing the file itself; the write with its flushes.
  {
    const std::string frames = "BM_RecoveryFrame/1000/iterations:60/repeats:1.";
    const double ordinary = Get(in, frames + "ordinary") * 1e-3;
    rows.push_back(Compare(
        "9", "frame that writes the recovery file, path of 1000 points (peer: a drag frame; wall time)",
        Get(in, frames + "writing") * 1e-3, ordinary, false, "≤ 2×", 2.0, true));
    rows.push_back(Compare("9 (info)",
                           "the same frame writing the file itself, with its flushes (peer: a drag frame)",
                           Get(in, frames + "writing_here") * 1e-3, ordinary, false, "", 0.0, true));
  }
  for (const char* n : {"100", "1000", "10000"}) {
    rows.push_back(Compare(
        "9",
        std::string("recovery write with its flushes, n = ") + n + " (wall time; floor: making its text)",
        Get(in, std::string("BM_RecoveryWrite/") + n + "/real_time"),
        Get(in, std::string("BM_RecoveryText/") + n + "/real_time"), false, "", 0.0, true));
  }
  // Walking along a path in a game: the runtime beside a 5 px baked table, and absolute bounds.
  rows.push_back(
      Compare("10",
              "`PointAtDistance`, random distances, path of 1000 points (peer: a table baked every "
              "5 px, interpolated linearly)",
              Get(in, "BM_PointAtDistance"), Get(in, "BM_BakedLookup"), false, "≤ 10×", 10.0, true));
  rows.push_back(Compare("10", "`PoseAtDistance`, the point and the direction (peer: `PointAtDistance`)",
                         Get(in, "BM_PoseAtDistance"), Get(in, "BM_PointAtDistance"), false, "≤ 1.5×", 1.5,
                         true));
  rows.push_back(Compare("10 (info)", "`TangentAtDistance` (peer: `PointAtDistance`)",
                         Get(in, "BM_TangentAtDistance"), Get(in, "BM_PointAtDistance"), false, "", 0.0,
                         true));
  rows.push_back(Within("10", "a frame of 10,000 objects' points and directions, one core",
                        Time(Get(in, "BM_WalkFrame")), Get(in, "BM_WalkFrame") <= 0.5e-3,
                        std::isnan(Get(in, "BM_WalkFrame")), "≤ 0.5 ms"));
  {
    const std::string accuracy = "BM_WalkAccuracy/iterations:1/repeats:1.";
    const double runtime = Get(in, accuracy + "runtime_px"), baked = Get(in, accuracy + "baked_px");
    char figure[32], peer[32];
    std::snprintf(figure, sizeof figure, "%.2g px", runtime);
    std::snprintf(peer, sizeof peer, "%.2g px", baked);
    Row row = Within(
        "10",
        "largest distance of `PointAtDistance` from the curve, 2,000 distances (peer: the baked table's)",
        figure, runtime <= 1e-3, std::isnan(runtime), "≤ 0.001 px");
    row.floor = peer;
    rows.push_back(row);
  }
  rows.push_back(Within("10", "`NearestDistance`, points over the frame, path of 1000 points",
                        Time(Get(in, "BM_NearestDistance")), Get(in, "BM_NearestDistance") <= 20e-6,
                        std::isnan(Get(in, "BM_NearestDistance")), "≤ 20 µs"));
  rows.push_back(Compare("10 (info)",
                         "loading the path of 1000 points from its text (peer: tinyxml2 parsing it)",
                         Get(in, "BM_LoadPath"), Get(in, "BM_ParsePathText"), false, "", 0.0, true));
  for (const char* n : {"100", "1000"}) {
    const std::string memory = "BM_PathMemory/iterations:1/repeats:1.";
    const double held = Get(in, memory + "held_kib_" + n), samples = Get(in, memory + "samples_kib_" + n);
    Row row{"10 (info)",
            std::string("memory a loaded path of ") + n + " points holds (peer: its samples)",
            MiB(held / 1024.0),
            MiB(samples / 1024.0),
            "n/a",
            "report",
            ""};
    if (samples > 0.0) {
      char ratio[32];
      std::snprintf(ratio, sizeof ratio, "%.2f×", held / samples);
      row.ratio = ratio;
    }
    rows.push_back(row);
  }

  std::ostringstream out;
  out << "| # | Cost | Figure | Floor or peer | Ratio | Goal | Met |\n|---|---|---|---|---|---|---|\n";
  for (const Row& row : rows) {
    out << "| " << row.number << " | " << row.cost << " | " << row.figure << " | " << row.floor << " | "
        << row.ratio << " | " << row.goal << " | " << row.met << " |\n";
  }
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: perf_report INPROCESS.csv PROGRAMS.csv DOC.md NOTE" << std::endl;
    return 2;
  }
  const auto in = ReadInProcess(argv[1]);
  const auto programs = ReadPrograms(argv[2]);
  const std::string begin = "<!-- table:begin -->", end = "<!-- table:end -->";
  std::ifstream docIn(argv[3]);
  std::stringstream doc;
  doc << docIn.rdbuf();
  std::string text = doc.str();
  const std::size_t from = text.find(begin), to = text.find(end);
  if (from == std::string::npos || to == std::string::npos || to < from) {
    std::cerr << "perf_report: " << argv[3] << " has no table markers" << std::endl;
    return 1;
  }
  const std::string table = begin + "\n" + std::string(argv[4]) + "\n\n" + Table(in, programs) + end;
  text.replace(from, to + end.size() - from, table);
  std::ofstream(argv[3]) << text;
  std::cout << Table(in, programs);
  return 0;
}
