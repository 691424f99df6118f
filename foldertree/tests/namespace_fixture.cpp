#include "foldertree/tests/namespace_fixture.h"

namespace ordinalette::foldertree::testing {

NamespaceFixture::NamespaceFixture(platform::FileSystem& fileSystem) {
    m_dir.makeDir("c/home/me/Desktop");
    m_dir.makeDir("d");
    m_dir.makeDir("net");
    m_dir.makeDir("trash");
    writeMountTable();
    m_namespace = std::make_shared<LinuxShellNamespace>(
        NamespaceRoots{desktop(), m_dir / "mountinfo", m_dir / "trash", m_dir.path(),
                       m_dir / "by-label"},
        platform::CodePage::utf8(), fileSystem);
}

std::string NamespaceFixture::mountLine(const std::string& mountPoint, const std::string& fsType,
                                        const std::string& source) {
    return "30 1 8:1 / " + mountPoint + " rw,relatime shared:1 - " + fsType + " " + source +
           " rw\n";
}

void NamespaceFixture::writeMountTable(const std::string& extraLines) const {
    m_dir.writeFile("mountinfo", mountLine("/proc", "proc", "proc") +
                                     mountLine(drive("c"), "ext4") + mountLine(drive("d"), "ext4") +
                                     mountLine(drive("net"), "nfs", "server:/export") + extraLines);
    if (m_namespace)
        m_namespace->mountTableChanged();
}

} // namespace ordinalette::foldertree::testing
