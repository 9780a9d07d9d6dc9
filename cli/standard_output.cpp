// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/whole_file.h"

namespace wexal::cli {

bool plugClosedStandardStreams() {
    bool outputClosed = false;
    // open() takes the lowest free number: each closed one in turn, from 0 up.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == STDOUT_FILENO) outputClosed = true;
        if (open("/dev/null", O_RDWR) != fd) break;  // no stand-in; nothing else to do
    }
    return outputClosed;
}

std::optional<std::string> writeStandardOutput(std::string_view text) {
    // A reader that went away shows as EPIPE here instead of ending the program silently.
    std::signal(SIGPIPE, SIG_IGN);
    while (!text.empty()) {
        const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return germanErrorText(errno);
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

}  // namespace wexal::cli
