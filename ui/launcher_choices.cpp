#include "ui/launcher_choices.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scene/safe_file.h"

namespace fs = std::filesystem;

namespace {

// Selects the entry of list whose text is text, when there is one.
bool Select(const std::string& text, ChoiceList& list) {
  const auto found = std::find(list.texts.begin(), list.texts.end(), text);
  if (text.empty() || found == list.texts.end()) return false;
  const int index = static_cast<int>(found - list.texts.begin());
  const bool changed = index != list.selected;
  list.selected = index;
  return changed;
}

std::string Selected(const ChoiceList& list) {
  return list.selected >= 0 && list.selected < static_cast<int>(list.texts.size()) ? list.texts[list.selected] : "";
}

}  // namespace

std::string LauncherChoicesPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  fs::path folder;
  if (config && fs::path(config).is_absolute()) folder = config;
  else if (home && *home) folder = fs::path(home) / ".config";
  else return "";
  return (folder / "quarnel" / "launcher.txt").string();
}

LauncherChoices ReadLauncherChoices(const std::string& path) {
  LauncherChoices choices;
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return choices;  // nor a FIFO to wait on
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
    const bool on = value == "1";
    if (name == "adapter") choices.adapter = value;
    else if (name == "windowed") choices.windowed = on;
    else if (name == "display_mode") choices.displayMode = value;
    else if (name == "window_size") choices.windowSize = value;
    else if (name == "music") choices.switches.music = on;
    else if (name == "loop") choices.switches.loop = on;
    else if (name == "stats") choices.switches.stats = on;
  }
  return choices;
}

std::string WriteLauncherChoices(const std::string& path, const LauncherChoices& choices) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  if (error) return path + ": " + error.message();
  std::ostringstream text;
  // Texts hold no line break: the lists' entries are single lines (an adapter's name is cut at one).
  const auto oneLine = [](std::string value) {
    value.erase(std::find_if(value.begin(), value.end(), [](char c) { return c == '\n' || c == '\r'; }), value.end());
    return value;
  };
  text << "adapter=" << oneLine(choices.adapter) << "\nwindowed=" << choices.windowed
       << "\ndisplay_mode=" << oneLine(choices.displayMode) << "\nwindow_size=" << oneLine(choices.windowSize)
       << "\nmusic=" << choices.switches.music << "\nloop=" << choices.switches.loop
       << "\nstats=" << choices.switches.stats << "\n";
  return ReplaceFile(path, text.str());
}

bool SelectChosenAdapter(const LauncherChoices& choices, LauncherLists& lists) {
  return Select(choices.adapter, lists.AdapterBox);
}

void SelectChosenModes(const LauncherChoices& choices, LauncherLists& lists) {
  Select(choices.displayMode, lists.DisplayBox);
  Select(choices.windowSize, lists.DisplayBoxWindowed);
}

LauncherChoices ChoicesShown(const LauncherLists& lists, bool windowed, const LauncherSwitches& switches) {
  return {Selected(lists.AdapterBox), windowed, Selected(lists.DisplayBox), Selected(lists.DisplayBoxWindowed),
          switches};
}
