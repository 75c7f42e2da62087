// The terminal window on a real serial line: a socat pseudo-terminal pair
// named in TORVA_SERIAL_PORTS. What the far end sends appears on the grid,
// typed keys arrive there, the settings dialog's baud rate reaches the
// port, logging writes the received bytes, the port's settings come back on
// reopening, and a download can be stopped but not closed.
#include "shell/command_ids.h"
#include "terminal/gui/serial_port_link.h"
#include "terminal/gui/serial_settings_dialog.h"
#include "terminal/port_configuration.h"
#include "terminal/terminal_commands.h"

#include "support/screenshot.h"
#include "support/socat_pair.h"
#include "support/tool_process.h"
#include "terminal_fixture.h"

#include <QAbstractButton>
#include <QMouseEvent>

#include <cstdlib>
#include <termios.h>

namespace torva::test {
namespace {

// A load file of 40 data records and the end record: long enough that a
// download is still running while a test looks at it.
std::string forty_one_lines() {
    std::string file;
    for (int i = 0; i < 40; ++i)
        file += "S1131000000102030405060708090A0B0C0D0E0F64\n";
    return file + "S9031000EC\n";
}

void click(SerialSettingsDialog& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dialog.control(id));
    ASSERT_NE(nullptr, button) << id;
    button->click();
}

class TerminalWindowTest : public TerminalFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(pair.ready());
        setenv("TORVA_SERIAL_PORTS", pair.near_path().c_str(), 1);
        for (const SerialPortEntry& entry : serial_port_table())
            if (entry.location == pair.near_path()) port = entry.number;
        ASSERT_GE(port, 0);
        TerminalFixture::SetUp();
        window = open_terminal(port);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override {
        TerminalFixture::TearDown();
        unsetenv("TORVA_SERIAL_PORTS");
    }

    // What arrives at the far end while the program runs (queued writes go
    // out from the event loop).
    std::string far_end(size_t count, int timeout_ms = 2000) {
        std::string got;
        run_until(
            [&] {
                got += pair.receive(count - got.size(), 1);
                return got.size() >= count;
            },
            timeout_ms);
        return got;
    }

    SocatPair pair;
    int port = -1;
    TerminalWindow* window = nullptr; // on the pair's near end
};

TEST_F(TerminalWindowTest, shows_what_arrives_and_sends_what_is_typed) {
    EXPECT_EQ("(" + pair.near_path() + ":9600,N,8,1)", window->windowTitle().toStdString());

    pair.send("RT12 Monitor 1.0\r\n> md 1000\r\n"
              "1000: CF 3C 80 CE 10 2E 07 0A 07 04 0A 27 FC 96 CF\r\n"
              "1010: 20 F9 85 20 7F CF 3D 0D C8 4F CC 80 FC 5A CF\r\n> ");
    ASSERT_TRUE(run_until([&] { return screen(*window).find("\n>\n") != std::string::npos; }))
        << screen(*window);
    EXPECT_EQ(0, screen(*window).find("RT12 Monitor 1.0\n> md 1000\n1000: CF 3C"));

    window->setFocus();
    type(*window, "rd");
    EXPECT_EQ("rd\r", far_end(3)); // Enter sends a carriage return

    pair.send("rd\r\nPC=1000 SP=3C80 X=0000 Y=0000 A=00 B=00 CCR=D0\r\n> ");
    ASSERT_TRUE(run_until([&] { return screen(*window).find("CCR=D0") != std::string::npos; }));
    s.frame->activate_child(window);
    QCoreApplication::processEvents();
    EXPECT_TRUE(save_screenshot(*s.frame, "terminal.png"));
}

TEST_F(TerminalWindowTest, a_port_that_cannot_be_opened_gives_no_window_and_says_why) {
    // One window per port: opening it again brings the first to the front.
    s.frame->dispatch(cmd::kOpenTerminal, port);
    EXPECT_EQ(1u, s.workbench.terminal_windows().windows().size());

    setenv("TORVA_SERIAL_PORTS", (pair.near_path() + ":/dev/torva-no-such-port").c_str(), 1);
    EXPECT_EQ(nullptr, open_terminal(port + 1));
    EXPECT_TRUE(
        s.frame->status_text().startsWith(QStringLiteral("Can't open /dev/torva-no-such-port: ")))
        << s.frame->status_text().toStdString();
    EXPECT_TRUE(s.messages.shown.empty());
}

