// The bootstrap of a board without a running monitor: the bootstrapper's
// byte image at one byte per 20 ms with its own serial settings, then,
// optionally, the application's S-record file streamed byte by byte with a
// third set; the terminal's own settings are put back at the end.
#pragma once

#include "terminal/bootstrap_options.h"
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
    virtual bool configure_port(SerialSettings& settings) = 0;
    // The progress fields: the stage text, the label, the byte count; each
    // shows at once.
    virtual void show_stage(const std::string& text) = 0;
    virtual void show_label(const std::string& text) = 0;
    virtual void show_count(long count) = 0;
    // A pause during which the terminal and the dialog stay painted.
    virtual void wait(Milliseconds time) = 0;
    // Lets the terminal read and show what has arrived.
    virtual void poll_terminal() = 0;
};

// Pause after each image byte.
inline constexpr std::chrono::milliseconds kBootstrapBytePause{20};

// Runs a bootstrap; gives a BootstrapResult.
int run_bootstrap(const BootstrapOptions& options, TerminalSettings& settings, SerialLink& link,
                  BootstrapUi& ui);

} // namespace torva
