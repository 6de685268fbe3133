#pragma once
// A seam in the file writer for failure-injection tests. When a fault is
// set, the writer asks it before each step that moves data; a non-empty
// answer makes that step fail with this text as its reason, after half of
// the step's bytes have gone where the step writes them (so the failure
// happens part way).
#include <QString>

#include <functional>

enum class FileStep {
    WriteTemporary,    // the new content into the temporary file beside the target
    ReplaceTarget,     // renaming the temporary file over the target
    WriteBackup,       // copying the old content into the backup beside the target
    WriteInPlace,      // the new content over the target itself
    RestoreFromBackup, // the old content back over the target after a failure
    WriteThrough,      // the content into a device or named pipe
};

using FileFault = std::function<QString(FileStep step, long long bytes)>;

void SetFileFault(FileFault fault);

// The fault's answer for this step; empty when no fault is set.
QString AskFileFault(FileStep step, long long bytes);
