#include "cli/new_demo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "cli/cli_messages.h"
#include "engine/data_location.h"
#include "scene/mp3_location.h"
#include "scene/printable_text.h"
#include "scene/sequence_file.h"
#include "scene/temporary_names.h"

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

// Copies the file from into a new file to, flushed to the disk. Empty, or the file and the reason the
// system gave (a full disk says so, not only that the copy came out short).
std::string CopyFile(const fs::path& from, const fs::path& to) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return from.string() + ": " + std::strerror(errno);
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out < 0) {
    const int code = errno;
    close(in);
    return to.string() + ": " + std::strerror(code);
  }
  std::string fault;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fault = from.string() + ": " + std::strerror(errno);
    if (got <= 0) break;
    // A short write is followed by one more, which fails with the reason (ENOSPC, EDQUOT, EIO, ...).
    for (ssize_t done = 0; done < got && fault.empty();) {
      const ssize_t put = write(out, buffer + done, size_t(got - done));
      if (put < 0 && errno != EINTR) fault = to.string() + ": " + std::strerror(errno);
      if (put > 0) done += put;
    }
    if (!fault.empty()) break;
  }
  // A file system that allocates late reports a full disk only here.
  if (fault.empty() && fsync(out) != 0) fault = to.string() + ": " + std::strerror(errno);
  if (close(out) != 0 && fault.empty()) fault = to.string() + ": " + std::strerror(errno);
  close(in);
  return fault;
}

// Copies the shipped data folder's files and its MP3 into demo/data; the sequence names the MP3 as
// "data/NAME". Throws std::exception (filesystem_error, a reader's error) or returns a fault text.
std::string CopyDemo(const fs::path& shipped, const fs::path& demo) {
  const fs::path data = demo / "data";
  fs::create_directories(data);
  for (const fs::directory_entry& entry : fs::directory_iterator(shipped))
    if (entry.is_regular_file())
      if (std::string fault = CopyFile(entry.path(), data / entry.path().filename()); !fault.empty()) return fault;

  SceneSequence sequence;
  const fs::path sequencePath = data / "sceneseq.txt";
  // Only the MP3 line matters here; the copy's faults are told when it is opened or checked.
  const auto unheard = [](const std::string&, const std::string&) {};
  LoadSceneSequence((data / "sceneseq").string(), sequence, {unheard, unheard, nullptr});
  const fs::path mp3 = FindMp3File(sequence.Mp3FileName, shipped.string());
  const fs::path mp3Name = mp3.filename();
  if (!fs::exists(data / mp3Name))
    if (std::string fault = CopyFile(mp3, data / mp3Name); !fault.empty()) return fault;
  const std::string mp3Line = (fs::path("data") / mp3Name).string();
  if (sequence.Mp3FileName == mp3Line) return {};  // the copy is the file as shipped
  const SequenceNotes notes = ReadSequenceNotes(sequencePath.string(), sequence.SequenceEntries.size());
  sequence.Mp3FileName = mp3Line;
  return WriteSceneSequence(sequencePath.string(), sequence, notes);
}

// The outermost folder on the way to path that does not exist yet: what making path creates.
fs::path FirstMissingFolder(const fs::path& path) {
  fs::path missing = path;
  for (fs::path up = path.parent_path(); !up.empty() && !fs::exists(up); up = up.parent_path()) missing = up;
  return missing;
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
  RemoveDeadTemporaries(parent, kNewDemoPartialPrefix, false);  // copies of runs that were killed
  const fs::path made = FirstMissingFolder(partial);            // a failure removes it, the folders made on the way too
  std::string fault;
  try {
    fault = CopyDemo(shipped, partial);
    if (fault.empty()) fs::rename(partial, demo);
  } catch (const std::exception& failure) {
    fault = failure.what();
  }
  if (!fault.empty()) {
    fs::remove_all(made, error);
    return Fail(kNewDemoFailedText + dir + ": " + fault);
  }
  const std::string data = (demo / "data").string();
  const std::string program = ProgramCommand();
  std::printf("%s%s%s%s -d %s%s%s %s\n", kNewDemoMadeText, dir.c_str(), kNewDemoAuthorText, program.c_str(),
              data.c_str(), kNewDemoPlayText, program.c_str(), data.c_str());
  return 0;
}
