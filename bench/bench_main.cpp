// varnock-bench: what the scan costs on a machine sized like real
// installations, against the floor of listing the same folders and reading
// the same version resources, measured in the same run (medians); how the
// main window answers while it scans, against the window as it was when the
// scan ran inside it and, given other builds' benchmarks, against those
// builds' windows; and the window's "Show All", time and memory, against the
// console tool's --all --signatures over the same machine, on that machine
// and on one of some 20,000 rows.
//   varnock-bench [--smoke] [--reps N] [--machine DIR] [--fixtures DIR]
//                 [--baseline LABEL EXE]... [--windows-only]
// --smoke lays out tiny machines and runs each measure once; --windows-only
// measures the windows (and the console tool) alone. The benchmark starts
// itself (or EXE) with --window-child KEY [--one-thread] for the window runs.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "console_probe.h"
#include "floor.h"
#include "heap_counter.h"
#include "list_host.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "scan/signature_pass.h"
#include "scratch_hklm.h"
#include "synthetic_machine.h"
#include "window_probe.h"

namespace {

// Another build's benchmark, whose window runs beside this build's.
struct Baseline {
  std::string label;  // "baseline f6a819a"
  std::string exe;
};

// Windows path, as CMake names the tool with "/".
std::string ConsoleTool() {
  std::string path = VARNOCK_BENCH_CONSOLE_TOOL;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

struct Options {
  bool smoke = false;
  int reps = 5;
  std::string machine = VARNOCK_BENCH_MACHINE_DIR;
  std::string fixtures = VARNOCK_BENCH_FIXTURE_DIR;
  std::string signedModule = VARNOCK_BENCH_SIGNED_MODULE;
  std::string largeModule = VARNOCK_BENCH_LARGE_MODULE;
  std::string consoleTool = ConsoleTool();
  std::vector<Baseline> baselines;
  bool windowsOnly = false;  // the window runs alone, for work on the window
};

bool Parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--smoke") options.smoke = true;
    else if (arg == "--reps" && hasValue) options.reps = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--machine" && hasValue) options.machine = argv[++i];
    else if (arg == "--fixtures" && hasValue) options.fixtures = argv[++i];
    else if (arg == "--baseline" && i + 2 < argc) {
      options.baselines.push_back({argv[i + 1], argv[i + 2]});
      i += 2;
    } else if (arg == "--windows-only") options.windowsOnly = true;
    else return false;
  }
  if (options.smoke) options.reps = 1;
  return true;
}

class CountingSink : public scan::ByteSink {
 public:
  void Write(std::string_view bytes) override { size += bytes.size(); }
  std::size_t size = 0;
};

std::string Thousands(long long n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

void Line(const std::string& measure, const std::string& value, const std::string& note) {
  std::printf("| %-52s | %12s | %-34s |\n", measure.c_str(), value.c_str(), note.c_str());
}

std::string Time(double seconds) {
  char text[32];
  if (seconds >= 1) std::snprintf(text, sizeof text, "%.2f s", seconds);
  else if (seconds >= 1e-3) std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
  else std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
  return text;
}

std::string Ratio(double a, double b, const char* what) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f x %s", b > 0 ? a / b : 0.0, what);
  return text;
}

// A window's or the console tool's runs, and the median of any one measure
// over them.
template <typename Run>
struct Samples {
  using Measure = double Run::*;
  std::vector<Run> runs;
  bool Add(const Run& run) {
    runs.push_back(run);
    return run.ok;
  }
  template <typename T>
  double Median(T Run::*measure) const {
    std::vector<double> values;
    for (const Run& run : runs) values.push_back(static_cast<double>(run.*measure));
    return bench::Median(values);
  }
};
using WindowSamples = Samples<bench::WindowTimes>;

// A run that went wrong says so on standard error; the table only that one did.
bool Ran(bool ok, const std::string& what) {
  if (!ok) std::fprintf(stderr, "varnock-bench: %s failed\n", what.c_str());
  return ok;
}

