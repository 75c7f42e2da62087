// The bootstrap without a window: the image rules, the dialog's fields and
// enabling, and the stages with their serial settings.
#include "terminal/bootstrap.h"
#include "terminal/bootstrap_dialog_logic.h"
#include "terminal/bootstrap_dialog_values.h"
#include "terminal/bootstrap_image.h"

#include "records/srecord_writer.h"
#include "support/temp_dir.h"
#include "support/write_only_link.h"

#include <gtest/gtest.h>

#include <sstream>

namespace torva {
namespace {

// S1 records of count bytes from address on, byte i holding (i * 7) & 0xFF.
std::string data_records(uint32_t address, size_t count) {
    std::string text;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i)
        bytes.push_back(uint8_t(i * 7));
    for (size_t at = 0; at < count; at += 32) {
        const size_t n = std::min<size_t>(32, count - at);
        text += srecord_data(uint32_t(address + at), std::span(bytes).subspan(at, n)) + "\n";
    }
    return text;
}

BootstrapImage image_of(const std::string& text, uint32_t size, int32_t offset) {
    std::istringstream file(text);
    return build_bootstrap_image(file, size, offset);
}

TEST(BootstrapImage, PlacesBytesByAddressLessOffsetWithinSizeAndTheImage) {
    const std::string block = data_records(0x0F00, 256) + "S9030000FC\n";
    // Size 256 at offset $0F00: exactly the 256 bytes, in address order.
    const BootstrapImage whole = image_of(block, 256, 0x0F00);
    ASSERT_EQ(256u, whole.bytes.size());
    for (size_t i = 0; i < 256; ++i)
        ASSERT_EQ(uint8_t(i * 7), whole.bytes[i]) << i;
    EXPECT_EQ(0, whole.omitted_by_offset + whole.omitted_by_size);

    // 128 higher: the first 128 bytes lie below the offset.
    const BootstrapImage shifted = image_of(block, 256, 0x0F80);
    EXPECT_EQ(128, shifted.omitted_by_offset);
    EXPECT_EQ(0, shifted.omitted_by_size);
    EXPECT_EQ(uint8_t(128 * 7), shifted.bytes[0]);
    EXPECT_EQ(0, shifted.bytes[200]); // places no byte reached are 0

    // "File size": as many bytes as the file has.
    EXPECT_EQ(200u, image_of(data_records(0x2000, 200), 0, 0x2000).bytes.size());
    // Size 192 keeps the first 192.
    EXPECT_EQ(64, image_of(block, 192, 0x0F00).omitted_by_size);
}

TEST(BootstrapImage, NothingAtOrBeyondTheImagesRoomIsKeptOrSent) {
    const std::string big = data_records(0x1000, 4300);
    const BootstrapImage file_size = image_of(big, 0, 0x1000);
    EXPECT_EQ(kBootstrapImageSize, file_size.bytes.size());
    EXPECT_EQ(4300 - long(kBootstrapImageSize), file_size.omitted_by_size);
    EXPECT_EQ(uint8_t(4191 * 7), file_size.bytes.back());

    const BootstrapImage asked_more = image_of(big, 5000, 0x1000);
    EXPECT_EQ(kBootstrapImageSize, asked_more.bytes.size());
    EXPECT_EQ(4300 - long(kBootstrapImageSize), asked_more.omitted_by_size);

    // Far away from the offset, and with an offset above every address.
    EXPECT_EQ(16, image_of(data_records(0xFFFFFFF0, 16), 0, 0).omitted_by_size);
    EXPECT_EQ(16, image_of(data_records(0x10, 16), 0, 0x7FFFFFFF).omitted_by_offset);
}

TEST(BootstrapImage, CorruptFilesAndWhereReadingStops) {
    struct Case {
        int line;
        const char* text;
        bool corrupt;
        size_t bytes; // with "File size"
    } const cases[] = {
        {__LINE__, "S0030000FC\n\nS1051000AABB85\nS9030000FC\n", false, 2},
        {__LINE__, "S1051000AABB85\nS5030001FB\n", true, 2},
        {__LINE__, "S1051000AABB85\nnot a record\n", true, 2},
        {__LINE__, "S105Z000AABB85\n", true, 0},
        {__LINE__, "S1051000AABB85\nSX anything\nS5\n", false, 2},  // "X" stops the reading
        {__LINE__, "S1051000AABB85\nS9030000FC\njunk\n", false, 2}, // so does the end record
        {__LINE__, "S1051000AABB85", false, 2}, // a last line without an end keeps its last byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const BootstrapImage image = image_of(c.text, 0, 0x1000);
        EXPECT_EQ(c.corrupt, image.corrupt);
        EXPECT_EQ(c.bytes, image.bytes.size());
    }
}

TEST(BootstrapDialogValues, FieldsAreReadAndShown) {
    using namespace bootstrap_dialog;
    struct Case {
        int line;
        const char* text;
        std::optional<int32_t> offset;
    } const cases[] = {
        {__LINE__, "0F00", 0x0F00}, {__LINE__, "0x0f00", 0x0F00}, {__LINE__, "-10", -16},
        {__LINE__, "F00 x", 0xF00}, {__LINE__, "F00:", 0xF00},    {__LINE__, "", 0},
        {__LINE__, "G1", {}},       {__LINE__, "1000h", {}},      {__LINE__, "123456789", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.offset, parse_offset(c.text));
    }
    EXPECT_EQ("05", offset_text(5));
    EXPECT_EQ("F00", offset_text(0xF00));
    EXPECT_EQ(250, parse_decimal("250"));
    EXPECT_EQ(0, parse_decimal("soon"));
    EXPECT_EQ(300u, size_from(kSizeOther, "300"));
    EXPECT_EQ(0u, size_from(kSizeOther, "-5"));
    EXPECT_EQ(kSizeOther, size_button(size_from(kSizeOther, "300")));
}

// Nothing chosen yet: no start, the application's controls and the
// "Other" number closed; a chosen file shows shortened to 38 characters;
// while a bootstrap runs every control is off.
TEST(BootstrapDialogLogic, ControlsFollowTheFilesTheChecksAndTheRun) {
    using namespace bootstrap_dialog;
    BootstrapOptions options;
    BootstrapDialogLogic logic(options);
    BootstrapDialogFields shown = logic.fields();
    EXPECT_EQ(kSizeFile, shown.size_button);
    EXPECT_EQ("00", shown.offset);
    auto on = [&](std::initializer_list<int> ids) {
        std::vector<bool> result;
        for (const int id : ids)
            result.push_back(logic.enabled(id, shown));
        return result;
    };
    const auto application = {kApplicationPath, kBrowseApplication, kApplicationDelay,
                              kApplicationOptions};
    EXPECT_EQ((std::vector{false, false, true, true, true}),
              on({kStart, kOtherSize, kBrowseBootstrapper, kLoadApplication, kReturn}));
    EXPECT_EQ(std::vector(4, false), on(application));
    EXPECT_FALSE(logic.enabled(kBootstrapperOptions, shown)); // no serial settings dialog

    logic.choose_file(false, "/home/student/courses/microcontrollers/lab7/bootstrap/loader_v2.s19");
    EXPECT_EQ("/hom....../.b7/bootstrap/loader_v2.s19", logic.fields().bootstrapper_path);
    EXPECT_TRUE(logic.enabled(kStart, shown));
    shown.load_application = true;
    shown.size_button = kSizeOther;
    EXPECT_EQ((std::vector{true, true, true, false}), on(application));
    EXPECT_TRUE(logic.enabled(kOtherSize, shown));
    logic.set_has_options_dialog(true);
    EXPECT_EQ(std::vector(4, true), on(application));
    EXPECT_TRUE(logic.enabled(kBootstrapperOptions, shown));

    logic.set_running(true);
    for (const int id : kSwitchedControls)
        EXPECT_FALSE(logic.enabled(id, shown)) << id;
    EXPECT_FALSE(logic.can_start());
}

// OK reads the fields into the kept options, which fill the next dialog;
// an unreadable offset is taken as 0 with a notice.
TEST(BootstrapDialogLogic, OkReadsTheFieldsAndResultsBecomeStageTexts) {
    using namespace bootstrap_dialog;
    BootstrapOptions options;
    BootstrapDialogLogic logic(options);
    const BootstrapDialogFields typed{"", "", kSizeOther, "300", "0F00", true, true, "250"};
    EXPECT_EQ("", logic.read(typed));
    EXPECT_EQ((BootstrapOptions{"", "", true, 300, 0xF00, true, 250}), options);
    const BootstrapDialogFields again = BootstrapDialogLogic(options).fields();
    EXPECT_EQ(kSizeOther, again.size_button);
    EXPECT_EQ("300", again.other_size);
    EXPECT_EQ("F00", again.offset);
    EXPECT_EQ("250", again.delay);
    EXPECT_TRUE(again.load_application && again.leading_ff);

    BootstrapDialogFields odd = again;
    odd.offset = "12G4";
    EXPECT_EQ("Illegal offset, ignored", logic.read(odd));
    EXPECT_EQ(0, options.offset);

    EXPECT_EQ(std::nullopt, BootstrapDialogLogic::result_text(kBootstrapDeclined, "x"));
    EXPECT_EQ("Can't write to ttyS0: held",
              BootstrapDialogLogic::result_text(kBootstrapNotSent, "Can't write to ttyS0: held"));
    EXPECT_EQ("Can't find 'Application' file",
              BootstrapDialogLogic::result_text(kBootstrapNoApplication, ""));
    EXPECT_EQ("", BootstrapDialogLogic::result_text(kBootstrapDone, ""));
}

// The port's writes and the dialog's doings, in order. The port sends one
// byte per wait of the dialog's (none while held), and takes writes while
// it has room.
class RecordingBootstrap final : public test::WriteOnlyLink, public BootstrapUi {
public:
    size_t write(std::span<const uint8_t> bytes) override {
        if (room == 0) return 0;
        --room;
        sent.append(bytes.begin(), bytes.end());
        unsent_ += bytes.size();
        return bytes.size();
    }
    size_t unsent() override { return unsent_; }

