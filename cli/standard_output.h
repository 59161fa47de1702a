#pragma once
// What a command printed must arrive: standard output is flushed and closed when the program ends,
// and a write or the close that failed (a full disk, a closed or broken output) ends the program with
// status 1 and the reason on standard error, whatever status it was ending with.
// Registered once at the start of main with std::atexit.
void CloseStandardOutput();
