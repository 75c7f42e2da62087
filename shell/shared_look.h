// The fonts and brushes every window draws with, made once by the frame.
#pragma once

namespace torva {

struct SharedBrushes;
struct SharedFonts;

class SharedLook {
public:
    virtual ~SharedLook() = default;
    virtual const SharedFonts& fonts() const = 0;
    virtual const SharedBrushes& brushes() const = 0;
};

} // namespace torva
