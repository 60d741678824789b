// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, Ctrl+C in the console) end Demo as Escape
// does, so that its shutdown keeps unsaved work. The handler only notes the signal; the frame
// loop sees the note and leaves the main loop.
#pragma once

// Installs the handler for the three signals, except those ignored when the program started
// (as nohup leaves SIGHUP). A second signal of a kind ends the program at once.
void InstallExitSignals();
// Whether one of the signals has come.
bool ExitSignalled();
