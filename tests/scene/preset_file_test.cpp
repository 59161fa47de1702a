#include "scene/preset_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <random>

#include <sys/stat.h>

#include "scene/errors.h"
#include "support/temp_dir.h"
#include "support/time_bound.h"

namespace {
TextLines Lines(const std::string& content) { return TextLines("data/scene3.txt", content); }

void ExpectSameRecords(const TScene1ParamIArray& a, const TScene1ParamIArray& b) {
  for (int i = 0; i < kParamCount; ++i) {
    EXPECT_EQ(a[i].Name.Text(), b[i].Name.Text()) << i;
    EXPECT_EQ(a[i].BaseVal, b[i].BaseVal) << i;
    EXPECT_EQ(a[i].OscForm, b[i].OscForm) << i;
    EXPECT_EQ(a[i].Osc1, b[i].Osc1) << i;
    EXPECT_EQ(a[i].Osc2, b[i].Osc2) << i;
  }
}

// The text of a preset whose line `lineNumber` (1-based) is replaced.
std::string WithLine(int lineNumber, const std::string& replacement) {
  std::string text = ScenePresetText(InitParamTable());
  size_t start = 0;
  for (int i = 1; i < lineNumber; ++i) start = text.find("\r\n", start) + 2;
  return text.replace(start, text.find("\r\n", start) - start, replacement);
}

std::string ErrorOf(const std::string& content) {
  TScene1ParamIArray target{};
  TextLines lines = Lines(content);
  try {
    ReadScenePreset(lines, target);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}
}  // namespace

TEST(PresetFile, WritesTheDocumentedLayout) {
  const std::string text = ScenePresetText(InitParamTable());
  EXPECT_EQ(text.substr(0, 77), "// dravel' tiny engine [scene preset v1.1]\r\n// baseval, oscform, osc1, osc2\r\n");
  EXPECT_NE(text.find(CrLf({"byte:BG_g", "68", "1", "0.0100", "300.0000", std::string(31, '~')})), std::string::npos);
  EXPECT_NE(text.find(CrLf({"sing:_TweakX", "2.9280", "1", "0.0002", "0.0500", std::string(31, '~')})),
            std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 77 * 6);
}

TEST(PresetFile, RoundsBaseValuesByType) {
  TScene1ParamIArray params = InitParamTable();
  params[0].BaseVal = 157.4f;  // byte
  params[7].BaseVal = 0.6f;    // bool
  const std::string text = ScenePresetText(params);
  EXPECT_NE(text.find(CrLf({"byte:BG_r", "157", "0"})), std::string::npos);
  EXPECT_NE(text.find(CrLf({"bool:ClearTarget", "1", "0"})), std::string::npos);
}

TEST(PresetFile, DefaultsRoundTripThroughAFile) {
  TempDir dir;
  ASSERT_EQ(WriteScenePreset(dir / "scene0.txt", InitParamTable()), "");
  TScene1ParamIArray loaded{};
  std::optional<TextLines> lines;
  ASSERT_EQ(TextLines::FromFile(dir / "scene0.txt", lines), "");
  ASSERT_TRUE(lines);
  ReadScenePreset(*lines, loaded);
  ExpectSameRecords(loaded, InitParamTable());
}

namespace {
// params written as a preset text and read back.
TScene1ParamIArray ReadBack(const TScene1ParamIArray& params) {
  TextLines lines("saved", ScenePresetText(params));
  TScene1ParamIArray loaded{};
  ReadScenePreset(lines, loaded);
  return loaded;
}
}  // namespace

// A save without edits changes no frame: every real number reads back as the same 32-bit float, with
// the documented layout where its 4 digits suffice.
TEST(PresetFile, SavedNumbersReadBackAsTheSameFloats) {
  for (int n = 0;; ++n) {
    const std::string path = std::string(QUARNEL_DATA_DIR) + "/scene" + std::to_string(n) + ".txt";
    if (!EntryExists(path)) {
      EXPECT_GT(n, 10) << "the shipped presets";
      break;
    }
    std::optional<TextLines> lines;
    ASSERT_EQ(TextLines::FromFile(path, lines), "");
    TScene1ParamIArray shipped{};
    ReadScenePreset(*lines, shipped);
    SCOPED_TRACE(path);
    ExpectSameRecords(ReadBack(shipped), shipped);
  }
  std::mt19937 random(27);
  std::uniform_int_distribution<uint32_t> anyBits;
  TScene1ParamIArray params = InitParamTable();
  for (int round = 0; round < 200; ++round) {
    for (TScene1ParamInterface& param : params) {
      const ParamType type = TypeOfName(param.Name);
      const bool wholeBase = type == ParamType::Bool || type == ParamType::Byte || type == ParamType::Word;
      for (float* value : {wholeBase ? &param.Osc1 : &param.BaseVal, &param.Osc1, &param.Osc2}) {
        do *value = std::bit_cast<float>(anyBits(random));
        while (!std::isfinite(*value));
      }
    }
    ExpectSameRecords(ReadBack(params), params);
  }
  params = InitParamTable();
  params[4].Osc1 = 0.00009f;  // sing:_TweakX
  params[4].BaseVal = 123.456f;
  params[4].Osc2 = 12345.0f;
  const std::string text = ScenePresetText(params);
  EXPECT_NE(text.find(CrLf({"sing:_TweakX", "123.4560", "1", "0.00009", "1.2345E+4"})), std::string::npos);
}

TEST(PresetFile, KeepsForeignNamesAndSkipsAnyNumberOfComments) {
  std::string text = WithLine(3, "byte:Background");
  text.insert(0, "// a third comment\r\n");
  TScene1ParamIArray loaded{};
  TextLines lines = Lines(text);
  ReadScenePreset(lines, loaded);
  EXPECT_EQ(loaded[0].Name.Text(), "byte:Background");
  EXPECT_NE(ScenePresetText(loaded).find("byte:Background\r\n157\r\n"), std::string::npos);
}

TEST(PresetFile, FirstLineWithoutCommentIsEntryZerosName) {
  const std::string text = ScenePresetText(InitParamTable());
  const std::string withoutHeader = text.substr(text.find("byte:BG_r"));
  TScene1ParamIArray loaded{};
  TextLines lines = Lines(withoutHeader);
  ReadScenePreset(lines, loaded);
  ExpectSameRecords(loaded, InitParamTable());
}

TEST(PresetFile, LineEndsFollowCarriageReturns) {
  TextLines lines = Lines(
      "a\r\nb\rc\nd\r\x1A"
      "ignored\r\n");
  EXPECT_EQ(lines.Next(), "a");
  EXPECT_EQ(lines.Next(), "b");
  EXPECT_EQ(lines.Next(), "c\nd");  // a bare LF stays in the line
  EXPECT_TRUE(lines.AtEnd());       // Ctrl-Z ends the file
}

// A hot reload reads a preset into the live records again; names it replaced must not pile up in
// memory (a name line can be megabytes long).
TEST(PresetFile, ReloadsWithNewNamesKeepTheNamePoolFlat) {
  TScene1ParamIArray live = InitParamTable();
  TextLines first = Lines(WithLine(3, "byte:" + std::string(30000, 'n')));
  ReadScenePreset(first, live);
  const size_t held = ParamNamePoolSize();
  for (int reload = 0; reload < 1000; ++reload) {
    TextLines lines = Lines(WithLine(3, "byte:" + std::string(30000, 'n') + std::to_string(reload)));
    ReadScenePreset(lines, live);
  }
  EXPECT_EQ(ParamNamePoolSize(), held);
  EXPECT_EQ(live[0].Name.Text(), "byte:" + std::string(30000, 'n') + "999");
  const TScene1ParamIArray copy = live;  // copies share the text: equal names, one pool entry
  EXPECT_TRUE(copy[0].Name == live[0].Name);
  EXPECT_EQ(ParamNamePoolSize(), held);
}

TEST(PresetFile, BadNumbersNameFileAndLine) {
  EXPECT_EQ(ErrorOf(WithLine(4, "2,9280x")), "data/scene3.txt:4: '2,9280x' is not a valid number");
  EXPECT_EQ(ErrorOf(WithLine(10, "")), "data/scene3.txt:10: '' is not a valid number");
  EXPECT_EQ(ErrorOf(WithLine(5, "256")), "data/scene3.txt:5: 256 is out of the range 0..255");
  EXPECT_EQ(ErrorOf(WithLine(6, "1e39")), "data/scene3.txt:6: 1e39 is too large for a 32-bit float");
  const std::string full = ScenePresetText(InitParamTable());
  const std::string truncated = full.substr(0, full.rfind("0.0000\r\n"));  // the last osc2 line is missing
  EXPECT_EQ(ErrorOf(truncated), "data/scene3.txt:463: the file ends where a number belongs");
  EXPECT_EQ(ErrorOf(""), "data/scene3.txt:2: the file ends where a number belongs");
  std::string unixLines = full;
  for (size_t at; (at = unixLines.find('\r')) != std::string::npos;) unixLines.erase(at, 1);
  EXPECT_NE(ErrorOf(unixLines).find("(lines must end with CR LF)"), std::string::npos);
}

// The two mistakes an author cannot see in the file: a byte order mark in front of the first number, and
// a decimal comma where the language setting does not write one. The message says which it is.
TEST(PresetFile, BadNumbersGiveAHintForAByteOrderMarkAndAComma) {
  EXPECT_EQ(ErrorOf(WithLine(4, "2,9280")),
            "data/scene3.txt:4: '2,9280' is not a valid number (decimals are "
            "written with '.'; ',' reads only under a language setting that writes it)");
  EXPECT_EQ(ErrorOf(WithLine(4,
                             "\xEF\xBB\xBF"
                             "157")),
            "data/scene3.txt:4: '\xEF\xBB\xBF"
            "157' is not a valid number (a UTF-8 byte order mark stands before "
            "it: save the file without one)");
  EXPECT_EQ(ErrorOf(WithLine(10, "1.2.3")), "data/scene3.txt:10: '1.2.3' is not a valid number");
  // A mark in front of the first comment line makes it no comment: the fault shows further down.
  EXPECT_EQ(ErrorOf("\xEF\xBB\xBF" + ScenePresetText(InitParamTable())),
            "data/scene3.txt:2: '// baseval, oscform, osc1, osc2' is not a valid number (the file starts with a UTF-8 "
            "byte order mark, so its first line is not read as a comment: save the file without one)");
}

// A preset saved under a comma setting is written with "."; one written with commas (by an earlier
// version, or by hand) still loads there.
TEST(PresetFile, CommaLocaleWritesPointsAndReadsBoth) {
  for (const char* locale : {"de_DE.UTF-8", "tr_TR.UTF-8"}) {
    ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale << ": tools/setup.sh makes this locale";
    const std::string text = ScenePresetText(InitParamTable());
    std::string withCommas = text;
    for (size_t at; (at = withCommas.find("\r\n2.9280\r\n")) != std::string::npos;) withCommas[at + 3] = ',';
    TScene1ParamIArray fromPoints{}, fromCommas{};
    TextLines points = Lines(text), commas = Lines(withCommas);
    EXPECT_NO_THROW(ReadScenePreset(points, fromPoints)) << locale;
    EXPECT_NO_THROW(ReadScenePreset(commas, fromCommas)) << locale;
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, ScenePresetText(InitParamTable())) << locale << ": the file does not depend on the setting";
    EXPECT_NE(withCommas, text);
    ExpectSameRecords(fromPoints, InitParamTable());
    ExpectSameRecords(fromCommas, InitParamTable());
  }
}

