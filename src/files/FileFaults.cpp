#include "files/FileFaults.h"

namespace {
FileFault& CurrentFault()
{
    static FileFault fault;
    return fault;
}
}

void SetFileFault(FileFault fault)
{
    CurrentFault() = std::move(fault);
}

QString AskFileFault(FileStep step, long long bytes)
{
    return CurrentFault() ? CurrentFault()(step, bytes) : QString();
}
