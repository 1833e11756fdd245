#ifndef STARTUP_H
#define STARTUP_H

// One run of the program on an existing application object: the command-line check, the
// splash, a waiting update, then the main window until it closes. Returns the exit status.
// The main window is destroyed before this returns, and with it the transfer dialog, which
// lets an exchange that is on the line run to its end.
int runProgram(int argc, char** argv);

#endif
