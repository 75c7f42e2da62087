// The bootstrap dialog: its fields and enabling, Browse and Options, and
// whole bootstraps over a real port (a socat pseudo-terminal pair) checked
// byte for byte at the far end, with the questions, the prepare-target box
// and the result texts.
#include "terminal/gui/bootstrapper_dialog.h"

#include "records/srecord_writer.h"
#include "shell/fakes.h"
#include "support/screenshot.h"
#include "support/socat_pair.h"
#include "support/write_only_link.h"
#include "terminal/bootstrap_dialog_values.h"
#include "terminal/gui/serial_port_link.h"
#include "terminal/terminal_session.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace torva {
namespace {

using namespace bootstrap_dialog;

template <typename Widget>
Widget& control(BootstrapperDialog& dialog, int id) {
    auto* widget = qobject_cast<Widget*>(dialog.control(id));
    EXPECT_NE(nullptr, widget) << "id" << id;
    return *widget;
}

std::string text(BootstrapperDialog& dialog, int id) {
    if (auto* label = qobject_cast<QLabel*>(dialog.control(id))) return label->text().toStdString();
    return control<QLineEdit>(dialog, id).text().toStdString();
}

// One S1 record with its line end.
std::string s1(uint16_t address, const std::string& data) {
    return srecord_line('1', address,
                        {reinterpret_cast<const uint8_t*>(data.data()), data.size()}) +
           "\r\n";
}

std::string bytes_from(int first, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += char(first + i);
    return bytes;
}

// Keeps every byte written.
struct RecordingLink final : test::WriteOnlyLink {
    std::string written;
    size_t write(std::span<const uint8_t> bytes) override {
        written.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return bytes.size();
    }
    using SerialLink::write;
};

struct BootstrapperDialogTest : test::FrameFixture {
    TerminalSession session{SerialPortEntry{0, "/dev/ttyS0", "ttyS0", -1}, TerminalSettings{}};
    RecordingLink recorder;
    QWidget terminal;

