#include "CliOutput.h"

#include "CliCommands.h"
#include "files/FileWriter.h"
#include "files/SystemReason.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void HoldStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // A path-only descriptor of the root folder: reading or writing it fails with EBADF.
        const int hold = ::open("/", O_PATH);
        if (hold >= 0 && hold != fd) {
            ::dup2(hold, fd);
            ::close(hold);
        }
    }
}

int DeliverOutput(int status, const QString& out, QString err)
{
    const QByteArray outBytes = out.toUtf8();
    int failed = WriteToDescriptor(STDOUT_FILENO, outBytes.constData(), outBytes.size());
    if (failed == 0 && !outBytes.isEmpty() && ::close(STDOUT_FILENO) != 0 && errno != EINTR)
        failed = errno;
    if (failed != 0) {
        err += QStringLiteral("vorned-cli: could not write to standard output: %1\n").arg(SystemReason(failed));
        if (status == ExitOk)
            status = ExitFailure;
    }
    const QByteArray errBytes = err.toUtf8();
    if (WriteToDescriptor(STDERR_FILENO, errBytes.constData(), errBytes.size()) != 0 && status == ExitOk)
        status = ExitFailure;
    return status;
}
