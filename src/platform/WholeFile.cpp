#include "platform/WholeFile.h"

#include "platform/ReadOnlyFile.h"

namespace wendmoor {

WholeFileRead ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    ReadOnlyFile file;
    if (!file.Open(path).Ok()) {
        return file.LastFailure() == ReadOnlyFile::Failure::Missing ? WholeFileRead::kMissing
                                                                    : WholeFileRead::kFailed;
    }
    bytes.resize(static_cast<std::size_t>(file.Size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t got = 0;
        if (!file.ReadAt(done, bytes.data() + done, bytes.size() - done, got).Ok() || got == 0) {
            bytes.clear();
            return WholeFileRead::kFailed;
        }
        done += got;
    }
    return WholeFileRead::kRead;
}

}  // namespace wendmoor
