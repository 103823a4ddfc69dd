// Reading a source whole through OpenSourceFile: the same on every system.
#include <algorithm>

#include "builder/platform.h"

namespace platform {

bool ReadSourceFile(const std::string& path, std::string& bytes, std::string& reason) {
    bytes.clear();
    std::unique_ptr<SourceFile> file = OpenSourceFile(path, reason);
    if (!file)
        return false;
    if (file->size() > bytes.max_size() / 2) {
        reason = path + " 太大，装不进内存";
        return false;
    }
    // Read into exactly the size the file has: growing the buffer at the end would copy it and
    // for a moment hold the file twice. What a writer adds meanwhile is appended.
    bytes.resize(static_cast<size_t>(file->size()));
    size_t done = 0;
    for (;;) {
        char more[65536];
        const bool into_buffer = done < bytes.size();
        char* into = into_buffer ? bytes.data() + done : more;
        const size_t room = into_buffer ? bytes.size() - done : sizeof(more);
        size_t got = 0;
        if (!file->ReadAt(done, into, room, &got, reason)) {
            bytes.clear();
            return false;
        }
        if (got == 0)
            break;
        if (!into_buffer)
            bytes.append(more, got);
        done += got;
    }
    bytes.resize(done);
    return true;
}

}  // namespace platform