    bool question_box(const std::string& text) override {
        events.push_back(text);
        return answer;
    }
    void prepare_target_box() override { events.push_back("prepare"); }
    bool configure_port(SerialSettings& settings, PortQueues queues) override {
        // A change of stage with unsent bytes would send them with the next
        // stage's settings.
        if (unsent_ != 0 && queues == PortQueues::kKeep) events.push_back("unsent bytes!");
        events.push_back("baud " + std::to_string(settings.baud) +
                         (queues == PortQueues::kPurge ? " purged" : ""));
        if (queues == PortQueues::kPurge) unsent_ = 0;
        return settings.baud != failing_baud;
    }
    void show_stage(const std::string& text) override { events.push_back(text); }
    void show_label(const std::string&) override {}
    void show_count(long count) override { last_count = count; }
    void wait(Milliseconds time) override {
        waited += time;
        if (!held && unsent_ > 0) --unsent_;
    }
    void poll_terminal() override {}
    void write_failed(const std::string& reason) override { events.push_back("failed: " + reason); }

    std::string sent;
    std::vector<std::string> events;
    bool answer = true;
    uint32_t failing_baud = 0;
    long last_count = 0;
    Milliseconds waited{0};
    size_t room = SIZE_MAX;
    bool held = false;

private:
    size_t unsent_ = 0;
};

struct BootstrapRun : ::testing::Test {
    BootstrapRun() {
        settings.serial.baud = 9600;
        settings.bootstrap_serial.baud = 1200;
        settings.application_serial.baud = 19200;
        options.bootstrapper_path = dir.write("boot.s19", "S1051000AABB85\nS9030000FC\n");
        options.offset = 0x1000;
    }
    int run() { return run_bootstrap(options, settings, port, port); }

