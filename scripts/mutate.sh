#!/usr/bin/env bash
# Applies one realistic mistake at a time to the code, rebuilds and runs the whole suite, which
# should notice it. Prints a table of killed and survived mutations and the kill rate. A
# developer's tool, not part of CI:
#
#   scripts/mutate.sh [build-folder [pattern]]
#
# The build folder is "build" by default, configured as in the README; a pattern (an extended
# regular expression) runs only the mutations whose line matches it, "src/cli/" for example.
#
# Each mutation is "file|search text|replacement"; "\|" stands for a "|" inside a field. The
# search text must occur exactly once in the file: otherwise the mutation is "not applicable"
# (the code moved on and the list needs updating), and so is a mutation that does not build,
# which no test had to catch. The suite stops at its first failure, so a killed mutation costs
# little. The file is copied aside and put back after each run, also when the script is
# interrupted, so the tree is never left mutated.
#
# A folder that must refuse writes is made read-only, or immutable when the suite runs as the
# superuser (FailingDiskTest's LockedFolder), so the mutations of a lost delete error are killed
# for every user on a file system that has the immutable flag.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
pattern="${2:-}"
cd "$root"

mutations=(
# platform: paths, case folding, files, locks, processes, settings files
"src/platform/Path.h|c <= 'Z' ?|c < 'Z' ?"
"src/platform/CaseFold.cpp|AppendUtf8(folded, FoldCodePoint(codePoint));|AppendUtf8(folded, codePoint);"
"src/platform/FileSystem.cpp|if (::unlink(resolved.c_str()) != 0) return Outcome::SystemError(resolved, errno);|(void)::unlink(resolved.c_str());"
"src/platform/FileSystem.cpp|                folder.byLowerName.erase(found);|                (void)found;"
"src/platform/FileSystem.cpp|error == ENOTEMPTY \|\| error == EEXIST \|\| error == ENOENT) return {};|error == ENOTEMPTY \|\| error == EEXIST \|\| error == ENOENT) return Outcome::SystemError(resolved, error);"
"src/platform/PackageLock.cpp|const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;|const int operation = LOCK_SH;"
"src/platform/PackageLock.cpp|if (::flock(folder.fd, keepWaiting ? operation \| LOCK_NB : operation) == 0) {|if (true) {"
"src/platform/ProgramFolders.cpp|S_ISREG(info.st_mode)|true"
"src/platform/LauncherProcess.cpp|if (WIFEXITED(status)) {|if (true) {"
"src/platform/Collation.cpp|folded += Folded(character);|folded += static_cast<wchar_t>(character);"
"src/platform/IniSettingsStore.cpp|general = AsciiLower(Trimmed(section, \" \\t\\r\\n\\v\\f\")) == \"general\";|general = true;"
"src/platform/IniSettingsStore.cpp|data.erase(it->start, PhysicalLineEnd(data, it->end) - it->start);|(void)0;"
"src/platform/IniValue.cpp|out += unit <= 0xff ?|out += unit < 0xff ?"
# settings
"src/settings/GamePaths.cpp|value.size() > kMaxStoredPathLength) {|value.size() >= kMaxStoredPathLength) {"
"src/settings/GamePaths.cpp|value.resize(value.find('\\0') == std::string::npos ? value.size() : value.find('\\0'));|(void)0;"
# archive reading and stored names
"src/archive/Archive.cpp|if (copied.crc32 != record->crc32)|if (false)"
"src/archive/EntryReader.cpp|Le32(local) != kLocalSignature \|\| dataEnd > record.dataLimit)|Le32(local) != kLocalSignature)"
"src/archive/EntryReader.cpp|return deflated_ ? Inflate(bytes, size, got) : ReadStored(bytes, size, got);|return deflated_ ? Inflate(bytes, size / 2 + 1, got) : ReadStored(bytes, size, got);"
"src/archive/ZipDirectory.cpp|Le32(&tail[*endAt - kZip64LocatorSize]) == kZip64LocatorSignature|false"
"src/archive/EntryNameDecoding.cpp|if (Le32(data + 1) != storedCrc) return std::nullopt;|(void)storedCrc;"
"src/archive/StoredName.cpp|base.size() > kMaxStoredNameLength|base.size() > kMaxStoredNameLength + 1"
# packages: extraction checks
"src/packages/ExtractionCheck.cpp|device.needed += (record->size + kBlockSize - 1) / kBlockSize * kBlockSize;|device.needed += record->size;"
"src/packages/ExtractionCheck.cpp|return record.size > MaxInflatedSize(record.compressedSize);|return record.size > MaxInflatedSize(record.compressedSize) + 1;"
"src/packages/ExtractionCheck.cpp|if (available && device.needed > *available) {|if (available && device.needed >= *available) {"
# the games' rules, plans on disk and counts
"src/games/MapSavePackages.cpp|for (const std::string& save : entries.saves) plan.File(savesFolder, save, false);|for (const std::string& save : entries.saves) plan.File(mapsFolder, save, false);"
"src/games/ZeusPackages.cpp|} else if (extension == \".set\" \|\| extension == \".map\") {|} else if (extension == \".map\") {"
"src/games/EmperorPackages.cpp|if (!maps[i].starts_with(campaignName)) continue;|if (false) continue;"
"src/games/EmperorPackages.cpp|plan.RemoveFolder(campaigns, campaignName);|(void)campaignName;"
"src/packages/PlanOnDisk.cpp|!fileSystem.FileExists(InstalledSpelling(step, fileSystem))) {|!fileSystem.FileExists(step.target)) {"
"src/games/PackagePlan.cpp|earlierFolders[step.target + kPathSeparator] = step.earlierTarget + kPathSeparator;|(void)0;"
"src/packages/PlanOnDisk.cpp|outcome.Merge(fileSystem.RemoveStaleTemporaryFiles(folder));|(void)folder;"
"src/packages/FileRefCounts.cpp|if (--found->second > 0) return {};|if (--found->second >= 0) return {};"
"src/packages/FileRefCounts.cpp|return ++counts_[FoldCase(path)];|return ++counts_[path];"
"src/packages/PackageSession.cpp|        Contains(lists_.installed, packageName) \|\||        true \|\|"
# backups: store, manifest, restore
"src/backups/BackupStore.cpp|if (current == unlessEqual) return {};|(void)current;"
"src/backups/BackupStore.cpp|if (!IsLeftByEndedProcess(entry.name)) return {};|(void)0;"
"src/backups/BackupManifest.cpp|if (line != kFirstLine) return std::nullopt;|(void)line;"
"src/backups/BackupManifest.cpp|                out += \"\\\\t\";|                out += \"\\t\";"
"src/backups/BackupRestore.cpp|const bool conflict = current && current != file.leftBehind;|const bool conflict = false;"
"src/backups/BackupRestore.cpp|            result.outcome.Add(conflict, kConflictReason);|            (void)conflict;"
"src/backups/BackupRestore.cpp|if (part.empty() \|\| part == \".\" \|\| part == \"..\") return false;|if (part.empty() \|\| part == \".\") return false;"
"src/backups/BackupRestore.cpp|if (fileSystem.IsSymbolicLink(packageFolder)) {|if (false) {"
"src/backups/BackupRestore.cpp|if (current == file.bytes) continue;  // back already|(void)0;"
# finder
"src/finder/FolderFill.cpp|if (!value.empty()) return;|(void)0;"
"src/finder/FolderFill.cpp|if (row.candidates.size() == 1) {|if (!row.candidates.empty()) {"
"src/finder/SteamLibraries.cpp|if ((depth == 2 && token.text == \"path\") \|\| (depth == 1 && IsNumber(token.text))) {|if (depth == 2 && token.text == \"path\") {"
"src/finder/GameFinder.cpp|if (lower == \"windows\") continue;|if (lower == \"system32\") continue;"
"src/finder/GameFinder.cpp|if (down == depth) continue;|if (down > depth) continue;"
# the command-line tool
"src/cli/CliCommands.cpp|    if (!Contains(source, name)) {|    if (!Contains(session.Lists().installed, name) && !Contains(session.Lists().available, name)) {"
"src/cli/CliCommands.cpp|return session.Lists().unreadable.Ok() ? kExitSuccess|return true ? kExitSuccess"
"src/cli/CliProgram.cpp|    if (!out) {|    if (false) {"
"src/cli/CliBackups.cpp|return outcome.Ok() ? kExitSuccess : kExitFailure;|return kExitSuccess;"
"src/cli/CliAdd.cpp|return allAdded && allInstalled ? kExitSuccess : kExitFailure;|return allInstalled ? kExitSuccess : kExitFailure;"
"src/cli/CliArguments.cpp|if (operands.size() > 2) return \"too many arguments for \" + name;|(void)0;"
"src/cli/CliText.cpp|out += kDigits[c & 15];|out += kDigits[c >> 4];"
# the window layer
"src/ui/BackupsList.cpp|        result = restore_(name, true);|        (void)0;"
"src/ui/MainWindowState.cpp|command.Install() ? PackageList::Installed : PackageList::Available;|command.Install() ? PackageList::Available : PackageList::Installed;"
"src/ui/PackageAdding.cpp|report.added = report.added \|\| result.done == AddResult::Done::Copied;|report.added = result.done == AddResult::Done::Copied;"
"src/ui/OptionsState.cpp|if (folder.size() <= kMaxStoredPathLength) {|if (folder.size() < kMaxStoredPathLength) {"
)

