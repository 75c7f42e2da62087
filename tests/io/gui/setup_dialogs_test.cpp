#include "io/gui/target_setup_runner.h"

#include "io/board.h"
#include "iosim/devices/port_device.h"
#include "shell/fakes.h"
#include "support/screenshot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace torva {
namespace {

template <typename Widget>
Widget& control(QDialog& dialog, int id) {
    auto* widget = dialog.findChild<Widget*>(QStringLiteral("id%1").arg(id));
    EXPECT_NE(nullptr, widget) << "id" << id;
    return *widget;
}

std::string line(QDialog& dialog, int row) {
    return control<QListWidget>(dialog, 1103).item(row)->text().toStdString();
}

struct SetupDialogsTest : test::FrameFixture {
    Board board;
    int load_chains = 0;
    // The frame exists once the fixture is set up.
    bool run_setup() {
        TargetSetupRunner runner(*frame, frame->fonts().small, board.setup(), temp.path() / "bin",
                                 {[this] { ++load_chains; }});
        return runner.run();
    }
};

// The user picks the outport row, connects an InOutPort through the device
// selection dialog, and leaves with OK.
TEST_F(SetupDialogsTest, ConnectThroughTheDeviceSelectionThenOk) {
    dialogs.while_open = [this](QDialog& dialog) {
        if (dialog.objectName() == "IOSETUPDIALOG") {
            EXPECT_EQ("0400", control<QLineEdit>(dialog, 1202).text());
            EXPECT_TRUE(control<QLineEdit>(dialog, 1202).isReadOnly());
            auto& list = control<QListWidget>(dialog, 1201);
            ASSERT_EQ(4, list.count());
            EXPECT_EQ(0, list.currentRow()); // Select works at once
            list.setCurrentRow(2);           // 11 InOutPort
            dialog.show();
            EXPECT_TRUE(test::save_screenshot(dialog, "device_selection.png"));
            return;
        }
        ASSERT_EQ("RT12TARGETSETUP", dialog.objectName().toStdString());
        EXPECT_EQ("RT12 - with IO bus", control<QComboBox>(dialog, 1101).currentText());
        EXPECT_EQ("0400 No  Outport at 400", line(dialog, 0));
        auto& connect = control<QPushButton>(dialog, 1104);
        auto& disconnect = control<QPushButton>(dialog, 1105);
        EXPECT_FALSE(connect.isEnabled());
        EXPECT_FALSE(disconnect.isEnabled());
        control<QListWidget>(dialog, 1103).setCurrentRow(0);
        EXPECT_TRUE(connect.isEnabled());
        connect.click();
        EXPECT_EQ("0400 Yes Outport at 400", line(dialog, 0));
        EXPECT_EQ("0400 NA  Drill: Control at 400, status at 600", line(dialog, 2));
        EXPECT_TRUE(disconnect.isEnabled());
        control<QListWidget>(dialog, 1103).setCurrentRow(bus_row::kPrinter);
        connect.click();
        control<QListWidget>(dialog, 1103).setCurrentRow(bus_row::kKeyboardC00);
        control<QCheckBox>(dialog, 1102).setChecked(true);
        dialog.show();
        EXPECT_TRUE(test::save_screenshot(dialog, "target_setup.png"));
    };
    EXPECT_TRUE(run_setup()) << "the changed configuration is loaded afresh";
    EXPECT_EQ((std::vector<std::string>{"RT12TARGETSETUP", "IOSETUPDIALOG"}),
              dialogs.modal_dialogs);
    auto* port = dynamic_cast<PortDevice*>(board.device_at(0x400));
    ASSERT_NE(nullptr, port);
    EXPECT_EQ(DeviceType::kInOutPort, port->type());
    EXPECT_EQ(2u, board.setup().option_word()); // the box took effect on OK
    EXPECT_EQ(1, load_chains);
    EXPECT_FALSE(board.setup().connection_slots()[0].is_new);
}

// Cancel (or Escape) closes what was connected in the dialog and puts the
// board back.
TEST_F(SetupDialogsTest, CancelRollsBack) {
    dialogs.modal_answers = {QDialog::Rejected};
    dialogs.while_open = [](QDialog& dialog) {
        control<QComboBox>(dialog, 1101).activated(1);
        EXPECT_EQ(4, control<QListWidget>(dialog, 1103).count());
        control<QListWidget>(dialog, 1103).setCurrentRow(bare_row::kSerial0);
        control<QPushButton>(dialog, 1104).click();
        EXPECT_EQ("00C8 Yes SCI 0 Asynchronous Serial Interface", line(dialog, 0));
    };
    EXPECT_FALSE(run_setup());
    EXPECT_EQ(0u, board.setup().option_word());
    EXPECT_TRUE(board.iosim().handles().empty());
    EXPECT_EQ(0, load_chains);
}

// Save As and Load ask for files by their titles and the descriptor filter,
// starting where the last one was chosen; each runs the load chain.
TEST_F(SetupDialogsTest, FileDialogsRememberTheirDirectory) {
    const std::string saved = (temp.path() / "lab.hc12sim").string();
    dialogs.answers = {saved, saved};
    dialogs.while_open = [](QDialog& dialog) {
        if (dialog.objectName() != "RT12TARGETSETUP") return;
        control<QListWidget>(dialog, 1103).setCurrentRow(bus_row::kDoor);
        control<QPushButton>(dialog, 1104).click();
        control<QPushButton>(dialog, 1107).click(); // Save As
        control<QPushButton>(dialog, 1106).click(); // Load
        EXPECT_EQ("0B00 Yes QX13 door simulator at B00", line(dialog, bus_row::kDoor));
        EXPECT_FALSE(control<QPushButton>(dialog, 1105).isEnabled());
    };
    run_setup();
    ASSERT_EQ(2u, dialogs.requests.size());
    const FileDialogRequest& save = dialogs.requests[0];
    EXPECT_EQ(FileDialogRequest::Mode::save, save.mode);
    EXPECT_EQ("Save Target Description File", save.title);
    EXPECT_TRUE(save.overwrite_prompt);
    EXPECT_EQ("", save.default_suffix);
    ASSERT_EQ(1u, save.filters.size());
    EXPECT_EQ("Target Descriptor", save.filters[0].first);
    EXPECT_EQ("*.hc12sim", save.filters[0].second);
    const FileDialogRequest& load = dialogs.requests[1];
    EXPECT_EQ(FileDialogRequest::Mode::open, load.mode);
    EXPECT_TRUE(load.must_exist);
    EXPECT_EQ(temp.path().string(), load.initial_dir);
    EXPECT_EQ(2, load_chains);
    EXPECT_EQ("lab", board.setup().descriptor_display_name());
}

} // namespace
} // namespace torva
