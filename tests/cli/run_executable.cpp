// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_executable.h"

#include "fault_targets.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace wexal::cli::test {
namespace {

int temporaryFile() {
    char path[] = "/tmp/wexal-sim-test-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    unlink(path);  // gone once closed
    return fd;
}

std::string readAll(int fd) {
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char chunk[4096];
    for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(n));
    close(fd);
    return text;
}

// outFd -1: standard output closed.
pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            int outFd, int errFd) {
    std::vector<std::string> argvText{WEXAL_SIM_EXECUTABLE};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(argvText.size() + 1);
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> envText(environment);
    for (char** e = environ; *e != nullptr; ++e)
        envText.emplace_back(*e);  // the first entry of a name wins
    std::vector<char*> envp;
    envp.reserve(envText.size() + 1);
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    }
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + argvText[0]);
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

Outcome runSim(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment) {
    const int outFd = temporaryFile();
    const int errFd = temporaryFile();
    Outcome outcome;
    outcome.status = waitFor(spawn(arguments, environment, outFd, errFd));
    outcome.out = readAll(outFd);
    outcome.err = readAll(errFd);
    return outcome;
}

Outcome runSim(const std::vector<std::string>& arguments, const Launch& launch) {
    const bool ownOutput = launch.output == Launch::Output::File;
    const int outFd = ownOutput ? temporaryFile()
                      : launch.output == Launch::Output::Descriptor ? launch.outFd
                                                                    : -1;
    const int errFd = temporaryFile();
    Outcome outcome;
    pid_t pid = -1;
    {
        // Set around the spawn, which the child inherits it from, and put back at once.
        const wexal::test::FileSizeLimit limit(launch.fileSizeLimit);
        pid = spawn(arguments, {}, outFd, errFd);
    }
    outcome.status = waitFor(pid);
    if (ownOutput) outcome.out = readAll(outFd);
    outcome.err = readAll(errFd);
    return outcome;
}

RunningSim startSim(const std::vector<std::string>& arguments, int errFd) {
    RunningSim sim;
    sim.outFd = temporaryFile();
    sim.pid = spawn(arguments, {}, sim.outFd, errFd);
    return sim;
}

std::string stopSim(RunningSim& sim) {
    kill(sim.pid, SIGTERM);
    waitFor(sim.pid);
    sim.pid = -1;
    return readAll(sim.outFd);
}

}  // namespace wexal::cli::test
