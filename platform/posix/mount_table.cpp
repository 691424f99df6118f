#include "platform/mount_table.h"

#include "platform/debug_log.h"
#include "platform/posix/dir_stream.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <limits.h>
#include <stdlib.h>

namespace ordinalette::platform {

namespace {

// The kernel writes space, tab, newline and backslash in paths as "\ooo" octal escapes.
std::string unescapeOctal(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// udev writes unsafe bytes of labels as "\xHH".
std::string unescapeHex(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find(' ', start), line.size());
        fields.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

std::optional<MountEntry> parseLine(std::string_view line) {
    const auto fields = splitFields(line);
    // id, parent, major:minor, root, mount point, options, optional fields..., "-", type, source
    const auto separator = std::find(fields.begin(), fields.end(), std::string_view("-"));
    if (fields.size() < 7 || separator - fields.begin() < 6 || fields.end() - separator < 3)
        return std::nullopt;
    MountEntry entry{unescapeOctal(fields[4]), unescapeOctal(separator[1]),
                     unescapeOctal(separator[2])};
    if (entry.mountPoint.empty() || entry.mountPoint.front() != '/')
        return std::nullopt;
    return entry;
}

bool isUnder(std::string_view path, std::string_view folder) {
    return path == folder ||
           (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
            (folder == "/" || path[folder.size()] == '/'));
}

std::string canonical(const std::string& path) {
    std::array<char, PATH_MAX> buffer{};
    return realpath(path.c_str(), buffer.data()) ? std::string(buffer.data()) : std::string();
}

} // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        if (auto entry = parseLine(text.substr(pos, end - pos))) {
            // A later mount on the same point hides the earlier one.
            std::erase_if(entries,
                          [&](const MountEntry& e) { return e.mountPoint == entry->mountPoint; });
            entries.push_back(std::move(*entry));
        }
        pos = end + 1;
    }
    return entries;
}

std::optional<std::vector<MountEntry>> readMountTable(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseMountInfo(text);
}

bool isNetworkFileSystem(std::string_view fsType) {
    static constexpr std::array<std::string_view, 8> kNetwork = {"nfs",   "nfs4",  "cifs", "smb3",
                                                                 "smbfs", "sshfs", "9p",   "afs"};
    return std::find(kNetwork.begin(), kNetwork.end(), fsType) != kNetwork.end() ||
           fsType.starts_with("fuse.");
}

bool isUserVisibleMount(const MountEntry& entry) {
    static constexpr std::array<std::string_view, 24> kPseudo = {
        "proc",     "sysfs",      "devtmpfs",  "devpts",          "cgroup",      "cgroup2",
        "mqueue",   "debugfs",    "tracefs",   "securityfs",      "pstore",      "bpf",
        "configfs", "fusectl",    "hugetlbfs", "autofs",          "binfmt_misc", "efivarfs",
        "nsfs",     "rpc_pipefs", "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal", "squashfs"};
    if (std::find(kPseudo.begin(), kPseudo.end(), entry.fsType) != kPseudo.end())
        return false;
    static constexpr std::array<std::string_view, 5> kSystemTrees = {"/proc", "/sys", "/dev",
                                                                     "/run", "/snap"};
    for (const auto tree : kSystemTrees) {
        if (isUnder(entry.mountPoint, tree) && !isUnder(entry.mountPoint, "/run/media"))
            return false;
    }
    return true;
}

std::string volumeRootAmong(std::string_view path, const std::vector<std::string>& mountPoints) {
    std::string best;
    for (const auto& mountPoint : mountPoints) {
        if (isUnder(path, mountPoint) && (best.empty() || mountPoint.size() > best.size()))
            best = mountPoint;
    }
    return best;
}

std::vector<MountEntry> readUserVisibleMounts(const std::string& mountTable) {
    auto table = readMountTable(mountTable);
    if (!table) {
        logFailure("cannot read the mount table", mountTable, errno);
        return {};
    }
    std::erase_if(*table, [](const MountEntry& entry) { return !isUserVisibleMount(entry); });
    return std::move(*table);
}

std::string volumeLabel(const std::string& device) {
    const std::string target = canonical(device);
    if (target.empty())
        return {};
    const std::string folder = "/dev/disk/by-label";
    const DirStream dir = openDirStream(folder);
    if (!dir)
        return {};
    std::string label;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && canonical(folder + "/" + name) == target) {
            label = unescapeHex(name);
            break;
        }
    }
    return label;
}

} // namespace ordinalette::platform
