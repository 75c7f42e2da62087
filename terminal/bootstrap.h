// The bootstrap of a board without a running monitor: the bootstrapper's
// byte image at one byte per 20 ms with its own serial settings, then,
// optionally, the application's S-record file streamed byte by byte with a
// third set; the terminal's own settings are put back at the end. Each
// change of stage waits until the port has sent everything and keeps what
// the far end answered.
#pragma once

#include "terminal/bootstrap_options.h"
#include "terminal/port_configuration.h"
#include "terminal/serial_link.h"
#include "terminal/serial_settings.h"
#include "terminal/terminal_settings.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace torva {

enum BootstrapResult : int {
    kBootstrapDone = 0,
    kBootstrapDeclined = 1, // a WARNING question answered No: nothing sent
    kBootstrapNoBootstrapper = -1,
    kBootstrapCorruptBootstrapper = -2,
    kBootstrapNoApplication = -3,
    kBootstrapCorruptApplication = -4,
    kBootstrapCantSetParameters = -5,
    // The port stopped sending: not every byte of a stage went. The count
    // field shows how many of the stage's bytes did, the progress field
    // why (BootstrapUi::write_failed).
    kBootstrapNotSent = -6,
};

// The text the dialog's progress field shows for a result ("" for none).
const char* bootstrap_result_text(int result);

// What a bootstrap asks of its dialog and terminal.
class BootstrapUi {
public:
    using Milliseconds = std::chrono::milliseconds;
    virtual ~BootstrapUi() = default;
    // A question box; true for Yes.
    virtual bool question_box(const std::string& text) = 0;
    // "Prepare target for binary download\rthen press OK" titled
    // "Bootstrapper"; returns when it has been answered.
    virtual void prepare_target_box() = 0;
    // Configures the terminal's port (with its own messages and title);
    // settings are repaired in place. False on failure.
    virtual bool configure_port(SerialSettings& settings, PortQueues queues) = 0;
    // The progress fields: the stage text, the label, the byte count; each
    // shows at once.
    virtual void show_stage(const std::string& text) = 0;
    virtual void show_label(const std::string& text) = 0;
    virtual void show_count(long count) = 0;
    // A pause during which the terminal and the dialog stay painted.
    virtual void wait(Milliseconds time) = 0;
    // Lets the terminal read and show what has arrived.
    virtual void poll_terminal() = 0;
    // The port stopped sending, for this reason (as the link gives it).
    virtual void write_failed(const std::string& reason) = 0;
};

// Pause after each image byte.
inline constexpr std::chrono::milliseconds kBootstrapBytePause{20};
// The application streams as fast as the port takes it: no more than this
// many bytes wait to go at a time (the driver's output queue of old), so
// that the count shown is what has gone.
inline constexpr size_t kApplicationWindow = 128;
// A port that sends nothing of what waits for this long has failed.
inline constexpr std::chrono::milliseconds kSendStall{2000};

// Runs a bootstrap; gives a BootstrapResult.
int run_bootstrap(const BootstrapOptions& options, TerminalSettings& settings, SerialLink& link,
                  BootstrapUi& ui);

} // namespace torva
