// The stages of a bootstrap: image, application, settings back.
#include "terminal/bootstrap.h"

#include "terminal/bootstrap_image.h"
#include "terminal/download_texts.h"

#include "io/text_lines.h"

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

// A configuration purges the port's queues: what was written must have
// left first, or the end of a stage would be lost.
bool switch_settings(SerialLink& link, BootstrapUi& ui, SerialSettings& settings) {
    link.drain();
    return ui.configure_port(settings);
}

bool write_byte(SerialLink& link, uint8_t byte) {
    return link.write(std::span(&byte, 1)) == 1;
}

// Sends the application file as it stands, a line end as one line feed,
// up to an "S" followed by "X" (the "S" goes, the "X" not) or its end.
// False on a read error.
bool stream_application(std::ifstream& file, SerialLink& link, BootstrapUi& ui) {
    using Clock = std::chrono::steady_clock;
    std::streambuf& in = *file.rdbuf();
    using traits = std::streambuf::traits_type;
    auto last_poll = Clock::now();
    long count = 0;
    char previous = 0;
    for (int c = in.sbumpc(); c != traits::eof(); c = in.sbumpc()) {
        const char ch = traits::to_char_type(c);
        if (ch == '\r' && in.sgetc() == '\n') continue;
        if (ch == 'X' && previous == 'S') break;
        previous = ch;
        write_byte(link, uint8_t(ch));
        if (Clock::now() - last_poll >= kPollPeriod) {
            ui.poll_terminal();
            last_poll = Clock::now();
        }
        ui.show_count(++count);
    }
    return !file.bad();
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

    if (!ui.configure_port(settings.bootstrap_serial)) return kBootstrapCantSetParameters;
    ui.prepare_target_box();
    if (options.leading_ff) write_byte(link, 0xFF);
    ui.show_stage(kBinaryDownload);
    ui.show_label(kBytesTransferred);
    long sent = 0;
    for (const uint8_t byte : image.bytes) {
        if (!write_byte(link, byte)) break;
        ui.wait(kBootstrapBytePause);
        ui.show_count(++sent);
    }

    if (!switch_settings(link, ui, settings.application_serial)) return kBootstrapCantSetParameters;
    if (!options.load_application)
        return switch_settings(link, ui, settings.serial) ? kBootstrapDone
                                                          : kBootstrapCantSetParameters;
    if (options.application_delay > 0) {
        ui.show_stage(kOptionalDelay);
        ui.wait(std::chrono::milliseconds(options.application_delay));
    }
    ui.show_stage(kApplicationDownload);
    const bool read_ok = stream_application(application, link, ui);
    application.close();
    ui.poll_terminal();
    if (!switch_settings(link, ui, settings.serial)) return kBootstrapCantSetParameters;
    return read_ok ? kBootstrapDone : kBootstrapCorruptApplication;
}

} // namespace torva
