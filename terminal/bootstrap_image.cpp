// Building the bootstrap image from an S-record file.
#include "terminal/bootstrap_image.h"

#include "records/srecord_fields.h"
#include "records/text_lines.h"

#include <algorithm>
#include <string>

namespace torva {
namespace {

enum class LineRole { kSkip, kData, kStop, kCorrupt };

LineRole role_of(const SrecordFields& fields) {
    using Kind = SrecordFields::Kind;
    if (fields.kind == Kind::kBlank) return LineRole::kSkip;
    if (fields.kind == Kind::kMalformed) return LineRole::kCorrupt;
    switch (fields.type) {
    case '0': return LineRole::kSkip;
    case '1':
    case '2':
    case '3': return fields.address ? LineRole::kData : LineRole::kCorrupt;
    case '7':
    case '8':
    case '9':
    case 'X': return LineRole::kStop;
    default: return LineRole::kCorrupt;
    }
}

} // namespace

BootstrapImage build_bootstrap_image(std::istream& file, uint32_t size, int32_t offset) {
    BootstrapImage image;
    // Places at or beyond the limit are counted as omitted by size.
    const int64_t limit = size == 0 ? kBootstrapImageSize : std::min(size, kBootstrapImageSize);
    std::vector<uint8_t> places(size_t(limit), 0);

    LineReader reader(file, kMaxRecordLine);
    std::string line;
    bool stop = false;
    while (!stop && reader.next(line)) {
        const SrecordFields fields = srecord_fields(line);
        switch (reader.cut() ? LineRole::kCorrupt : role_of(fields)) {
        case LineRole::kSkip: continue;
        case LineRole::kStop: stop = true; continue;
        case LineRole::kCorrupt:
            // The counts of the whole file still go into the warnings.
            image.corrupt = true;
            continue;
        case LineRole::kData: break;
        }
        int64_t address = *fields.address;
        for (const uint8_t byte : fields.data) {
            ++image.total;
            const int64_t place = address++ - offset;
            // With a size the size is tested first, as the warnings count it.
            if (size != 0 && place >= int64_t(size))
                ++image.omitted_by_size;
            else if (place < 0)
                ++image.omitted_by_offset;
            else if (place >= limit)
                ++image.omitted_by_size;
            else
                places[size_t(place)] = byte;
        }
    }
    const int64_t count = size != 0 ? limit : std::min<int64_t>(image.total, limit);
    places.resize(size_t(count));
    image.bytes = std::move(places);
    return image;
}

} // namespace torva
