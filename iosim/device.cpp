// Option, open state and change notification shared by all devices.
#include "iosim/device.h"

namespace torva {

void Device::set_option(int32_t option) {
    if (option == option_) return;
    option_ = option;
    changed();
}

void Device::user_close() {
    if (!open_) return;
    open_ = false;
    changed();
}

void Device::changed() {
    ++change_count_;
    if (listener_) listener_->device_changed(*this);
    if (on_change_) on_change_();
}

} // namespace torva
