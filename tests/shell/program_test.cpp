// The real program under a virtual X display: it shows its frame and ends
// cleanly on Exit (TORVA_EXIT_AFTER_SHOW sends Exit once the frame is shown;
// TORVA_SCREENSHOT keeps a picture of the screen in build/screenshots/).
#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace torva::test {
namespace {

TEST(ProgramTest, starts_shows_its_frame_and_exits_on_exit) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run is not installed";
    const char* build = std::getenv("TORVA_BUILD_DIR");
    const fs::path program = fs::path(build != nullptr ? build : ".") / "bin" / "torva6";
    ASSERT_TRUE(fs::exists(program)) << program;
    const TempDir home;
    const fs::path shots = fs::path(build != nullptr ? build : ".") / "screenshots";
    fs::create_directories(shots);
    const fs::path shot = shots / "program_start.png";
    fs::remove(shot);
    const std::string command =
        "env -u QT_QPA_PLATFORM HOME='" + home.path().string() + "' XDG_CONFIG_HOME='" +
        home.path().string() + "/config' TORVA_EXIT_AFTER_SHOW=1 TORVA_SCREENSHOT='" +
        shot.string() + "' timeout 60 xvfb-run -a -s '-screen 0 1280x900x24' '" + program.string() +
        "' 2>/dev/null";
    const auto [out, status] = run_command(command);
    EXPECT_EQ(0, status) << out;
    EXPECT_NE(std::string::npos, out.find("KivFrame shown: \"Vardel TORVA 6 for RT12\"")) << out;
    EXPECT_TRUE(fs::exists(shot)); // the screen with the frame and the splash
}

} // namespace
} // namespace torva::test