TEST(PresetFile, ErrorRaisesItsTypeAndKeepsEntriesReadSoFar) {
  TScene1ParamIArray target = InitParamTable();
  TextLines lines = Lines(WithLine(3 + 6 * 2 + 1, "x"));  // entry 2's base value
  target[0].BaseVal = 1;
  EXPECT_THROW(ReadScenePreset(lines, target), ConversionError);
  EXPECT_EQ(target[0].BaseVal, 157);  // read before the fault
  TextLines range = Lines(WithLine(5, "-1"));
  EXPECT_THROW(ReadScenePreset(range, target), RangeError);
}

TEST(PresetFile, BinaryGarbageIsAConversionError) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  TScene1ParamIArray target{};
  TextLines lines = Lines(garbage);
  EXPECT_THROW(ReadScenePreset(lines, target), ConversionError);
}

TEST(PresetFile, ToleratesAnySeparatorAndMissingLastSeparator) {
  std::string text = WithLine(8, "");
  text = text.substr(0, text.size() - 33);  // no final tilde line
  TScene1ParamIArray loaded{};
  TextLines lines = Lines(text);
  ReadScenePreset(lines, loaded);
  ExpectSameRecords(loaded, InitParamTable());
}

TEST(PresetFile, FailedWriteNamesTheFileAndTheReason) {
  TempDir dir;
  EXPECT_EQ(WriteScenePreset(dir / "missing/scene.txt", InitParamTable()),
            dir / "missing/scene.txt: No such file or directory");
}

