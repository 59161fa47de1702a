#pragma once
// SIGTERM, SIGINT (Ctrl+C) and SIGHUP in development mode: the handler only marks the signal's arrival;
// the program's loop sees it, writes the recovery file (devmode/dev_document.h) and then ends by the
// signal, as it would have ended without the handler. No window toolkit here.

// From now on the three signals are marked instead of ending the program.
void WatchQuitSignals();

// The signal that arrived, or 0.
int ArrivedQuitSignal();

// Ends the process by signalNumber with the signal's default action.
[[noreturn]] void EndByQuitSignal(int signalNumber);
