// A pseudo-terminal joined to a serial console: what a terminal program
// writes at the other end is typed towards the board, what the board sends
// is written there. POSIX only.
#pragma once

#include <cstddef>
#include <string>

namespace torva {

class SerialDevice;

class PtyBridge {
public:
    // Bytes read from the terminal are handed on only while the console has
    // fewer than this many waiting: the rest stays in the pseudo-terminal,
    // which holds the writer back, as a serial line's flow control would.
    static constexpr size_t kMaxQueuedInput = 64;
    // The board's bytes the other end has not read yet, kept here; the run
    // holds while this many wait, so no byte is lost.
    static constexpr size_t kMaxPendingOutput = 4096;

    PtyBridge() = default;
    ~PtyBridge();
    PtyBridge(const PtyBridge&) = delete;
    PtyBridge& operator=(const PtyBridge&) = delete;

    // Makes the pseudo-terminal in raw mode; false with error set.
    bool open(std::string& error);
    // The device path a terminal program opens, e.g. /dev/pts/3.
    const std::string& path() const { return path_; }

    // Moves what is waiting both ways without blocking.
    void exchange(SerialDevice& console);
    // Whether the board's output waits for the other end to read it.
    bool output_blocked() const { return pending_.size() >= kMaxPendingOutput; }
    // Sleeps up to timeout_ms, waking early when the other end writes
    // (while the console takes input) or, while output waits, reads.
    void wait(const SerialDevice& console, int timeout_ms) const;
    // Tries for up to timeout_ms to write out what the board sent last and
    // to see it read at the other end (closing would discard it).
    void flush(int timeout_ms);

private:
    void write_pending();

    int master_ = -1;
    // Held open here so that the terminal keeps its settings and what the
    // board sends before anyone opens the path is kept for them.
    int slave_ = -1;
    std::string path_;
    std::string pending_;
};

} // namespace torva
