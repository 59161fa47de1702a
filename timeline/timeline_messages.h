#pragma once
// Every text the timeline window shows.

inline constexpr const char* kTimelineCaption = "timeline";
inline constexpr const char* kTimelineWindowClass = "quarnel-timeline";

// Field captions, in TimelineField order.
inline constexpr const char* kTimelineFieldCaptions[] = {"preset", "start", "end",    "factor", "offset", "wobble",
                                                         "freq",   "ampl",  "length", "ratio",  "bpm",    "key",
                                                         "gain",   "offset"};
// After a lane's name when its parameter follows the soundtrack, before the source's name: "BG_r ~ low".
inline constexpr const char* kLaneFollows = " ~ ";
// The lane menu's items that make its parameter follow a source, in SoundSource order, then none.
inline constexpr const char* kFollowMenuItems[] = {"follow low", "follow mid", "follow high", "follow onset",
                                                   "follow none"};
inline constexpr const char* kTimelineButtonCaptions[] = {"add",  "dup",           "del",      "up",
                                                          "down", "save sequence", "add track", "guess"};
inline constexpr const char* kPreviewCaption = "preview sequence";
inline constexpr const char* kTallRowsCaption = "tall rows";

// Field checks beyond authoring/field_values.h's; the offending text in quotes is put in front.
inline constexpr const char* kMsgTimelineRatio = " is out of range: the ratio lies above 2 and at most 10";
inline constexpr const char* kMsgTimelineBpm = " is out of range: beats per minute lie above 0 and at most 1000";

// Entry operations and the save.
inline constexpr const char* kMsgSequenceFull = "the sequence holds 255 entries, the most it can";
inline constexpr const char* kMsgSequenceSaveFailed = "Save Error: ";  // + path + ": " + reason + kMsgSequenceSaveKept
inline constexpr const char* kMsgSequenceSaveKept = " (the previous file is unchanged)";

// Automation lanes.
// The bpm guess from the soundtrack's onset envelope.
inline constexpr const char* kMsgGuessNeedsEmptyBpm = "the bpm is set: empty its field to guess it from the music";
inline constexpr const char* kMsgGuessNoBeat = "no steady beat of 60..200 bpm is heard in the music";
inline constexpr const char* kMsgTrackNeedsEntry = "select an entry first: its lanes take the track";
inline constexpr const char* kMsgTrackNeedsParam = "select a parameter in the tweak window first";
inline constexpr const char* kMsgTrackThere = "the entry has a track already for ";  // + the parameter's short name
