// The export's and --render's costs as ratios measured in one run of build/quarnel on the shipped demo
// (run from the source folder):
// - --render at 92 s and at 80 s against --render at 1 s, wall time (goal: 2 at most; the frames from
//   88 s on keep their pixels, so a frame there draws its clear horizon, the frames since 88 s);
// - an export with --jobs 2 against the same export in one job, wall time;
// - the export in one job and with --jobs 2 against the two-core CPU bound: (render CPU + encoder CPU) / 2,
//   the render's CPU being that of the same export into an "ffmpeg" that swallows the frames (goal:
//   within 5 %).
//
//   build/bench/export_bench [--fps N] [--size WxH] [--to MS]   (defaults: 30, 640x480, the whole demo)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Cost {
  double wallS = -1, cpuS = 0;  // wallS < 0: the command failed
};

double ChildrenCpuS() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The wall time and the CPU time of a shell command and everything it waited for.
Cost Run(const std::string& command) {
  const double cpuBefore = ChildrenCpuS();
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  Cost cost;
  if (status == 0) cost.wallS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  cost.cpuS = ChildrenCpuS() - cpuBefore;
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fps = "30", size = "640x480", range;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--fps") fps = argv[i + 1];
    else if (option == "--size") size = argv[i + 1];
    else if (option == "--to") range = std::string(" --to ") + argv[i + 1];
  }
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "quarnel-export-bench";
  std::filesystem::create_directories(scratch / "null-ffmpeg");
  const std::filesystem::path fake = scratch / "null-ffmpeg" / "ffmpeg";
  // Reads every frame, writes an empty output file (its last argument, a "file:" name) so the export
  // completes.
  std::ofstream(fake) << "#!/bin/sh\nfor last; do :; done\ncat >/dev/null\n: >\"${last#file:}\"\n";
  std::filesystem::permissions(fake, std::filesystem::perms::owner_all);

  const std::string settings = " --fps " + fps + " --size " + size;
  const auto render = [&](const char* ms) {
    return Run(std::string("build/quarnel --render ") + ms + " " + (scratch / "frame.png").string() + settings +
               " data");
  };
  const Cost at1 = render("1000"), at80 = render("80000"), at92 = render("92000");
  std::printf("--render: 1 s %.2f s, 80 s %.2f s (%.2f x), 92 s %.2f s (%.2f x)\n", at1.wallS, at80.wallS,
              at80.wallS / at1.wallS, at92.wallS, at92.wallS / at1.wallS);

  const std::string exportCommand = "build/quarnel --export " + (scratch / "bench.mp4").string() + settings + range;
  const Cost nullPipe = Run("PATH=" + (scratch / "null-ffmpeg").string() + ":\"$PATH\" " + exportCommand + " data");
  const Cost oneJob = Run(exportCommand + " data");
  const Cost twoJobs = Run(exportCommand + " --jobs 2 data");
  if (nullPipe.wallS < 0 || oneJob.wallS < 0 || twoJobs.wallS < 0) {
    std::printf("export failed (is ffmpeg installed, build/quarnel built?)\n");
    return 1;
  }
  const double encoderCpuS = oneJob.cpuS - nullPipe.cpuS;
  const double boundS = (nullPipe.cpuS + encoderCpuS) / 2;
  std::printf("export: one job %.1f s, --jobs 2 %.1f s (%.2f x one job)\n", oneJob.wallS, twoJobs.wallS,
              twoJobs.wallS / oneJob.wallS);
  std::printf(
      "export: render CPU %.1f s + encoder CPU %.1f s, two-core bound %.1f s; one job/bound %.3f, "
      "--jobs 2/bound %.3f\n",
      nullPipe.cpuS, encoderCpuS, boundS, oneJob.wallS / boundS, twoJobs.wallS / boundS);
  std::filesystem::remove_all(scratch);
  return 0;
}