    test::TempDir dir;
    TerminalSettings settings;
    BootstrapOptions options;
    RecordingBootstrap port;
};

TEST_F(BootstrapRun, ImageThenApplicationEachWithItsSettings) {
    options.leading_ff = true;
    options.load_application = true;
    options.application_delay = 300;
    options.application_path =
        dir.write("app.s19", "S1051000AABB85\r\nS9030000FC\r\nSX after the end\r\n");
    EXPECT_EQ(kBootstrapDone, run());
    EXPECT_EQ("\xFF\xAA\xBB"
              "S1051000AABB85\nS9030000FC\nS",
              port.sent);
    // Each change of stage waits until every byte has gone and keeps what
    // the far end answered; only the first configuration purges.
    const std::vector<std::string> expected = {
        "baud 1200 purged", "prepare",           "Binary download, please wait",
        "baud 19200",       "Optional delay...", "Downloading 'Application', please wait",
        "baud 9600"};
    EXPECT_EQ(expected, port.events);
    EXPECT_EQ(27, port.last_count);
}

// A port that stops sending ends the bootstrap with a failure, not a
// success: the count shows the stage's bytes that went, and the terminal
// gets its settings back.
TEST_F(BootstrapRun, APortThatStopsSendingIsAFailureWithTheCountSent) {
    options.bootstrapper_path = dir.write("boot.s19", data_records(0x1000, 10));
    options.offset = 0x1000;
    port.room = 6; // the port refuses the seventh byte
    EXPECT_EQ(kBootstrapNotSent, run());
    EXPECT_EQ(6, port.last_count);
    EXPECT_EQ("failed: no byte went out for 2 seconds", port.events[port.events.size() - 2]);
    EXPECT_EQ("baud 9600 purged", port.events.back());

    // The port takes the bytes but holds them: the change of stage waits
    // 2 s for them to go, then gives up rather than send them with the next
    // stage's settings. None went.
    port.events.clear();
    port.room = SIZE_MAX;
    port.held = true;
    port.waited = {};
    EXPECT_EQ(kBootstrapNotSent, run());
    EXPECT_EQ(0, port.last_count);
    EXPECT_EQ(std::chrono::milliseconds(10 * 20 + 2000), port.waited);
    EXPECT_EQ(
        (std::vector<std::string>{"baud 1200 purged", "prepare", "Binary download, please wait",
                                  "failed: no byte went out for 2 seconds", "baud 9600 purged"}),
        port.events);
}

TEST_F(BootstrapRun, FailuresAndDeclinedWarningsSendNothing) {
    EXPECT_STREQ("Can't find binary download file",
                 bootstrap_result_text(kBootstrapNoBootstrapper));
    BootstrapOptions none;
    EXPECT_EQ(kBootstrapNoBootstrapper, run_bootstrap(none, settings, port, port));
    options.load_application = true;
    EXPECT_EQ(kBootstrapNoApplication, run());

    options.load_application = false;
    options.offset = 0x1001; // one byte below the offset
    port.answer = false;
    EXPECT_EQ(kBootstrapDeclined, run());
    EXPECT_EQ(
        std::vector<std::string>{"WARNING: 1 bytes are omitted due to offset setting\rContinue?"},
        port.events);

    port.answer = true;
    options.bootstrapper_path = dir.write("bad.s19", "S1061000AABBCC00\nS6\n");
    options.size = 1;
    port.events.clear();
    EXPECT_EQ(kBootstrapCorruptBootstrapper, run()); // after both warnings
    EXPECT_EQ(2u, port.events.size());
    EXPECT_TRUE(port.sent.empty());

    options.bootstrapper_path = dir.write("good.s19", "S1051000AABB85\n");
    options.size = 0;
    port.failing_baud = 1200;
    EXPECT_EQ(kBootstrapCantSetParameters, run());
    EXPECT_TRUE(port.sent.empty());
}

} // namespace
} // namespace torva