TEST(LoadScenePresets, StopsAtTheFirstGap) {
  TempDir dir;
  for (int n : {0, 1, 3})
    ASSERT_EQ(WriteScenePreset(dir / ("scene" + std::to_string(n) + ".txt"), InitParamTable()), "");
  std::vector<TScene1ParamIArray> presets;
  EXPECT_EQ(LoadScenePresets(dir / "scene", presets, {}), 2);
  EXPECT_EQ(presets.size(), 2u);
  EXPECT_EQ(LoadScenePresets(dir / "nothing", presets, {}), 0);
}

TEST(LoadScenePresets, ReadsAtMost255AndSaysSo) {
  TempDir dir;
  const std::string text = ScenePresetText(InitParamTable());
  for (int n = 0; n <= 256; ++n) WriteFile(dir / ("scene" + std::to_string(n) + ".txt"), text);
  std::vector<TScene1ParamIArray> presets;
  std::string notice;
  LoadReports reports;
  reports.Notice = [&](const std::string&, const std::string& text) { notice = text; };
  EXPECT_EQ(LoadScenePresets(dir / "scene", presets, reports), 255);
  EXPECT_NE(notice.find("scene255.txt: only the first 255 presets are loaded"), std::string::npos);
}

TEST(LoadScenePresets, UnreadableFileIsReportedAndLoadingGoesOn) {
  TempDir dir;
  std::filesystem::create_directory(dir / "scene0.txt");
  std::vector<std::string> faults;
  LoadReports reports;
  reports.FatalError = [&](const std::string&, const std::string& text) { faults.push_back(text); };
  std::vector<TScene1ParamIArray> presets;
  LoadScenePresets(dir / "scene", presets, reports);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].rfind("Load Error: Scene(0) fukked; Error Code:", 0), 0u);
}

