#pragma once
// Running the built vorned-cli with arguments as raw bytes and with its
// standard descriptors set up as a shell would leave them: closed, on a
// device, on a pipe nobody reads, fed from a file or a pipe, or as another
// user. QProcess can do none of the first and passes arguments as text; this
// forks and executes the program itself, and kills it after a timeout so a
// hang fails the test instead of stalling the run.
#include <QByteArray>
#include <QList>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct RawRunOptions {
    enum class Input { Empty, Bytes, File, Closed } In = Input::Empty;
    QByteArray InputBytes;   // Input::Bytes: written into a pipe on descriptor 0
    QByteArray InputFile;    // Input::File: opened on descriptor 0
    enum class Output { Pipe, Closed, File, BrokenPipe } Out = Output::Pipe;
    QByteArray OutputFile;   // Output::File: opened for writing on descriptor 1
    int User = -1;           // run as this user and group id
    QByteArray WorkingFolder;
    int TimeoutMs = 60000;
};

struct RawRunResult {
    int ExitCode = -1;       // -1: killed, did not start, or ended by a signal
    bool TimedOut = false;
    QByteArray Out;
    QByteArray Err;
};

inline RawRunResult RunCliRaw(const QList<QByteArray>& args, const RawRunOptions& o = {})
{
    RawRunResult result;
    // Writing into a program that has stopped reading must not end the test.
    signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2], broken[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0
        || pipe2(broken, O_CLOEXEC) != 0)
        return result;
    ::close(broken[0]); // a pipe whose reader is gone

    const QByteArray program = VORNED_CLI_PATH;
    std::vector<QByteArray> storage{program};
    for (const QByteArray& a : args)
        storage.push_back(a);
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int inputFd = o.In == RawRunOptions::Input::File ? ::open(o.InputFile.constData(), O_RDONLY | O_CLOEXEC) : -1;
    const int outputFd = o.Out == RawRunOptions::Output::File ? ::open(o.OutputFile.constData(), O_WRONLY | O_CLOEXEC) : -1;

    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only calls that are safe between fork and exec.
        if (o.In == RawRunOptions::Input::Closed)
            ::close(0);
        else
            ::dup2(inputFd >= 0 ? inputFd : in[0], 0);
        switch (o.Out) {
        case RawRunOptions::Output::Pipe: ::dup2(out[1], 1); break;
        case RawRunOptions::Output::Closed: ::close(1); break;
        case RawRunOptions::Output::File: ::dup2(outputFd, 1); break;
        case RawRunOptions::Output::BrokenPipe: ::dup2(broken[1], 1); break;
        }
        ::dup2(err[1], 2);
        if (!o.WorkingFolder.isEmpty() && ::chdir(o.WorkingFolder.constData()) != 0)
            ::_exit(125);
        if (o.User >= 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(gid_t(o.User), gid_t(o.User), gid_t(o.User)) != 0
                            || ::setresuid(uid_t(o.User), uid_t(o.User), uid_t(o.User)) != 0))
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    ::close(broken[1]);
    if (inputFd >= 0)
        ::close(inputFd);
    if (outputFd >= 0)
        ::close(outputFd);
    if (pid < 0) {
        ::close(in[1]);
        ::close(out[0]);
        ::close(err[0]);
        return result;
    }

    int toChild = in[1];
    ::fcntl(toChild, F_SETFL, O_NONBLOCK);
    if (o.In != RawRunOptions::Input::Bytes) {
        ::close(toChild);
        toChild = -1;
    }
    qsizetype fed = 0;
    int fromOut = out[0], fromErr = err[0];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(o.TimeoutMs);
    while ((fromOut >= 0 || fromErr >= 0 || toChild >= 0) && std::chrono::steady_clock::now() < deadline) {
        pollfd p[3];
        int n = 0;
        if (fromOut >= 0) p[n++] = {fromOut, POLLIN, 0};
        if (fromErr >= 0) p[n++] = {fromErr, POLLIN, 0};
        if (toChild >= 0) p[n++] = {toChild, POLLOUT, 0};
        if (::poll(p, nfds_t(n), 100) <= 0)
            continue;
        for (int i = 0; i < n; ++i) {
            if (!p[i].revents)
                continue;
            if (p[i].fd == toChild) {
                const ssize_t w = fed < o.InputBytes.size()
                                      ? ::write(toChild, o.InputBytes.constData() + fed, size_t(o.InputBytes.size() - fed))
                                      : 0;
                if (w > 0)
                    fed += w;
                if (fed >= o.InputBytes.size() || (w < 0 && errno != EAGAIN)) {
                    ::close(toChild);
                    toChild = -1;
                }
                continue;
            }
            char buffer[65536];
            const ssize_t r = ::read(p[i].fd, buffer, sizeof buffer);
            if (r > 0) {
                (p[i].fd == fromOut ? result.Out : result.Err).append(buffer, r);
            } else if (r == 0 || errno != EINTR) {
                ::close(p[i].fd);
                (p[i].fd == fromOut ? fromOut : fromErr) = -1;
            }
        }
    }
    for (int fd : {toChild, fromOut, fromErr})
        if (fd >= 0)
            ::close(fd);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            result.TimedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return result;
        }
        ::usleep(2000);
    }
    if (WIFEXITED(status))
        result.ExitCode = WEXITSTATUS(status);
    return result;
}
