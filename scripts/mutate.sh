#!/usr/bin/env bash
# Applies one realistic mistake at a time to the core, rebuilds incrementally and runs the
# tests that should notice it. Prints a table of killed and survived mutations and the kill
# rate. A developer's tool, not part of CI:
#
#   scripts/mutate.sh [build-folder]      (default: build, configured as in the README)
#
# Each mutation is "file|search text|replacement|test programs" (the programs that should
# notice it, separated by "|"; only they are rebuilt and run). The search text must occur
# exactly once in the file, otherwise the mutation is reported "not applicable" (the code moved
# on and the list needs updating) instead of counting as killed. The file is copied aside and
# put back after each run, also when the script is interrupted, so the tree is never left
# mutated.
#
# A folder that must refuse writes is made read-only, or immutable when the suite runs as the
# superuser (FailingDiskTest's LockedFolder), so the mutations of a lost delete error are killed
# for every user on a file system that has the immutable flag.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$root"

mutations=(
"src/archive/StoredName.cpp|base.size() > kMaxStoredNameLength|base.size() > kMaxStoredNameLength + 1|archive_tests"
"src/platform/Path.h|c <= 'Z' ?|c < 'Z' ?|archive_tests"
"src/options/OptionsDialog.cpp|folder.size() <= kMaxStoredPathLength|folder.size() < kMaxStoredPathLength|gui_tests"
"src/options/OptionsDialog.cpp|if (buffer != field) {|if (true) {|gui_tests"
"src/settings/GamePaths.cpp|value.size() > kMaxStoredPathLength) {|value.size() >= kMaxStoredPathLength) {|settings_store_tests"
"src/settings/GamePaths.cpp|value.resize(value.find('\\0') == std::string::npos ? value.size() : value.find('\\0'));|(void)0;|settings_store_tests"
"src/packages/FileRefCounts.cpp|if (--found->second > 0) return {};|if (--found->second >= 0) return {};|refcount_tests|mapsave_tests"
"src/packages/FileRefCounts.cpp|return ++counts_[FoldCase(path)];|return ++counts_[path];|refcount_tests|mapsave_tests"
"src/platform/CaseFold.cpp|AppendUtf8(folded, FoldCodePoint(*NextCodePoint(text, at)));|AppendUtf8(folded, *NextCodePoint(text, at));|platform_tests|refcount_tests"
"src/archive/EntryNameDecoding.cpp|if (Le32(data + 1) != storedCrc) return std::nullopt;|(void)storedCrc;|archive_tests"
"src/archive/Archive.cpp|if (record->nameUnreadable) {|if (false) {|archive_tests"
"src/packages/PlanOnDisk.cpp|!fileSystem.FileExists(InstalledSpelling(step, fileSystem))) {|!fileSystem.FileExists(step.target)) {|mapsave_tests"
"src/games/PackagePlan.cpp|earlierFolders[step.target + kPathSeparator] = step.earlierTarget + kPathSeparator;|(void)0;|zeus_tests"
"src/games/MapSavePackages.cpp|for (const std::string& save : entries.saves) plan.File(savesFolder, save, false);|for (const std::string& save : entries.saves) plan.File(mapsFolder, save, false);|mapsave_tests"
"src/archive/Archive.cpp|if (crc != record->crc32) return|if (false) return|archive_tests|hostile_tests"
"src/archive/EntryReader.cpp|Le32(local) != kLocalSignature \|\| dataEnd > record.dataLimit)|Le32(local) != kLocalSignature)|archive_tests|hostile_tests"
"src/archive/EntryReader.cpp|} else if (result != Z_OK) {|} else if (result != Z_OK) { break;|archive_tests|hostile_tests"
"src/archive/EntryReader.cpp|return deflated_ ? Inflate(bytes, size, got) : ReadStored(bytes, size, got);|return deflated_ ? Inflate(bytes, size / 2 + 1, got) : ReadStored(bytes, size, got);|archive_tests"
"src/archive/ZipDirectory.cpp|Le32(&tail[*endAt - kZip64LocatorSize]) == kZip64LocatorSignature|false|archive_tests|hostile_tests"
"src/platform/FileSystem.cpp|if (::unlink(resolved.c_str()) != 0) return Outcome::SystemError(resolved, errno);|(void)::unlink(resolved.c_str());|platform_tests|hostile_tests"
"src/platform/FileSystem.cpp|                folder.byLowerName.erase(found);|                (void)found;|platform_tests"
"src/platform/PackageLock.cpp|if (::flock(folder.fd, keepWaiting ? operation \| LOCK_NB : operation) == 0) {|if (true) {|platform_tests|cli_tests"
"src/packages/PlanOnDisk.cpp|outcome.Merge(fileSystem.RemoveStaleTemporaryFiles(folder));|(void)folder;|platform_tests|cli_tests"
"src/packages/PlanOnDisk.cpp|outcome.Merge(step.counted ? fileRefs.ReleaseFileRef(step.target, onDisk)|outcome.Merge(step.counted ? Outcome() : Outcome());(void)(step.counted ? fileRefs.ReleaseFileRef(step.target, onDisk)|mapsave_tests|hostile_tests"
"src/packages/PackageSession.cpp|const bool listed = Contains(lists_.installed, packageName) \|\||const bool listed = true \|\||mapsave_tests|zeus_tests|emperor_tests"
"src/platform/LauncherProcess.cpp|if (WIFEXITED(status)) {|if (true) {|launcher_tests"
"src/platform/IniLine.cpp|out += \"\\\\0\";|out += \"\\\\0\"; break;|settings_store_tests"
"src/platform/IniValue.cpp|for (; i < s.size() && DigitValue(s[i], base) >= 0; ++i) {|for (; i < s.size() && DigitValue(s[i], base) >= 0 && base == 8; ++i) {|settings_store_tests"
"src/platform/IniValue.cpp|out += unit <= 0xff ?|out += unit < 0xff ?|settings_store_tests"
"src/platform/IniSettingsStore.cpp|general = AsciiLower(Trimmed(section, \" \\t\\r\\n\\v\\f\")) == \"general\";|general = true;|settings_store_tests"
"src/platform/IniSettingsStore.cpp|data.erase(it->start, PhysicalLineEnd(data, it->end) - it->start);|(void)0;|settings_store_tests"
"src/platform/Collation.cpp|folded += Folded(character);|folded += static_cast<wchar_t>(character);|list_order_tests"
"src/platform/FileSystem.cpp|error == ENOTEMPTY \|\| error == EEXIST \|\| error == ENOENT) return {};|error == ENOTEMPTY \|\| error == EEXIST \|\| error == ENOENT) return Outcome::SystemError(resolved, error);|zeus_tests|emperor_tests"
"src/platform/PackageLock.cpp|const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;|const int operation = LOCK_SH;|platform_tests|cli_tests"
"src/platform/ProgramFolders.cpp|if (!dataFolder.empty() && IsFile(Join(dataFolder, name))) return dataFolder;|if (!dataFolder.empty()) return dataFolder;|platform_tests"
"src/platform/ProgramFolders.cpp|S_ISREG(info.st_mode)|true|platform_tests"
"src/app/MainDialogFinder.cpp|if (services_.dialogs.Run(question) != QDialog::Accepted) return kNoGame;|(void)services_.dialogs.Run(question);|gui_tests"
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
    # file|search|replacement|regex; "\|" stands for a "|" inside a field.
    IFS=$'\x1f' read -r file search replacement regex \
        <<<"$(printf '%s' "$line" | sed 's/\\|/\x1e/g; s/|/\x1f/; s/|/\x1f/; s/|/\x1f/' | tr '\036' '|')"
    label="$file: $search -> $replacement"
    count=$(python3 -c 'import sys; print(open(sys.argv[1]).read().count(sys.argv[2]))' \
        "$file" "$search" 2>/dev/null || echo 0)
    if [[ "$count" != 1 ]]; then
        printf '%-4s %-10s %s\n' "$number" "n/a" "$label (found $count times)"
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
    programs="${regex//|/ }"
    # shellcheck disable=SC2086  # one target per program
    if ! cmake --build "$build" -j 2 --target $programs >/dev/null 2>&1; then
        result="killed"
        why=" [does not build]"
    elif ! ctest --test-dir "$build" -j 2 -R "^(${regex})\\." >"$backup/ctest.log" 2>&1; then
        result="killed"
        why=" [$(grep -A1 'tests FAILED' "$backup/ctest.log" | tail -1 | sed 's/^[^-]*- //; s/ (.*//')]"
    fi
    restore
    if [[ "$result" == killed ]]; then killed=$((killed + 1)); else survived=$((survived + 1)); fi
    printf '%-4s %-10s %s%s\n' "$number" "$result" "$label" "$why"
done

cmake --build "$build" -j 2 >/dev/null 2>&1
total=$((killed + survived))
echo
echo "killed $killed of $total ($((total > 0 ? killed * 100 / total : 0))%), survived $survived, not applicable $skipped"
[[ $total -gt 0 && $((killed * 100)) -ge $((total * 90)) && $skipped -eq 0 ]]
