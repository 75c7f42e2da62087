// The stages of a bootstrap: image, application, settings back.
#include "terminal/bootstrap.h"

#include "terminal/bootstrap_image.h"
#include "terminal/download_texts.h"
#include "terminal/terminal_texts.h"

#include "records/text_lines.h"

#include <algorithm>
#include <fstream>

namespace torva {
namespace {

constexpr struct {
    int result;
    const char* text;
} kResultTexts[] = {
    {kBootstrapNoBootstrapper, "Can't find binary download file"},
    {kBootstrapCorruptBootstrapper, "Corrupt binary download file"},
    {kBootstrapNoApplication, "Can't find 'Application' file"},
    {kBootstrapCorruptApplication, "Corrupt 'Application' file"},
    {kBootstrapCantSetParameters, "Can't set serial port parameters"},
};

// The terminal reads what arrived this often while the application streams.
constexpr std::chrono::milliseconds kPollPeriod{100};
// How often a wait for the port looks again.
constexpr std::chrono::milliseconds kSendLook{5};

// Writes one stage's bytes and watches them go: the count of the stage's
// bytes that have left, and why the port stopped when it did.
class StageSender {
public:
    StageSender(SerialLink& link, BootstrapUi& ui) : link_(link), ui_(ui) {}

    // A byte of the stage; false when the port refuses it.
    bool put(uint8_t byte) {
        if (link_.write(std::span(&byte, 1)) != 1) return fail();
        ++taken_;
        return true;
    }
    // Waits, keeping the windows going, while more than `most` bytes wait
    // to go; false when the port sent nothing for kSendStall (by its own
    // account or by this wait's).
    bool wait_unsent(size_t most) {
        size_t last = SIZE_MAX;
        std::chrono::milliseconds still{0};
        for (;;) {
            const size_t unsent = link_.unsent();
            if (!link_.write_failure().empty()) return fail();
            if (unsent <= most) return true;
            if (unsent < last)
                still = {};
            else if ((still += kSendLook) >= kSendStall)
                return fail();
            last = unsent;
            ui_.wait(kSendLook);
        }
    }
    // Waits until every byte of the stage is on the line; false as
    // wait_unsent.
    bool wait_all_sent() {
        if (!wait_unsent(0)) return false;
        link_.finish_sending();
        return true;
    }
    // The stage's bytes that have left the port.
    long gone() { return long(taken_ - std::min(taken_, link_.unsent())); }
    // Starts counting a new stage.
    void next_stage() { taken_ = 0; }
    const std::string& failure() const { return failure_; }

private:
    bool fail() {
        failure_ = link_.write_failure();
        if (failure_.empty()) failure_ = terminal_message::kNothingWent;
        return false;
    }

