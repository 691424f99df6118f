#include "foldertree/win32/volume_label.h"

#include <windows.h>

namespace ordinalette::foldertree {

std::string volumeLabel(const std::string& driveName) {
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    char label[MAX_PATH + 1] = {};
    const std::string root = driveName + "\\";
    const bool read = GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr,
                                            nullptr, nullptr, 0);
    SetErrorMode(previous);
    return read ? std::string(label) : std::string();
}

} // namespace ordinalette::foldertree