backup="$(mktemp -d)"
current=""
restore() {
    if [[ -n "$current" && -f "$backup/file" ]]; then
        # A fresh modification time, so that the build notices the file changed back.
        cp "$backup/file" "$root/$current"
        touch "$root/$current"
        current=""
    fi
}
trap 'restore; rm -rf "$backup"' EXIT
trap 'echo "interrupted: $current restored" >&2; exit 130' INT TERM

if ! cmake --build "$build" -j 2 >/dev/null; then
    echo "the unmutated tree does not build in $build" >&2
    exit 2
fi
if ! ctest --test-dir "$build" -j 2 >/dev/null 2>&1; then
    echo "the unmutated suite fails in $build: fix that first" >&2
    exit 2
fi

killed=0
survived=0
skipped=0
printf '%-4s %-10s %s\n' "#" "result" "mutation"
number=0
for line in "${mutations[@]}"; do
    number=$((number + 1))
    if [[ -n "$pattern" ]] && ! grep -qE -- "$pattern" <<<"$line"; then continue; fi
    IFS=$'\x1f' read -r file search replacement \
        <<<"$(printf '%s' "$line" | sed 's/\\|/\x1e/g; s/|/\x1f/; s/|/\x1f/' | tr '\036' '|')"
    label="$file: $search -> $replacement"
    count=$(python3 -c 'import sys; print(open(sys.argv[1]).read().count(sys.argv[2]))' \
        "$file" "$search" 2>/dev/null || echo 0)
    if [[ "$count" != 1 ]]; then
        printf '%-4s %-10s %s\n' "$number" "n/a" "$label [found $count times]"
        skipped=$((skipped + 1))
        continue
    fi
    cp -p "$file" "$backup/file"
    current="$file"
    python3 -c 'import sys
