#pragma once
// quarnel --export ... --jobs N: one export split into N ranges of frames, each exported by a process
// of its own (this program with --from and --to) side by side, then joined without encoding again:
// video parts through ffmpeg's concat demuxer with the soundtrack muxed once over the whole, PNG frames
// moved into one folder. The joined result equals the export in one piece frame for frame.
#include <string>

#include "cli/export_codecs.h"
#include "cli/video_export.h"

// Exports the frames of span (at least one) of the loaded folder, with sound as the soundtrack of a
// video. Returns the exit status; each part's messages are printed when it fails.
int RunSplitExport(const ExportOptions& options, FrameSpan span, bool toPng, const ExportSound& sound);

// The arguments of ffmpeg that join the video parts listed in listPath (the concat demuxer's list) into
// videoPath, with sound from fromMs on as the soundtrack, durationMs long.
std::vector<std::string> JoinArguments(const std::string& listPath, const ExportSound& sound, uint32_t fromMs,
                                       uint64_t durationMs, const std::string& videoPath);