    SerialLink& link_;
    BootstrapUi& ui_;
    size_t taken_ = 0;
    std::string failure_;
};

// A change of stage: everything written must have left before the line's
// settings change, and what the far end answered stays to be read.
bool switch_stage(BootstrapUi& ui, StageSender& sender, SerialSettings& settings, int& result) {
    if (!sender.wait_all_sent()) {
        result = kBootstrapNotSent;
        return false;
    }
    if (!ui.configure_port(settings, PortQueues::kKeep)) {
        result = kBootstrapCantSetParameters;
        return false;
    }
    return true;
}

// Sends the application file as it stands, a line end as one line feed,
// up to an "S" followed by "X" (the "S" goes, the "X" not) or its end.
// False when the port stopped taking bytes; read_ok false on a read error.
bool stream_application(std::ifstream& file, StageSender& sender, BootstrapUi& ui, bool& read_ok) {
    using Clock = std::chrono::steady_clock;
    std::streambuf& in = *file.rdbuf();
    using traits = std::streambuf::traits_type;
    auto last_poll = Clock::now();
    long count = 0;
    char previous = 0;
    bool sending = true;
    for (int c = in.sbumpc(); c != traits::eof(); c = in.sbumpc()) {
        const char ch = traits::to_char_type(c);
        if (ch == '\r' && in.sgetc() == '\n') continue;
        if (ch == 'X' && previous == 'S') break;
        previous = ch;
        if (!sender.wait_unsent(kApplicationWindow - 1) || !sender.put(uint8_t(ch))) {
            sending = false;
            break;
        }
        if (Clock::now() - last_poll >= kPollPeriod) {
            ui.poll_terminal();
            last_poll = Clock::now();
        }
        ui.show_count(++count);
    }
    read_ok = !file.bad();
    return sending;
}

// A stage that could not send everything: the count shows what went, the
// terminal gets its own settings back (and with them an empty queue).
int not_sent(BootstrapUi& ui, StageSender& sender, TerminalSettings& settings) {
    ui.show_count(sender.gone());
    ui.write_failed(sender.failure());
    ui.poll_terminal();
    ui.configure_port(settings.serial, PortQueues::kPurge);
    return kBootstrapNotSent;
}

} // namespace

const char* bootstrap_result_text(int result) {
    for (const auto& entry : kResultTexts)
        if (entry.result == result) return entry.text;
    return "";
}

int run_bootstrap(const BootstrapOptions& options, TerminalSettings& settings, SerialLink& link,
                  BootstrapUi& ui) {
    using namespace bootstrap_message;
    std::ifstream bootstrapper;
    if (options.bootstrapper_path.empty() ||
        !open_regular_file(options.bootstrapper_path, bootstrapper))
        return kBootstrapNoBootstrapper;
    std::ifstream application;
    if (options.load_application && (options.application_path.empty() ||
                                     !open_regular_file(options.application_path, application)))
        return kBootstrapNoApplication;

    const BootstrapImage image = build_bootstrap_image(bootstrapper, options.size, options.offset);
    bootstrapper.close();
    if (image.omitted_by_offset > 0 &&
        !ui.question_box(message_with_count(kOmittedByOffset, image.omitted_by_offset)))
        return kBootstrapDeclined;
    if (image.omitted_by_size > 0 &&
        !ui.question_box(message_with_count(kOmittedBySize, image.omitted_by_size)))
        return kBootstrapDeclined;
    if (image.corrupt) return kBootstrapCorruptBootstrapper;

    if (!ui.configure_port(settings.bootstrap_serial, PortQueues::kPurge))
        return kBootstrapCantSetParameters;
    ui.prepare_target_box();
    StageSender sender(link, ui);
    if (options.leading_ff && !sender.put(0xFF)) return not_sent(ui, sender, settings);
    sender.next_stage();
    ui.show_stage(kBinaryDownload);
    ui.show_label(kBytesTransferred);
    long sent = 0;
    for (const uint8_t byte : image.bytes) {
        if (!sender.put(byte)) return not_sent(ui, sender, settings);
        ui.wait(kBootstrapBytePause);
        ui.show_count(++sent);
    }

    int result = kBootstrapDone;
    if (!switch_stage(ui, sender, settings.application_serial, result))
        return result == kBootstrapNotSent ? not_sent(ui, sender, settings) : result;
    if (!options.load_application)
        return ui.configure_port(settings.serial, PortQueues::kKeep) ? kBootstrapDone
                                                                     : kBootstrapCantSetParameters;
    if (options.application_delay > 0) {
        ui.show_stage(kOptionalDelay);
        ui.wait(std::chrono::milliseconds(options.application_delay));
    }
    ui.show_stage(kApplicationDownload);
    sender.next_stage();
    bool read_ok = true;
    const bool streamed = stream_application(application, sender, ui, read_ok);
    application.close();
    ui.poll_terminal();
    if (!streamed || !switch_stage(ui, sender, settings.serial, result))
        return result == kBootstrapCantSetParameters ? result : not_sent(ui, sender, settings);
    return read_ok ? kBootstrapDone : kBootstrapCorruptApplication;
}

} // namespace torva