p, a, b = sys.argv[1:]
s = open(p).read()
open(p, "w").write(s.replace(a, b, 1))' "$file" "$search" "$replacement"

    result="survived"
    why=""
    if ! cmake --build "$build" -j 2 >/dev/null 2>&1; then
        result="n/a"
        why=" [does not build]"
    elif ! ctest --test-dir "$build" -j 2 --stop-on-failure >"$backup/ctest.log" 2>&1; then
        result="killed"
        why=" [$(grep -m1 -E '\*\*\*Failed|\*\*\*Timeout|\*\*\*Exception|Failed  ' "$backup/ctest.log" |
            sed 's/^.*Test *#[0-9]*: //; s/ \.\.\..*//')]"
    fi
    restore
    case "$result" in
        killed) killed=$((killed + 1)) ;;
        survived) survived=$((survived + 1)) ;;
        *) skipped=$((skipped + 1)) ;;
    esac
    printf '%-4s %-10s %s%s\n' "$number" "$result" "$label" "$why"
done

cmake --build "$build" -j 2 >/dev/null 2>&1
total=$((killed + survived))
echo
echo "killed $killed of $total ($((total > 0 ? killed * 100 / total : 0))%), survived $survived, not applicable $skipped"
[[ $total -gt 0 && $((killed * 100)) -ge $((total * 90)) ]]
