#pragma once
// What vorned-cli says reaches standard output and standard error, or the
// command fails. The commands write into memory; the text is delivered when
// the command ends, and a write that fails (full device, closed descriptor,
// broken pipe) turns a successful exit into exit status 1 with the reason on
// standard error while that can still be written.
#include <QString>

// Descriptors 0, 1 and 2 that are closed get a placeholder that fails every
// read and write, so no file the program opens can take their numbers and
// receive text meant for the terminal. Call first thing in main.
void HoldStandardDescriptors();

// Writes `out` to standard output and `err` to standard error; returns the
// exit status to end with.
int DeliverOutput(int status, const QString& out, QString err);