// The console's runs also check that it read the machine the window reads.
struct ConsoleSamples : Samples<bench::ConsoleRun> {
  bool Add(const bench::ConsoleRun& run, int rows) {
    return Ran(Samples::Add(run) && run.rows == rows, "a console run (" + std::to_string(run.rows) +
                                                          " rows of " + std::to_string(rows) + ")");
  }
};

std::string KiB(std::size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024.0);
  return text;
}

// Signed: a difference of two peaks.
std::string Bytes(double bytes) {
  char text[32];
  if (std::abs(bytes) >= 1 << 20)
    std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1 << 20));
  else if (std::abs(bytes) >= 1 << 10)
    std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024);
  else
    std::snprintf(text, sizeof text, "%.0f B", bytes);
  return text;
}

constexpr const char* kConsoleAll = "--all --signatures";

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--window-child") == 0)
    return bench::RunWindowChild(argv[2], argc >= 4 && std::strcmp(argv[3], "--one-thread") == 0);
  Options options;
  if (!Parse(argc, argv, options)) {
    std::fputs("usage: varnock-bench [--smoke] [--reps N] [--machine DIR] [--fixtures DIR]\n"
               "                     [--baseline LABEL EXE]... [--windows-only]\n",
               stderr);
    return 2;
  }
  bench::ScratchHklm registry;
  if (!registry.Ready()) {
    std::fputs("varnock-bench: cannot redirect HKEY_LOCAL_MACHINE\n", stderr);
    return 1;
  }
  const bench::MachineShape shape =
      options.smoke ? bench::MachineShape{{60, 4, 3, 20}, {20, 4, 1, 10}}
                    : bench::MachineShape{{2500, 10, 8, 300}, {300, 10, 4, 120}};
  bench::TreeCount count;
  const std::string where = options.machine + (options.smoke ? "\\smoke" : "\\full");
  ::CreateDirectoryA(options.machine.c_str(), nullptr);
  const auto walks = bench::LayOutMachine(registry, where, shape, options.fixtures, count);
  std::size_t rawReads = 0, allReads = 0;
  for (const auto& walk : walks) {
    rawReads += walk.raw.size();
    allReads += walk.raw.size() + walk.other.size();
  }

  scan::MemoryTable memory;
  scan::PluginScanner headless(memory);
  bench::ListHost host;
  using Drawing = bench::ShownRows::Drawing;
  bench::ShownRows paced(host.Owner(), Drawing::Held), everyRow(host.Owner(), Drawing::EveryRow),
      pacedOnly(host.Owner(), Drawing::Paced);
  scan::PluginScanner shown(paced), shownEveryRow(everyRow), shownPacedOnly(pacedOnly);

  bool rowsRight = true;
  auto floor = [&](bool all) {
    for (const auto& walk : walks) {
      bench::ListTree(walk.root);
      for (const auto& file : walk.raw) bench::ReadVersionResource(file);
      if (all)
        for (const auto& file : walk.other) bench::ReadVersionResource(file);
    }
  };
  auto scanInto = [&](scan::PluginScanner& scanner, const scan::ResultTable& table, bool all,
                      const std::function<void()>& clear, bench::ShownRows* shownRows = nullptr) {
    clear();
    scanner.Reset();
    scanner.ShowAllPlugins = all;
    scanner.ScanInstallations();
    if (shownRows) shownRows->End();
    bench::ListHost::PumpMessages();
    rowsRight &= static_cast<std::size_t>(table.RowCount()) == (all ? allReads : rawReads);
  };
  auto clearMemory = [&] { memory.Clear(); };
  auto clearList = [&] { host.Owner().Clear(); };

  struct Measure {
    std::function<void()> run;
    std::vector<double> samples;
    int reps;
  };
  const int slowReps = std::max(1, options.reps / 2 + 1);
  std::vector<Measure> measures = {
      {[&] { floor(false); }, {}, options.reps},
      {[&] { scanInto(headless, memory, false, clearMemory); }, {}, options.reps},
      {[&] { floor(true); }, {}, options.reps},
      {[&] { scanInto(headless, memory, true, clearMemory); }, {}, options.reps},
      {[&] { scanInto(shown, host.Table(), true, clearList, &paced); }, {}, options.reps},
      {[&] { scanInto(shownEveryRow, host.Table(), true, clearList, &everyRow); }, {}, slowReps},
      {[&] { scanInto(shownPacedOnly, host.Table(), true, clearList, &pacedOnly); }, {}, slowReps},
  };
  if (options.windowsOnly) measures.clear();
  for (auto& m : measures) m.run();  // warm the file cache and the list
  for (int rep = 0; rep < options.reps; ++rep)
    for (auto& m : measures)
      if (rep < m.reps) m.samples.push_back(bench::Seconds(m.run));

  std::vector<double> median;
  for (auto& m : measures) median.push_back(bench::Median(m.samples));
  median.resize(7);  // none with --windows-only

  std::printf("Synthetic machine: %zu folder walks, %s folders, %s files; %zu raw-camera and "
              "%zu plug-in version reads per scan; median of %d runs%s.\n\n",
              walks.size(), Thousands(count.folders).c_str(), Thousands(count.files).c_str(),
              rawReads, allReads, options.reps, rowsRight ? "" : " (ROW COUNTS WRONG)");
  Line("measure", "median", "compared with");
  std::printf("|%s|%s|%s|\n", std::string(54, '-').c_str(), std::string(13, '-').append(":").c_str(),
              std::string(36, '-').c_str());
  if (!options.windowsOnly) {
    Line("floor: list folders, read raw-camera versions", Time(median[0]), "");
    Line("headless scan, raw-camera plug-ins", Time(median[1]), Ratio(median[1], median[0], "floor"));
    Line("floor: list folders, read every plug-in version", Time(median[2]), "");
    Line("headless scan, every plug-in", Time(median[3]), Ratio(median[3], median[2], "floor"));
    Line("scan into the shown list, every plug-in", Time(median[4]),
         Ratio(median[4], median[3], "headless scan"));
    Line("  drawn throughout, repainted after every row", Time(median[5]),
         Ratio(median[5], median[3], "headless scan"));
    Line("  drawn throughout, repainted at the scan's pace", Time(median[6]),
         Ratio(median[6], median[3], "headless scan"));
  }

  // The signature pass over the rows of each scan, against the system's
  // verifier alone over the same files, one at a time. The machine's copies
  // are unsigned, so a folder of signed copies shows the cost of hashing and
  // chains too.
  if (!options.windowsOnly) {
    // Apart from the full run's: the pass walks the whole folder.
    const std::string signedFolder =
        options.machine + (options.smoke ? "\\signed smoke" : "\\signed");
    ::CreateDirectoryA(signedFolder.c_str(), nullptr);
    std::vector<std::string> signedFiles;
    const int signedCopies = options.smoke ? 10 : 300;
    for (int i = 0; i < signedCopies; ++i) {
      signedFiles.push_back(signedFolder + "\\Camera Raw " + std::to_string(i) + ".8bi");
      ::CopyFileA(options.signedModule.c_str(), signedFiles.back().c_str(), FALSE);
    }
    scan::MemoryTable rawTable, allTable, signedTable;
    for (auto [table, all] : {std::pair{&rawTable, false}, std::pair{&allTable, true}}) {
      scan::PluginScanner scanner(*table);
      scanner.ShowAllPlugins = all;
      scanner.ScanInstallations();
    }
    {
      scan::PluginScanner scanner(signedTable);
      scanner.ShowAllPlugins = true;
      scanner.WalkPluginFolder("Photoshop CS6", signedFolder);
    }
    // Each file once, as the pass checks a file listed twice once.
    std::set<std::string> rawFiles, allFiles;
    for (const auto& walk : walks) {
      rawFiles.insert(walk.raw.begin(), walk.raw.end());
      allFiles.insert(walk.raw.begin(), walk.raw.end());
      allFiles.insert(walk.other.begin(), walk.other.end());
    }
    auto verifierAlone = [&](bool all) {
      for (const auto& file : all ? allFiles : rawFiles) bench::VerifyTrust(file);
    };
    scan::NoListener nobody;
    std::vector<Measure> passes = {
        {[&] { verifierAlone(false); }, {}, options.reps},
        {[&] { scan::CheckSignatures(rawTable, nobody); }, {}, options.reps},
        {[&] { verifierAlone(true); }, {}, options.reps},
        {[&] { scan::CheckSignatures(allTable, nobody); }, {}, options.reps},
        {[&] { for (const auto& file : signedFiles) bench::VerifyTrust(file); }, {}, options.reps},
        {[&] { scan::CheckSignatures(signedTable, nobody); }, {}, options.reps},
    };
    for (auto& m : passes) m.run();  // the verifier's first call loads the roots
    for (int rep = 0; rep < options.reps; ++rep)
      for (auto& m : passes) m.samples.push_back(bench::Seconds(m.run));
    std::vector<double> at;
    for (auto& m : passes) at.push_back(bench::Median(m.samples));
    const std::string names[] = {"raw-camera plug-ins, " + std::to_string(rawFiles.size()) + " files",
                                 "every plug-in, " + std::to_string(allFiles.size()) + " files",
                                 std::to_string(signedFiles.size()) + " signed plug-ins"};
    for (int k = 0; k < 3; ++k) {
      const std::string& what = names[k];
      Line("floor: WinVerifyTrust alone, " + what, Time(at[2 * k]), "");
      Line("signature pass, " + what, Time(at[2 * k + 1]), Ratio(at[2 * k + 1], at[2 * k], "floor"));
    }
  }

  // The window in a process of its own: this build's, the one-thread
  // window and each baseline's; and the console tool over the same machine,
  // its report with the signatures, in turn with them.
  bool windowsRight = Ran(registry.ShareWithPrefix(), "sharing the machine with the console");
  const std::string consoleReport = options.machine + "\\console report.txt";
  std::vector<bench::WindowKind> kinds = {{false, ""}, {true, ""}};
  for (const Baseline& baseline : options.baselines) kinds.push_back({false, baseline.exe});
  std::vector<WindowSamples> windows(kinds.size());
  ConsoleSamples console;
  for (int rep = 0; rep < options.reps; ++rep) {
    for (std::size_t k = 0; k < kinds.size(); ++k)
      windowsRight &= Ran(
          windows[k].Add(bench::MeasureWindow(registry.Path(), kinds[k], static_cast<int>(rawReads),
                                              static_cast<int>(allReads))),
          "a window run");
    windowsRight &=
        console.Add(bench::MeasureConsole(options.consoleTool, kConsoleAll, consoleReport),
                    static_cast<int>(allReads));
  }
  const WindowSamples& own = windows[0];
  const WindowSamples& oneThread = windows[1];
  using Notes = std::vector<std::string>;
  auto versus = [&](const WindowSamples& theirs, WindowSamples::Measure field, const char* what) {
    return Ratio(own.Median(field), theirs.Median(field), what) + " (" +
           Time(theirs.Median(field)) + ")";
  };
  auto versusBaselines = [&](WindowSamples::Measure field) {
    Notes notes;
    for (std::size_t b = 0; b < options.baselines.size(); ++b)
      notes.push_back(versus(windows[2 + b], field, options.baselines[b].label.c_str()));
    if (notes.empty()) notes.push_back("(no baseline build given)");
    return notes;
  };
  // A measure's line, and a line below for each further note.
  auto lines = [&](const std::string& measure, const std::string& value, const Notes& notes) {
    for (std::size_t n = 0; n < notes.size(); ++n) Line(n ? "" : measure, n ? "" : value, notes[n]);
  };
  auto join = [](Notes first, const Notes& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
  };
  const double consoleTime = console.Median(&bench::ConsoleRun::seconds);
  lines("window: start of the program to a visible window",
        Time(own.Median(&bench::WindowTimes::visible)),
        join({versus(oneThread, &bench::WindowTimes::visible, "one-thread window")},
             versusBaselines(&bench::WindowTimes::visible)));
  Line("  longest without an answer, start-up scan", Time(own.Median(&bench::WindowTimes::startupGap)),
       "one thread: shown after its scan");
  const double rescan = own.Median(&bench::WindowTimes::rescan);
  Notes rescanNotes = join({Ratio(rescan, consoleTime, "console") + " (" + Time(consoleTime) + ")",
                            versus(oneThread, &bench::WindowTimes::rescan, "one-thread window")},
                           versusBaselines(&bench::WindowTimes::rescan));
  if (!options.windowsOnly) rescanNotes.push_back(Ratio(rescan, median[3], "headless scan"));
  lines("window: \"Show All\" click to Copy enabled", Time(rescan), rescanNotes);
  Line(std::string("console: varnock-report ") + kConsoleAll, Time(consoleTime),
       "process start to its end");
  lines("  longest without an answer, \"Show All\" rescan",
        Time(own.Median(&bench::WindowTimes::rescanGap)),
        join({versus(oneThread, &bench::WindowTimes::rescanGap, "one-thread window")},
             versusBaselines(&bench::WindowTimes::rescanGap)));
  const double selectedRescan = own.Median(&bench::WindowTimes::selectedRescan);
  bool kept = true;
  for (const bench::WindowTimes& run : own.runs) kept &= run.selectionKept;
  lines("window: the same, " + Thousands(std::min<long long>(bench::kSelectedRows, allReads / 2)) +
            " rows selected midway",
        Time(selectedRescan),
        {Ratio(selectedRescan, rescan, "without a selection"),
         kept ? "the selected rows stay selected" : "SELECTION LOST"});
  Line("  longest without an answer after the selection",
       Time(own.Median(&bench::WindowTimes::selectedGap)),
       versus(oneThread, &bench::WindowTimes::selectedGap, "one-thread window"));
  Line("  longest without an answer after a Signature click",
       Time(own.Median(&bench::WindowTimes::signatureSortGap)),
       "rows move as their signatures come");
  lines("window: Escape during a rescan, off the screen",
        Time(own.Median(&bench::WindowTimes::escapeToHidden)),
        versusBaselines(&bench::WindowTimes::escapeToHidden));
  Line("window: Escape during a rescan to the program's end",
       Time(own.Median(&bench::WindowTimes::escapeToExit)),
       versus(oneThread, &bench::WindowTimes::escapeToExit, "one-thread window"));

  // The same window over large signed modules: the pass is hashing when
  // the rescan ends or Escape comes, and neither may wait for it.
  {
    const int copies = options.smoke ? 2 : 8;
    // Apart from the full run's, whose rows the smoke run would wait for.
    const std::string large = options.machine + (options.smoke ? "\\large smoke" : "\\large");
    ::CreateDirectoryA(large.c_str(), nullptr);
    ::CreateDirectoryA((large + "\\Plug-ins").c_str(), nullptr);
    for (int i = 0; i < copies; ++i) {
      const std::string folder = large + "\\Plug-ins\\Copy " + std::to_string(i);
      ::CreateDirectoryA(folder.c_str(), nullptr);
      ::CopyFileA(options.largeModule.c_str(), (folder + "\\Camera Raw.8bi").c_str(), TRUE);
    }
    registry.DeleteKey("Software\\Adobe");
    registry.SetString("Software\\Adobe\\Photoshop\\8.0", "ApplicationPath", large + "\\");
    WindowSamples big;
    for (int rep = 0; rep < options.reps; ++rep)
      windowsRight &=
          Ran(big.Add(bench::MeasureWindow(registry.Path(), {}, copies, copies)), "a window run");
    const std::string what = std::to_string(copies) + " signed modules of 27 MiB";
    Line("window, " + what, "", "");
    Line("  longest without an answer, \"Show All\" rescan",
         Time(big.Median(&bench::WindowTimes::rescanGap)), "its signature pass included");
    Line("  Escape during the pass, window off the screen",
         Time(big.Median(&bench::WindowTimes::escapeToHidden)),
         "program's end " + Time(big.Median(&bench::WindowTimes::escapeToExit)));
  }
  // A machine of some 20,000 rows with every plug-in shown: the window's
  // time and peak working set against the console's, in turn. What a row
  // costs each is its peak beyond its own peak over a machine of a few rows
  // (with no row at all the verifier's libraries would count as the rows'),
  // against the heap the console's table holds for its rows.
  {
    auto layOut = [&](const std::string& name, const bench::MachineShape& shape, int& raw, int& all,
                      bench::TreeCount& count) {
      registry.DeleteKey("Software\\Adobe");
      raw = all = 0;
      for (const auto& walk : bench::LayOutMachine(registry, options.machine + "\\" + name, shape,
                                                   options.fixtures, count)) {
        raw += static_cast<int>(walk.raw.size());
        all += static_cast<int>(walk.raw.size() + walk.other.size());
      }
      return Ran(registry.ShareWithPrefix(), "sharing the machine with the console");
    };
    const bench::MachineShape shape =
        options.smoke ? bench::MachineShape{{20, 2, 1, 30}, {20, 2, 1, 30}}
                      : bench::MachineShape{{600, 4, 10, 2500}, {900, 4, 10, 3400}};
    int raw = 0, all = 0, fewRaw = 0, fewAll = 0;
    bench::TreeCount count, fewCount;
    windowsRight &= layOut(options.smoke ? "rows smoke" : "rows", shape, raw, all, count);
    std::size_t tableBytes = 0;
    {
      const std::size_t before = bench::HeapInUse();
      scan::MemoryTable table;
      {
        scan::PluginScanner scanner(table);
        scanner.ShowAllPlugins = true;
        scanner.ScanInstallations();
        scan::NoListener nobody;
        scan::CheckSignatures(table, nobody);
      }
      rowsRight &= table.RowCount() == all;
      tableBytes = bench::HeapInUse() - before;
    }
    WindowSamples window, fewWindow;
    ConsoleSamples console, fewConsole;
    for (int rep = 0; rep < options.reps; ++rep) {
      windowsRight &=
          Ran(window.Add(bench::MeasureWindow(registry.Path(), {}, raw, all)), "a window run");
      windowsRight &=
          console.Add(bench::MeasureConsole(options.consoleTool, kConsoleAll, consoleReport), all);
    }
    windowsRight &= layOut("rows few", {{4, 1, 1, 2}, {4, 1, 1, 2}}, fewRaw, fewAll, fewCount);
    for (int rep = 0; rep < options.reps; ++rep) {
      windowsRight &= Ran(fewWindow.Add(bench::MeasureWindow(registry.Path(), {}, fewRaw, fewAll)),
                          "a window run");
      windowsRight &= fewConsole.Add(
          bench::MeasureConsole(options.consoleTool, kConsoleAll, consoleReport), fewAll);
    }
    const double windowTime = window.Median(&bench::WindowTimes::rescan);
    const double consoleTime = console.Median(&bench::ConsoleRun::seconds);
    const double windowPeak = window.Median(&bench::WindowTimes::peakWorkingSet);
    const double consolePeak = console.Median(&bench::ConsoleRun::peakWorkingSet);
    const double fewWindowPeak = fewWindow.Median(&bench::WindowTimes::peakWorkingSet);
    const double fewConsolePeak = fewConsole.Median(&bench::ConsoleRun::peakWorkingSet);
    const int moreRows = std::max(all - fewAll, 1);
    const double windowRow = (windowPeak - fewWindowPeak) / moreRows;
    const double consoleRow = (consolePeak - fewConsolePeak) / moreRows;
    Line(Thousands(all) + " rows, every plug-in, checked (" + Thousands(count.folders) +
             " folders, " + Thousands(count.files) + " files)",
         "", "");
    Line("  window: \"Show All\" click to Copy enabled", Time(windowTime),
         Ratio(windowTime, consoleTime, "console") + " (" + Time(consoleTime) + ")");
    Line(std::string("  console: varnock-report ") + kConsoleAll, Time(consoleTime),
         "process start to its end");
    Line("  window: peak working set", Bytes(windowPeak),
         Ratio(windowPeak, consolePeak, "console") + " (" + Bytes(consolePeak) + ")");
    Line("  window: peak working set per row", Bytes(windowRow),
         Ratio(windowRow, consoleRow, "console") + " (" + Bytes(consoleRow) + ")");
    Line("", "",
         "beyond the peak over " + std::to_string(fewAll) + " rows (window " +
             Bytes(fewWindowPeak) + ", console " + Bytes(fewConsolePeak) + ")");
    Line("  console's table alone, a row",
         Bytes(static_cast<double>(tableBytes) / std::max(all, 1)),
         "heap it holds, scanned in the bench");
  }
  if (!windowsRight) std::printf("(A WINDOW OR CONSOLE RUN FAILED)\n");

  // Growth: the walk alone over trees of growing size.
  for (int folders : options.smoke ? std::vector<int>{100, 400} : std::vector<int>{1000, 4000, 16000}) {
    bench::TreeCount scaleCount;
    const std::string root = options.machine + "\\scale " + std::to_string(folders);
    const bench::Walk tree = bench::LayOutTree(root, root, {folders, 5, folders / 100, 0},
                                               {options.fixtures + "\\fixture_cr_3_7.dll"}, {},
                                               scaleCount);
    std::vector<double> walkTimes, floorTimes;
    for (int rep = 0; rep <= options.reps; ++rep) {
      const double f = bench::Seconds([&] { bench::ListTree(root); });
      memory.Clear();
      headless.Reset();
      headless.ShowAllPlugins = false;
      const double w = bench::Seconds([&] { headless.WalkPluginFolder("Photoshop CS2", root); });
      if (rep == 0) continue;  // warm-up
      floorTimes.push_back(f);
      walkTimes.push_back(w);
    }
    const double perFolder = bench::Median(walkTimes) / scaleCount.folders;
    Line("walk per folder, " + Thousands(scaleCount.folders) + " folders", Time(perFolder),
         "listing alone " + Time(bench::Median(floorTimes) / scaleCount.folders));
  }

  // The report streams: its memory must not grow with the rows.
  for (int rows : options.smoke ? std::vector<int>{100, 1000} : std::vector<int>{1000, 10000}) {
    scan::MemoryTable table;
    for (int i = rows - 1; i >= 0; --i) {
      const int row = table.InsertRow("Plug-in " + std::to_string(100000 + i) + ".8bf");
      table.SetCell(row, scan::VersionColumn, "1.2.0." + std::to_string(i % 500));
      table.SetCell(row, scan::ProductColumn, "Photoshop CS" + std::to_string(2 + i % 3));
      table.SetCell(row, scan::LocationColumn,
                    "C:\\Program Files\\Adobe\\Adobe Photoshop CS2\\Plug-Ins\\Group " +
                        std::to_string(i % 50) + "\\Set " + std::to_string(i));
    }
    std::vector<double> times;
    std::size_t streamedPeak = 0, stringPeak = 0, bytes = 0;
    for (int rep = 0; rep < options.reps; ++rep) {
      CountingSink counting;
      const std::size_t before = bench::HeapInUse();
      bench::ResetHeapPeak();
      times.push_back(bench::Seconds([&] { scan::WriteTextReport(table, counting); }));
      streamedPeak = std::max(streamedPeak, bench::HeapPeak() - before);
      bytes = counting.size;
      bench::ResetHeapPeak();
      {
        scan::StringSink text;
        scan::WriteTextReport(table, text);
      }
      stringPeak = std::max(stringPeak, bench::HeapPeak() - before);
    }
    Line("report of " + Thousands(rows) + " rows (" + KiB(bytes) + "), streamed",
         Time(bench::Median(times)),
         "peak heap +" + KiB(streamedPeak) + "; into a string +" + KiB(stringPeak));
  }
  return rowsRight && windowsRight ? 0 : 1;
}
