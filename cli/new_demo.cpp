#include "cli/new_demo.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "cli/cli_messages.h"
#include "engine/data_location.h"
#include "scene/mp3_location.h"
#include "scene/printable_text.h"
#include "scene/sequence_file.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& text) {
  std::fprintf(stderr, "quarnel: %s\n", PrintableMessage(text).c_str());
  return 1;
}

bool IsEmptyFolder(const fs::path& dir) {
  std::error_code error;
  return fs::is_directory(dir, error) && fs::is_empty(dir, error) && !error;
}

// Copies the shipped data folder's files and its MP3 into demo/data; the sequence names the MP3 as
// "data/NAME". Throws std::exception (filesystem_error, a reader's error) or returns a fault text.
std::string CopyDemo(const fs::path& shipped, const fs::path& demo) {
  const fs::path data = demo / "data";
  fs::create_directories(data);
  for (const fs::directory_entry& entry : fs::directory_iterator(shipped))
    if (entry.is_regular_file()) fs::copy_file(entry.path(), data / entry.path().filename());

  SceneSequence sequence;
  const fs::path sequencePath = data / "sceneseq.txt";
  LoadSceneSequence((data / "sceneseq").string(), sequence, LoadReports{});
  const fs::path mp3 = FindMp3File(sequence.Mp3FileName, shipped.string());
  const fs::path mp3Name = mp3.filename();
  if (!fs::exists(data / mp3Name)) fs::copy_file(mp3, data / mp3Name);
  const std::string mp3Line = (fs::path("data") / mp3Name).string();
  if (sequence.Mp3FileName == mp3Line) return {};  // the copy is the file as shipped
  const SequenceNotes notes = ReadSequenceNotes(sequencePath.string(), sequence.SequenceEntries.size());
  sequence.Mp3FileName = mp3Line;
  return WriteSceneSequence(sequencePath.string(), sequence, notes);
}

}  // namespace

int RunNewDemo(const std::string& dir) {
  std::error_code error;
  const fs::path demo(dir);
  if (fs::exists(fs::symlink_status(demo, error)) && !IsEmptyFolder(demo)) return Fail(dir + kNewDemoNotEmptyText);
  const std::string shipped = ShippedDemoDir();
  if (shipped.empty()) return Fail(kNewDemoNoShippedDemoText);

  // Made beside its place and renamed into it (over an empty folder), so a failure leaves nothing half made.
  const fs::path parent = demo.has_parent_path() ? demo.parent_path() : fs::path(".");
  const fs::path partial = parent / (kNewDemoPartialPrefix + std::to_string(getpid()));
  std::string fault;
  try {
    fault = CopyDemo(shipped, partial);
    if (fault.empty()) fs::rename(partial, demo);
  } catch (const std::exception& failure) {
    fault = failure.what();
  }
  if (!fault.empty()) {
    fs::remove_all(partial, error);
    return Fail(kNewDemoFailedText + dir + ": " + fault);
  }
  const std::string data = (demo / "data").string();
  const std::string program = ProgramCommand();
  std::printf("%s%s%s%s -d %s%s%s %s\n", kNewDemoMadeText, dir.c_str(), kNewDemoAuthorText, program.c_str(),
              data.c_str(), kNewDemoPlayText, program.c_str(), data.c_str());
  return 0;
}
