#include "packages/SharedFileUsers.h"

#include "archive/Archive.h"
#include "backups/BackupStore.h"
#include "packages/FileRefCounts.h"
#include "platform/CaseFold.h"
#include "platform/FileSystem.h"

namespace wendmoor {

std::set<std::string> SharedFilesReplacedWithOtherBytes(const std::string& archivePath,
                                                        const PackagePlan& plan,
                                                        const FileSystem& fileSystem,
                                                        const FileRefCounts& fileRefs) {
    std::set<std::string> replaced;
    const std::unique_ptr<Archive> archive = Archive::Open(archivePath);
    if (!archive) return replaced;
    for (const PackagePlan::Step& step : plan.Steps()) {
        if (step.kind != PackagePlan::Step::Kind::File || !step.counted ||
            fileRefs.CountOf(step.target) == 0) {
            continue;
        }
        const ZipEntryRecord* record = archive->RecordFor(step.entry);
        std::optional<FileFingerprint> inPlace;
        if (record == nullptr || !FingerprintFile(fileSystem.Resolve(step.target), inPlace).Ok() ||
            !inPlace) {
            continue;
        }
        if (*inPlace != FileFingerprint{record->size, record->crc32}) {
            replaced.insert(FoldCase(step.target));
        }
    }
    return replaced;
}

bool PlanHoldsSharedFile(const PackagePlan& plan, const std::set<std::string>& keys) {
    for (const PackagePlan::Step& step : plan.Steps()) {
        if (step.kind == PackagePlan::Step::Kind::File && step.counted &&
            keys.count(FoldCase(step.target)) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace wendmoor
