// The program's composition root: creates the objects of the subsystems that
// plug into the frame (editor documents, the Assemble and Check Lab
// commands, the simulated board with its device windows and target setup,
// and the simulator and terminal windows as they come) and hands each the
// services it needs. No other folder reaches into its siblings to find them.
#pragma once

#include "app/source_debugger.h"
#include "app/source_keeping.h"
#include "app/source_marks.h"
#include "app/symbol_hover.h"
#include "editor/document_list.h"
#include "iosim/gui/device_windows.h"
#include "shell/assemble_command.h"
#include "shell/check_lab_command.h"
#include "shell/frame.h"
#include "sim/gui/simulator_windows.h"
#include "sim/gui/watch_window.h"
#include "sim/simulated_board.h"
#include "terminal/gui/terminal_windows.h"

namespace torva {

class Workbench {
public:
    Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // The services the frame is created with (messages and dialogs come
    // from the caller).
    FrameServices services(MessageService& messages, DialogService& dialogs);
    // Connects the pieces to the frame once it exists, before anything opens.
    void attach(KivFrame& frame);

    // The one simulated board of this run, shared by the simulator window,
    // the device windows and the simulated serial port.
    SimulatedBoard& simulated_board() { return simulated_; }
    // The simulator window's maker, with the hooks other windows fill.
    SimulatorWindows& simulator_windows() { return simulator_windows_; }
    // The windows of the board's devices, which come and go with them.
    DeviceWindows& device_windows() { return device_windows_; }
    // The terminal windows on serial ports and on the simulated board.
    TerminalWindows& terminal_windows() { return terminal_windows_; }
    // Breakpoints, runs and steps asked for from the source.
    SourceDebugger& source_debugger() { return source_debugger_; }
    // Debug > Watch: opens the Watch window, or brings it forward.
    WatchWindow* open_watch_window();

private:
    // Device windows over the frame, and the target setup behind the
    // simulator window's Simulator Setup.
    void attach_devices(KivFrame& frame);
    // The editor follows the simulator's halts in the source.
    void attach_source_marks();
    // A command of debugging in the source; false for any other id.
    bool source_command(int id);

    EditorDocuments documents_;
    AssembleCommand assembler_{&documents_};
    CheckLabCommand lab_checker_{&documents_};
    KivFrame* frame_ = nullptr;
    SimulatedBoard simulated_;
    SimulatorWindows simulator_windows_{simulated_.simulator()};
    DeviceWindows device_windows_{simulated_.board().iosim()};
    TerminalWindows terminal_windows_{simulated_.board()};
    SourceMarks source_marks_{simulated_.simulator(), documents_};
    SourceDebugger source_debugger_{simulated_.simulator(), documents_, source_marks_};
    SourceKeeping source_keeping_{simulated_.simulator(), source_marks_};
    SymbolHover symbol_hover_{simulated_.simulator(), documents_, source_marks_};
    QPointer<WatchWindow> watch_window_;
};

} // namespace torva
