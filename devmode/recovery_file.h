#pragma once
// The recovery file of development mode: the unsaved work of a session (the live set with its source,
// the sequence with its notes), kept under $XDG_STATE_HOME/quarnel/ (~/.local/state/quarnel/ without
// it), one file per data folder, so that a session ended by a signal, a crash or a power cut can be
// restored by the next one. Our own format, the same under every language setting:
//   "quarnel recovery 1" LF, then fields: KEY " " BYTES LF, the bytes, LF.
// No window toolkit here.
#include <optional>
#include <string>

#include "authoring/undo_history.h"
#include "scene/sequence_file.h"

struct RecoveredWork {
  std::string dataDir;                       // the data folder, absolute
  std::optional<LiveSetState> liveSet;       // the live set, when it was unsaved
  std::optional<SequenceSnapshot> sequence;  // the sequence, when it was unsaved
};

// The recovery file of the data folder dataDir; empty when neither XDG_STATE_HOME nor HOME names a folder.
std::string RecoveryPath(const std::string& dataDir);

std::string RecoveryText(const RecoveredWork& work);

// Writes RecoveryText's text to path (creating its folder) as ReplaceFile does; "" on success, else path
// and reason.
[[nodiscard]] std::string WriteRecovery(const std::string& path, const std::string& text);

// Reads the recovery file at path into work; "" on success, else path, place and reason.
[[nodiscard]] std::string ReadRecovery(const std::string& path, RecoveredWork& work);
