#include "ui/PackageAdding.h"

#include <cctype>

#include "ui/WindowTexts.h"

namespace wendmoor {

AddReport AddPackages(FileSystem& fileSystem, const GameDescription& game, const GamePaths& paths,
                      const std::vector<std::string>& files, const KeepBothQuestion& keepBoth,
                      const std::function<void(const std::string&)>& adding) {
    AddReport report;
    std::vector<std::string> notAdded;
    for (const std::string& file : files) {
        if (adding) adding(file);
        const AddResult result = AddPackageFile(fileSystem, game, paths, file, keepBoth);
        report.added = report.added || result.done == AddResult::Done::Copied;
        for (const std::string& line : result.outcome.Lines()) notAdded.push_back(line);
    }
    if (!notAdded.empty()) report.message = NotAddedText(notAdded);
    return report;
}

std::vector<std::string> LocalFilesOfUrls(const std::vector<std::string>& urls) {
    std::vector<std::string> files;
    for (const std::string& url : urls) {
        if (url.rfind("file://", 0) != 0) continue;
        const std::size_t pathStart = url.find('/', 7);
        const std::string host = url.substr(7, pathStart - 7);
        if (pathStart == std::string::npos || (!host.empty() && host != "localhost")) continue;
        std::string path;
        for (std::size_t i = pathStart; i < url.size(); ++i) {
            if (url[i] == '%' && i + 2 < url.size() &&
                std::isxdigit(static_cast<unsigned char>(url[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(url[i + 2]))) {
                path += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                path += url[i];
            }
        }
        files.push_back(path);
    }
    return files;
}

}  // namespace wendmoor