TEST_F(TerminalWindowTest, settings_dialog_reconfigures_the_port_and_reopening_restores_it) {
    s.dialogs.while_open = [&](QDialog& dialog) {
        auto& settings = dynamic_cast<SerialSettingsDialog&>(dialog);
        EXPECT_EQ("Terminal Preferences", settings.windowTitle().toStdString());
        settings.set_colour_chooser([](QWidget*, RgbColour) { return rgb(255, 255, 160); });
        click(settings, 2018); // background colour
        click(settings, 2008); // 19200 baud
        click(settings, 2020); // <Enter> -> NL
        settings.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(save_screenshot(settings, "terminal_settings.png"));
    };
    window->handle_command(terminal_cmd::kSettings, 0);
    EXPECT_EQ(std::vector<std::string>{"SETUPSERIAL"}, s.dialogs.modal_dialogs);

    termios line{};
    auto& link = dynamic_cast<SerialPortLink&>(window->link());
    ASSERT_EQ(0, tcgetattr(link.port().handle(), &line));
    EXPECT_EQ(B19200, cfgetospeed(&line));
    EXPECT_EQ("(" + pair.near_path() + ":19200,N,8,1)", window->windowTitle().toStdString());
    EXPECT_EQ(rgb(255, 255, 160), window->session().settings().background);
    type(*window, "");
    EXPECT_EQ("\n", far_end(1));

    // Closed and opened again, the port has its settings back (when it is
    // one of the first eight, as a test machine's pseudo-terminal is).
    close_window(*window);
    ASSERT_TRUE(s.workbench.terminal_windows().windows().empty());
    window = open_terminal(port);
    ASSERT_NE(nullptr, window);
    if (port < PortStore::kPorts) {
        EXPECT_EQ(19200u, window->session().settings().serial.baud);
        EXPECT_EQ(rgb(255, 255, 160), window->session().settings().background);
    }
}

TEST_F(TerminalWindowTest, bootstrap_command_opens_the_bootstrapper_with_its_stage_options) {
    s.dialogs.while_open = [&](QDialog& dialog) {
        if (dialog.objectName() == "BOOTSTRAPPER") {
            auto* options = qobject_cast<QAbstractButton*>(dialog.findChild<QWidget*>("id2012"));
            ASSERT_NE(nullptr, options);
            options->setEnabled(true);
            options->click();
            return;
        }
        click(dynamic_cast<SerialSettingsDialog&>(dialog), 2003); // 1200 baud for the bootstrapper
    };
    window->handle_command(terminal_cmd::kBootstrap, 0);
    EXPECT_EQ((std::vector<std::string>{"BOOTSTRAPPER", "SETUPSERIAL"}), s.dialogs.modal_dialogs);
    EXPECT_EQ(1200u, window->session().settings().bootstrap_serial.baud);
    EXPECT_EQ(9600u, window->session().settings().serial.baud);
    EXPECT_TRUE(window->session().settings_changed());
}

TEST_F(TerminalWindowTest, logging_writes_the_received_bytes_but_carriage_returns) {
    const std::filesystem::path old_dir = std::filesystem::current_path();
    std::filesystem::current_path(s.temp.path());
    window->run_menu_choice(terminal_cmd::kStartLogging);
    EXPECT_NE(std::string::npos,
              window->windowTitle().toStdString().find("  Terminal log= logfile.log"));
    pair.send("Loaded 42 bytes\r\n> ");
    ASSERT_TRUE(run_until([&] { return screen(*window).find("\n>") != std::string::npos; }));
    window->run_menu_choice(terminal_cmd::kStopLogging);
    EXPECT_EQ("Loaded 42 bytes\n> ", read_file(s.temp.path() / "logfile.log"));

    // A log that cannot be made (a directory in its place) is said so.
    std::filesystem::remove(s.temp.path() / "logfile.log");
    std::filesystem::create_directory(s.temp.path() / "logfile.log");
    window->run_menu_choice(terminal_cmd::kStartLogging);
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_EQ("Cannot create logfile", s.messages.shown.back().text);
    EXPECT_FALSE(window->session().logging());
    std::filesystem::current_path(old_dir);
}

