// Whole-file writes through QSaveFile, with the system's reason on failure.
#include "editor/safe_write.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <vector>

namespace torva {
namespace {

// An open that failed because the file (or, for a new file, its directory)
// may not be written, or because the name is a directory. A directory that
// does not exist is not write protection: the system's reason says more.
bool write_protected(const QString& path) {
    const QFileInfo file(path);
    if (file.exists()) return file.isDir() || !file.isWritable();
    const QFileInfo directory(file.absolutePath());
    return directory.exists() && !directory.isWritable();
}

WriteOutcome failed(WriteOutcome::Failure failure, const QFileDevice& file) {
    return {failure, file.errorString().toStdString()};
}

// Writes all of data; a write that takes fewer bytes is repeated for the
// rest, so the one that fails reports why.
bool write_all(QSaveFile& file, const char* data, qint64 size) {
    while (size > 0) {
        const qint64 written = file.write(data, size);
        if (written <= 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

WriteOutcome write_whole(const std::string& path, long length, long piece_bytes,
                         const PieceReader& read) {
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    // In a directory where no temporary file may be made, a file that may
    // itself be written is written in place.
    file.setDirectWriteFallback(true);
    // Unbuffered: each piece goes to the system at once, and a short write
    // is seen where it happens, not in commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return failed(write_protected(name) ? WriteOutcome::Failure::write_protected
                                            : WriteOutcome::Failure::system,
                      file);
    }
    std::vector<char> piece(static_cast<size_t>(std::min(length, piece_bytes)) + 1);
    for (long start = 0; start < length; start += piece_bytes) {
        const long end = std::min(length, start + piece_bytes);
        read(start, end, piece.data());
        if (!write_all(file, piece.data(), end - start)) {
            // Nothing replaces the file; the temporary one goes.
            const WriteOutcome outcome = failed(WriteOutcome::Failure::system, file);
            file.cancelWriting();
            return outcome;
        }
    }
    if (!file.commit()) return failed(WriteOutcome::Failure::system, file);
    return {};
}

WriteOutcome write_whole(const std::string& path, std::string_view bytes) {
    return write_whole(path, static_cast<long>(bytes.size()), kSavePieceBytes,
                       [bytes](long start, long end, char* into) {
                           std::memcpy(into, bytes.data() + start,
                                       static_cast<size_t>(end - start));
                       });
}

} // namespace torva
