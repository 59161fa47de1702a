#pragma once
// The music stream as the authoring clock drives it (authoring/authoring_clock.h), through our BASS additions
// for seeking. Positions are ms from the start of the MP3.
#include "authoring/authoring_clock.h"
#include "audio/music.h"

// Seek, position and pause on music's stream; empty functions when music is off. music must outlive the
// result. A seek also plays a stream that had reached its end, so that a jump back is heard.
MusicControl MusicControlFor(Music& music);