TEST_F(TerminalWindowTest, a_download_refuses_to_close_and_stop_load_sends_the_stop_byte_last) {
    const std::string file = forty_one_lines();
    const std::string path = s.temp.write("long.s19", file);
    window->download(path);
    ASSERT_TRUE(window->session().download_in_progress());
    ASSERT_TRUE(run_until([&] {
        return s.frame->status_text().startsWith(QStringLiteral("Loading to target: line "));
    }));
    EXPECT_NE(std::string::npos, s.frame->status_text().toStdString().find(" of 41"));

    close_window(*window);
    ASSERT_EQ(1u, s.workbench.terminal_windows().windows().size());
    EXPECT_EQ("Download in progress, can't quit now", s.messages.shown.back().text);

    window->handle_command(terminal_cmd::kStopDownload, 0);
    ASSERT_TRUE(run_until([&] { return !window->session().download_in_progress(); }));
    const std::string rest = far_end(4096, 400);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ('\x04', rest.back()) << "no line after the stop byte";
    EXPECT_EQ(path, window->session().last_load_path());
    EXPECT_EQ("Ready", s.frame->status_text().toStdString());
}

// The far end holds the line (XOFF) during a download: the load ends with
// the port's failure and how far it got, not with "Ready"; typing is
// refused meanwhile and the window stays responsive; after XON what waited
// goes out and the status bar is idle again.
TEST_F(TerminalWindowTest, a_download_the_port_stops_ends_with_an_error_not_ready) {
    SerialSettings& serial = window->session().settings().serial;
    serial.flow_control = flow_control::kXonXoffTransmit;
    ASSERT_TRUE(configure_port(window->link(), serial).ok);
    pair.send("\x13"); // XOFF
    const std::string file = forty_one_lines();
    const std::string path = s.temp.write("held.s19", file);
    window->download(path);
    ASSERT_TRUE(window->session().download_in_progress());

    const std::string failure =
        "Can't write to " + pair.near_path() + ": no byte went out for 2 seconds";
    ASSERT_TRUE(run_until([&] { return !window->session().download_in_progress(); }, 8000));
    EXPECT_EQ(failure, s.frame->status_text().toStdString());
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_EQ(failure + "\nThe download stopped after 0 of 41 lines.",
              s.messages.shown.back().text);
    type(*window, "x", false);
    EXPECT_EQ(failure, s.frame->status_text().toStdString());
    s.frame->activate_child(window);
    QCoreApplication::processEvents();
    EXPECT_TRUE(save_screenshot(*s.frame, "terminal_write_failure.png"));

    pair.send("\x11"); // XON
    ASSERT_TRUE(run_until([&] { return s.frame->status_text() == QStringLiteral("Ready"); }));
    const std::string sent = far_end(2 + 43, 3000);
    EXPECT_EQ(("l\n" + file).substr(0, sent.size()), sent);
}

TEST_F(TerminalWindowTest, frame_load_reload_and_double_click_send_the_file) {
    const std::string good = "S1051000CF3CDF\nS9031000EC\n";
    const std::string path = s.temp.write("good.s19", good);
    auto loaded = [&] {
        EXPECT_EQ("l\n" + good, far_end(2 + good.size(), 3000));
        return run_until([&] { return !window->session().download_in_progress(); });
    };
    s.dialogs.answers.push_back(path);
    s.frame->dispatch(
        terminal_cmd::kDownload); // the frame's Load: the Load File dialog, then the window on top
    ASSERT_TRUE(loaded());
    window->run_menu_choice(terminal_cmd::kReload); // "Reload ( ... )"
    ASSERT_TRUE(loaded());
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &twice);
    ASSERT_TRUE(loaded());
}

TEST_F(TerminalWindowTest, the_window_holds_whole_cells_and_a_grid_too_large_is_refused) {
    // A size between whole cells shrinks to the cells.
    QWidget* sub = window->parentWidget();
    sub->resize(sub->size() + QSize(5, 21));
    settle_events();
    const int columns = window->session().grid().columns();
    const int rows = window->session().grid().rows();
    EXPECT_EQ(26, rows);
    EXPECT_EQ(QSize(columns * s.frame->fonts().char_width, rows * s.frame->fonts().line_height),
              window->size());

    window->resize(6000, 2100); // 750 columns x 128 rows
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_EQ("Not Enough Memory, operation aborted", s.messages.shown.back().text);
    EXPECT_EQ(columns, window->session().grid().columns());
    EXPECT_EQ(rows, window->session().grid().rows());
}

} // namespace
} // namespace torva::test
