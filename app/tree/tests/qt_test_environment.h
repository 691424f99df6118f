#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

namespace ordinalette::foldertree::testing {

// What a test process of the Qt layers needs before its application object exists: widgets
// without a display, unless a platform is asked for, and a private runtime folder where the
// session gives none (as in a CI container), where Qt would otherwise warn on every start.
// Lives as long as the test process.
class QtTestEnvironment {
public:
    QtTestEnvironment() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && m_runtimeDir.isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtimeDir.path()));
    }

private:
    QTemporaryDir m_runtimeDir; // created with owner-only permissions, as Qt expects
};

} // namespace ordinalette::foldertree::testing
