// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "platform/random_source.h"

namespace wexal {

// A seeded run of many escapes is cut into blocks of this many, each drawn from its own random
// stream, so a seed gives the same counts whatever the number of threads.
inline constexpr std::int64_t kBlockEscapes = std::int64_t{1} << 16;

// Hands out the blocks in order, each with its own stream: block b gets the seed's stream
// jumped b times, whichever thread takes it.
class BlockStreams {
public:
    BlockStreams(std::int64_t escapes, std::uint64_t seed) : escapes_(escapes), stream_(seed) {}

    struct Block {
        std::int64_t index;
        std::int64_t escapes;
        Xoshiro256 stream;
    };

    bool next(Block& block) {
        const std::lock_guard lock(mutex_);
        if (handedOut_ >= escapes_) return false;
        block = {nextIndex_++, std::min(kBlockEscapes, escapes_ - handedOut_), stream_};
        handedOut_ += block.escapes;
        stream_.jump();
        return true;
    }

private:
    std::mutex mutex_;
    std::int64_t escapes_;
    std::int64_t handedOut_ = 0;
    std::int64_t nextIndex_ = 0;
    Xoshiro256 stream_;
};

}  // namespace wexal
