// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <optional>

#include <string>
#include <vector>

namespace wexal::cli::test {

// What one run of the built wexal-sim left behind.
struct Outcome {
    int status = -1;  // exit status; -1 if it did not exit normally
    std::string out;
    std::string err;
};

// Runs wexal-sim with the arguments and extra environment entries ("NAME=value") and waits.
Outcome runSim(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});

// How else to start it: standard output onto a descriptor of the test's or closed, and a limit
// on the size of any file it writes (RLIMIT_FSIZE, with SIGXFSZ ignored, so that a write past
// it fails with EFBIG as on a full disk).
struct Launch {
    enum class Output { File, Descriptor, Closed };
    Output output = Output::File;
    int outFd = -1;  // for Output::Descriptor
    std::optional<rlim_t> fileSizeLimit;
};
Outcome runSim(const std::vector<std::string>& arguments, const Launch& launch);

// Starts wexal-sim with standard output into a temporary file and standard error onto the
// given descriptor; the caller ends it with stopSim.
struct RunningSim {
    pid_t pid = -1;
    int outFd = -1;
};
RunningSim startSim(const std::vector<std::string>& arguments, int errFd);
// Sends SIGTERM, waits for the process and returns what it wrote to standard output.
std::string stopSim(RunningSim& sim);

}  // namespace wexal::cli::test