// What a load of dir/scene0.txt ... reports when one of the files is replaced by something that is not
// a readable regular file; the load runs under a time bound, so a reader that waits fails here.
class LoadScenePresetsOf : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n : {0, 2})
      ASSERT_EQ(WriteScenePreset(dir / ("scene" + std::to_string(n) + ".txt"), InitParamTable()), "");
  }

  // The preset count, and the one report as its text in fault (exit status 1 for anything else).
  int Load() {
    return RunWithinBound([&] {
      std::vector<std::string> faults;
      LoadReports reports;
      reports.FatalError = [&](const std::string&, const std::string& text) { faults.push_back(text); };
      std::vector<TScene1ParamIArray> presets;
      const int count = LoadScenePresets(dir / "scene", presets, reports);
      WriteFile(dir / "report", faults.size() == 1 ? faults[0] : "");
      return faults.size() == 1 ? count : 100;
    });
  }

  std::string Report() { return ReadFile(dir / "report"); }

  TempDir dir;
};

TEST_F(LoadScenePresetsOf, AFifoIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo((dir / "scene1.txt").c_str(), 0644), 0);
  EXPECT_EQ(Load(), 3);
  EXPECT_EQ(Report(), "Load Error: Scene(1) fukked; Error Code:22 (" +
                          dir / "scene1.txt: a FIFO (named pipe), not a regular file)");
}

TEST_F(LoadScenePresetsOf, ALinkToAnEndlessDeviceIsRefusedWithoutReading) {
  std::filesystem::create_symlink("/dev/zero", dir / "scene1.txt");
  EXPECT_EQ(Load(), 3);
  EXPECT_NE(Report().find(dir / "scene1.txt: a device, not a regular file"), std::string::npos) << Report();
}

TEST_F(LoadScenePresetsOf, AHugeFileIsRefused) {
  WriteFile(dir / "scene1.txt", ScenePresetText(InitParamTable()) + std::string(kMaxTextFileBytes, '/'));
  EXPECT_EQ(Load(), 3);
  EXPECT_NE(Report().find(dir / "scene1.txt: larger than 4194304 bytes"), std::string::npos) << Report();
}

TEST_F(LoadScenePresetsOf, BrokenLinksAreNamedAndLaterPresetsStillLoad) {
  std::filesystem::create_symlink("gone.txt", dir / "scene1.txt");
  EXPECT_EQ(Load(), 3);
  EXPECT_EQ(Report(), "Load Error: Scene(1) fukked; Error Code:2 (" + dir.Path() +
                          "/scene1.txt: a symbolic link to a file that does not exist)");
  std::filesystem::remove(dir / "scene1.txt");
  std::filesystem::create_symlink("scene1.txt", dir / "scene1.txt");
  EXPECT_EQ(Load(), 3);
  EXPECT_NE(Report().find(dir / "scene1.txt: Too many levels of symbolic links"), std::string::npos) << Report();
}