    std::string file(const std::string& name, const std::string& content) {
        return temp.write(name, content);
    }
};

// The controls follow the logic; Browse and Options open their dialogs.
TEST_F(BootstrapperDialogTest, BrowseAndOptionsOpenTheirDialogs) {
    BootstrapperDialog dialog(*frame, session, recorder, &terminal, frame.get());
    auto& ok = control<QPushButton>(dialog, kStart);
    EXPECT_FALSE(ok.isEnabled());
    EXPECT_FALSE(control<QLineEdit>(dialog, kOtherSize).isEnabled());

    // Browse takes the "Load File" dialog's choice; a cancelled one keeps it.
    const std::string long_path =
        "/home/student/courses/microcontrollers/lab7/bootstrap/loader_v2.s19";
    dialogs.answers.push_back(long_path);
    control<QPushButton>(dialog, kBrowseBootstrapper).click();
    ASSERT_EQ(1u, dialogs.requests.size());
    EXPECT_EQ(long_path, session.bootstrap_options().bootstrapper_path);
    EXPECT_EQ("/hom....../.b7/bootstrap/loader_v2.s19", text(dialog, kBootstrapperPath));
    EXPECT_TRUE(ok.isEnabled());
    control<QPushButton>(dialog, kBrowseBootstrapper).click();
    EXPECT_EQ(long_path, session.bootstrap_options().bootstrapper_path);

    control<QCheckBox>(dialog, kLoadApplication).setChecked(true);
    EXPECT_TRUE(dialog.control(kBrowseApplication)->isEnabled());
    control<QRadioButton>(dialog, kSizeOther).click();
    EXPECT_TRUE(control<QLineEdit>(dialog, kOtherSize).isEnabled());

    // Options: the serial settings dialog over the stage's own settings,
    // with the stage's title; OK there marks the settings changed.
    std::vector<std::pair<SerialSettings*, std::string>> opened;
    bool answer = false;
    dialog.set_options_dialog([&](SerialSettings& settings, const QString& title) {
        opened.emplace_back(&settings, title.toStdString());
        return answer;
    });
    control<QPushButton>(dialog, kBootstrapperOptions).click();
    EXPECT_FALSE(session.settings_changed());
    answer = true;
    control<QPushButton>(dialog, kApplicationOptions).click();
    EXPECT_TRUE(session.settings_changed());
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ(&session.settings().bootstrap_serial, opened[0].first);
    EXPECT_EQ(&session.settings().application_serial, opened[1].first);
    EXPECT_EQ("Application download Preferences", opened[1].second);
}

// 200 data bytes from $0000; a size of 192 leaves 8 out. Answering the
// question No sends nothing, and the notice of the unreadable offset stays.
// A missing file's result text takes the stage field as well.
TEST_F(BootstrapperDialogTest, QuestionAnsweredNoSendsNothing) {
    std::string records;
    for (int at = 0; at < 200; at += 20)
        records += s1(uint16_t(at), bytes_from(at, 20));
    session.bootstrap_options().bootstrapper_path = file("boot.s19", records + "S9030000FC\r\n");
    BootstrapperDialog dialog(*frame, session, recorder, &terminal, frame.get());
    control<QRadioButton>(dialog, kSize192).click();
    control<QLineEdit>(dialog, kOffset).setText("12G4");
    messages.answers = {kBoxNo};
    control<QPushButton>(dialog, kStart).click();

    EXPECT_EQ(kBootstrapDeclined, dialog.last_result());
    EXPECT_EQ("", recorder.written);
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ("WARNING: 8 bytes are omitted due to size setting\nContinue?",
              messages.shown[0].text);
    EXPECT_EQ("Illegal offset, ignored", text(dialog, kProgressStage));
    // The unreadable offset was taken as 0, and shows so now.
    EXPECT_EQ("00", text(dialog, kOffset));
    EXPECT_TRUE(control<QPushButton>(dialog, kStart).isEnabled());
    EXPECT_TRUE(control<QPushButton>(dialog, kBrowseBootstrapper).isEnabled());

    // Any other result shows its text there too.
    session.bootstrap_options().bootstrapper_path = (temp.path() / "gone.s19").string();
    BootstrapperDialog again(*frame, session, recorder, &terminal, frame.get());
    control<QPushButton>(again, kStart).click();
    EXPECT_EQ(kBootstrapNoBootstrapper, again.last_result());
    EXPECT_EQ("Can't find binary download file", text(again, kProgressStage));
    EXPECT_EQ("", recorder.written);
}

// The whole bootstrap through the terminal's Bootstrap entry over a real
// port: the leading $FF, the 16 image bytes of a 20-byte file in address
// order (4 left out by the size, after the question), then the application
// as it stands with line feeds for its line ends, up to the "S" of its
// "SX" line; the port's settings follow the stages and come back.
TEST_F(BootstrapperDialogTest, BootstrapOverAPseudoTerminalArrivesByteForByte) {
    test::SocatPair pair;
    ASSERT_TRUE(pair.ready());
    std::string error;
    auto link = SerialPortLink::open(pair.near_path(), error);
    ASSERT_NE(nullptr, link) << error;

    const std::string image = bytes_from(0x80, 20);
    BootstrapOptions& o = session.bootstrap_options();
    o.bootstrapper_path =
        file("boot.s19", "S00600004844521B\r\n" + s1(0x0F00, image.substr(0, 12)) +
                             s1(0x0F0C, image.substr(12)) + "S9030000FC\r\n");
    const std::string application_lines =
        s1(0x1000, "\x86\x41\x3F") + s1(0x1003, "echo") + "SX0300001000EC\r\nS9030000FC\r\n";
    o.application_path = file("app.s19", application_lines);
    o.load_application = true;
    o.size = 16;
    o.offset = 0x0F00;
    o.leading_ff = true;
    o.application_delay = 30;
    session.settings().application_serial.baud = 38400;

    std::vector<std::string> titles;
    QObject::connect(&terminal, &QWidget::windowTitleChanged,
                     [&](const QString& title) { titles.push_back(title.toStdString()); });
    int polls = 0;
    messages.answers = {kBoxYes};
    dialogs.while_open = [&](QDialog& shown) {
        if (shown.objectName() == "SETUPSERIAL") {
            // The bootstrapper's Options: the settings dialog without its
            // terminal part; 19200 baud picked there.
            EXPECT_EQ("Binary download Preferences", shown.windowTitle().toStdString());
            EXPECT_FALSE(shown.findChild<QWidget*>("id2016")->isEnabled()); // load command
            shown.findChild<QRadioButton*>("id2008")->click();
            return;
        }
        ASSERT_EQ("BOOTSTRAPPER", shown.objectName().toStdString());
        auto& dialog = static_cast<BootstrapperDialog&>(shown);
        control<QPushButton>(dialog, kBootstrapperOptions).click();
        EXPECT_EQ(19200u, session.settings().bootstrap_serial.baud);
        EXPECT_EQ(38400u, session.settings().application_serial.baud);
        dialog.show();
        // Meanwhile the window keeps its events going; every control is off
        // and the dialog does not close.
        bool looked = false;
        QTimer::singleShot(100, &dialog, [&] {
            looked = true;
            EXPECT_TRUE(dialog.running());
            EXPECT_FALSE(dialog.control(kStart)->isEnabled());
            EXPECT_FALSE(dialog.control(kBrowseBootstrapper)->isEnabled());
            EXPECT_FALSE(dialog.close());
            EXPECT_TRUE(dialog.isVisible());
        });
        const auto start = std::chrono::steady_clock::now();
        control<QPushButton>(dialog, kStart).click();
        // 16 image bytes, 20 ms after each, and the 30 ms delay: a lower
        // bound only.
        EXPECT_GE(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(16 * 20 + 30));
        EXPECT_TRUE(looked);
        EXPECT_FALSE(dialog.running());
        EXPECT_EQ("", text(dialog, kProgressStage)); // success shows nothing
        EXPECT_EQ("Bytes transferred:", text(dialog, kProgressLabel));
        EXPECT_TRUE(test::save_screenshot(dialog, "bootstrapper.png"));
    };
    const int result = run_bootstrapper_dialog(terminal, *frame, session, *link, [&] { ++polls; });
    EXPECT_EQ(kBootstrapDone, result);

    std::string application;
    for (const char c : application_lines.substr(0, application_lines.find("SX") + 1))
        if (c != '\r') application += c;
    std::string expected(1, '\xFF');
    expected += image.substr(0, 16);
    expected += application;
    EXPECT_EQ(expected, pair.receive(expected.size() + 1, 1000));

    ASSERT_EQ(2u, messages.shown.size());
    EXPECT_EQ("WARNING: 4 bytes are omitted due to size setting\nContinue?",
              messages.shown[0].text);
    EXPECT_EQ("Bootstrapper", messages.shown[1].title);
    EXPECT_EQ("Prepare target for binary download\nthen press OK", messages.shown[1].text);
    EXPECT_GE(polls, 1);
    // Each stage's settings reached the port, the terminal's came back last.
    EXPECT_EQ((std::vector<std::string>{"(ttyS0:19200,N,8,1)", "(ttyS0:38400,N,8,1)",
                                        "(ttyS0:9600,N,8,1)"}),
              titles);
    EXPECT_EQ(9600, link->port().baudRate());
}

// A far end that answers and reads slowly: the bootstrapper answers its
// image at once, then the line stalls (the relay held) while the whole 4 KB
// application is sent and the stages change; the application then trickles
// through, and the far end answers once it has all of it. Every byte
// arrives, and both answers reach the terminal: a change of stage neither
// throws away what waits to be sent nor what the far end answered.
TEST_F(BootstrapperDialogTest, EveryByteArrivesAndTheAnswersStayWhenTheFarEndIsSlow) {
    test::SocatPair pair;
    ASSERT_TRUE(pair.ready());
    std::string error;
    auto link = SerialPortLink::open(pair.near_path(), error);
    ASSERT_NE(nullptr, link) << error;

    const std::string image = bytes_from(0x40, 16);
    std::string application;
    for (int at = 0; application.size() < 4096; at += 16) {
        std::string line = s1(uint16_t(0x1000 + at), bytes_from(at & 0x7F, 16));
        line.erase(line.size() - 2, 1); // the CR: line ends go as line feeds anyway
        application += line;
    }
    application.resize(4096 - 1);
    application += '\n';
    ASSERT_EQ(std::string::npos, application.find("SX"));
    BootstrapOptions& o = session.bootstrap_options();
    o.bootstrapper_path = file("boot.s19", s1(0x0F00, image) + "S9030000FC\r\n");
    o.application_path = file("app.s19", application);
    o.load_application = true;
    o.offset = 0x0F00;
    o.application_delay = 300;
    session.settings().application_serial.baud = 19200;

    std::atomic<bool> released = false;
    std::string image_seen, application_seen;
    std::thread far_end([&] {
        image_seen = pair.receive(image.size(), 5000);
        pair.send("BOOT OK\r\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pair.hold();
        while (!released)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        // A slow reader: 256 bytes at a time.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (application_seen.size() < application.size() &&
               std::chrono::steady_clock::now() < end) {
            application_seen += pair.receive(
                std::min<size_t>(256, application.size() - application_seen.size()), 50);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pair.send("Loaded " + std::to_string(application_seen.size()) + " bytes\r\n");
    });

    messages.answers = {kBoxYes};
    dialogs.while_open = [&](QDialog& shown) {
        control<QPushButton>(static_cast<BootstrapperDialog&>(shown), kStart).click();
    };
    const int result = run_bootstrapper_dialog(terminal, *frame, session, *link);
    pair.release();
    released = true;
    far_end.join();
    EXPECT_EQ(kBootstrapDone, result);
    EXPECT_EQ(image, image_seen);
    EXPECT_EQ(application, application_seen);

    std::string answers;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (answers.find("Loaded") == std::string::npos && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        uint8_t buffer[512];
        answers.append(reinterpret_cast<const char*>(buffer), link->read(buffer));
    }
    EXPECT_EQ("BOOT OK\r\nLoaded 4096 bytes\r\n", answers);
}

} // namespace
} // namespace torva
