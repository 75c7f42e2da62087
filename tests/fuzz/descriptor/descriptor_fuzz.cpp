// Feeds arbitrary bytes to the target descriptor reader on a fresh board:
// whatever the text, devices open and bind only within the tables and slots.
#include "io/board.h"
#include "io/descriptor_file.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One board for all inputs, set back to the bus board without devices
    // before each: building a board for every input would cost more than
    // reading the text.
    static torva::Board board([](std::string_view) {});
    board.setup().set_option_word(0);
    torva::apply_descriptor_text(board.setup(),
                                 std::string_view(reinterpret_cast<const char*>(data), size));
    board.setup().close_all();
    return 0;
}
