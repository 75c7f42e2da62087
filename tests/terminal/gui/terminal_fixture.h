// Terminal window tests over the whole program's wiring (a student
// session): opening a terminal through the frame's command, letting the
// program run until something shows, and the grid as text.
#pragma once

#include "shell/command_ids.h"
#include "sim/gui/simulator_child.h"
#include "terminal/gui/terminal_window.h"

#include "support/student_session.h"

#include <QKeyEvent>

#include <chrono>
#include <functional>
#include <thread>

namespace torva::test {

class TerminalFixture : public ::testing::Test {
protected:
    // Opens the terminal on the port through the frame's command.
    TerminalWindow* open_terminal(int port) {
        s.frame->dispatch(cmd::kOpenTerminal, port);
        return s.workbench.terminal_windows().window_on(port);
    }

    // Lets the program run (polls, queued writes, timers), with step in
    // between, until done says so or the time is up; gives done's answer.
    static bool run_until(const std::function<bool()>& done, int timeout_ms = 5000,
                          const std::function<void()>& step = {}) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            if (step) step();
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // The grid's rows as text, trailing blanks cut, one line each.
    static std::string screen(TerminalWindow& window) {
        std::string text;
        const TerminalGrid& grid = window.session().grid();
        for (int row = 0; row < grid.rows(); ++row) {
            std::string line(grid.row(row));
            line.erase(line.find_last_not_of(' ') + 1);
            text += line + "\n";
        }
        return text;
    }

    // Types the text into the widget as key presses, then Enter when asked.
    static void type(QWidget& widget, const std::string& text, bool enter = true) {
        for (const char c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(c)));
            QCoreApplication::sendEvent(&widget, &press);
        }
        if (!enter) return;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(&widget, &press);
    }

    static void close_window(QWidget& window) {
        window.parentWidget()->close();
        settle_events();
    }

    StudentSession s;
};

// A terminal linked to the simulated board, whose clock the test moves.
class SimulatedBoardTerminalFixture : public TerminalFixture {
protected:
    // One step of the world: 20 simulated milliseconds, then a terminal poll.
    void step(TerminalWindow& terminal) {
        now += 20'000'000;
        simulator->timer_tick();
        terminal.poll();
    }

    bool wait_for_text(TerminalWindow& terminal, const std::string& text, int timeout_ms = 8000) {
        return run_until([&] { return screen(terminal).find(text) != std::string::npos; },
                         timeout_ms, [&] { step(terminal); });
    }

    uint64_t now = 0;
    KivSimulatorChild* simulator = nullptr;
};

} // namespace torva::test
