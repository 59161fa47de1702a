#include "devmode/recovery_file.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <locale.h>

#include "scene/errors.h"
#include "scene/file_read.h"
#include "scene/preset_file.h"
#include "scene/safe_file.h"
#include "devmode/devmode_messages.h"

namespace {

constexpr char kHeader[] = "quarnel recovery 1\n";
constexpr size_t kMaxFolderNameBytes = 40;
// A preset, a sequence with its keys and the names around them.
constexpr uint64_t kMaxRecoveryBytes = 2 * kMaxTextFileBytes + kMaxSequenceFileBytes;

// The decimal point of the "C" locale on this thread while it lives, so that the file reads the same
// whatever the user's language.
class PlainNumbers {
 public:
  PlainNumbers() : plain_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (plain_) previous_ = uselocale(plain_);
  }
  ~PlainNumbers() {
    if (!plain_) return;
    uselocale(previous_);
    freelocale(plain_);
  }
  PlainNumbers(const PlainNumbers&) = delete;
  PlainNumbers& operator=(const PlainNumbers&) = delete;

 private:
  locale_t plain_;
  locale_t previous_ = LC_GLOBAL_LOCALE;
};

uint64_t Fnv1a(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

void AddField(std::string& text, const char* key, const std::string& bytes) {
  text += std::string(key) + " " + std::to_string(bytes.size()) + "\n" + bytes + "\n";
}

// The fields of a recovery text in order; a fault names the byte where the text stops making sense.
struct Fields {
  std::vector<std::pair<std::string, std::string>> list;
  std::string fault;
};

Fields SplitFields(const std::string& text) {
  Fields fields;
  if (text.rfind(kHeader, 0) != 0) return {{}, kMsgRecoveryNotOurs};
  size_t at = sizeof kHeader - 1;
  while (at < text.size()) {
    const size_t blank = text.find(' ', at), end = text.find('\n', at);
    if (blank == std::string::npos || end == std::string::npos || blank > end)
      return {{}, kMsgRecoveryBrokenAt + std::to_string(at)};
    const std::string key = text.substr(at, blank - at);
    char* last = nullptr;
    const unsigned long long bytes = std::strtoull(text.c_str() + blank + 1, &last, 10);
    if (last != text.c_str() + end || bytes > text.size() - end - 1 || text[end + 1 + bytes] != '\n')
      return {{}, kMsgRecoveryBrokenAt + std::to_string(at)};
    fields.list.emplace_back(key, text.substr(end + 1, bytes));
    at = end + 1 + bytes + 1;
  }
  return fields;
}

}  // namespace

std::string RecoveryPath(const std::string& dataDir) {
  const char* stateHome = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path folder;
  if (stateHome && stateHome[0] == '/') folder = std::filesystem::path(stateHome) / "quarnel";
  else if (home && home[0] == '/') folder = std::filesystem::path(home) / ".local/state/quarnel";
  else return "";
  std::error_code ignored;
  const std::filesystem::path data = std::filesystem::absolute(dataDir, ignored).lexically_normal();
  std::string name = (data.has_filename() ? data.filename() : data.parent_path().filename()).string();
  name = name.substr(0, kMaxFolderNameBytes);
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(data.string())));
  return (folder / (name + "-" + hash + ".recovery")).string();
}

std::string RecoveryText(const RecoveredWork& work) {
  const PlainNumbers plain;
  std::string text = kHeader;
  AddField(text, "data", work.dataDir);
  if (work.liveSet) {
    const LiveSetSource& source = work.liveSet->source;
    AddField(text, "source", source.savedFile);
    AddField(text, "folder", source.folderText);
    AddField(text, "file", source.fileText);
    AddField(text, "picked", std::to_string(source.picked));
    AddField(text, "live", ScenePresetText(work.liveSet->params));
  }
  if (work.sequence) AddField(text, "sequence", SceneSequenceText(work.sequence->sequence, work.sequence->notes));
  return text;
}

std::string WriteRecovery(const std::string& path, const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) return path + ": " + error.message();
  return ReplaceFile(path, text);
}

std::string ReadRecovery(const std::string& path, RecoveredWork& work) {
  std::string text;
  if (std::string fault = ReadWholeFile(path, kMaxRecoveryBytes, text); !fault.empty()) return fault;
  const Fields fields = SplitFields(text);
  if (!fields.fault.empty()) return path + ": " + fields.fault;
  const PlainNumbers plain;
  work = {};
  try {
    for (const auto& [key, value] : fields.list) {
      LiveSetSource* source = work.liveSet ? &work.liveSet->source : nullptr;
      if (key == "data") {
        work.dataDir = value;
      } else if (key == "source") {
        work.liveSet.emplace();
        work.liveSet->params = InitParamTable();
        work.liveSet->source.savedFile = value;
      } else if (source && key == "folder") {
        source->folderText = value;
      } else if (source && key == "file") {
        source->fileText = value;
      } else if (source && key == "picked") {
        source->picked = std::atoi(value.c_str());
      } else if (source && key == "live") {
        TextLines lines(path, value);
        ReadScenePreset(lines, work.liveSet->params);
      } else if (key == "sequence") {
        SequenceSnapshot& snapshot = work.sequence.emplace();
        TextLines lines(path, value);
        // The sequence as the author left it: what loading would report (a missing MP3, say) stays for
        // the timeline to show, the work is not refused for it.
        const auto pass = [](const std::string&, const std::string&) {};
        ReadSceneSequence(lines, work.dataDir, snapshot.sequence, {pass, pass, [](const std::string&) {}});
        TextLines notes(path, value);
        snapshot.notes = SequenceNotesOf(&notes, snapshot.sequence.SequenceEntries.size());
      } else {
        return path + ": " + kMsgRecoveryUnknownField + key;
      }
    }
  } catch (const std::runtime_error& fault) {  // ConversionError or RangeError, with its place
    return fault.what();
  }
  return "";
}
