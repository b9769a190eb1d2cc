#pragma once

#include "support/StoreSupport.h"
#include "support/TestSupport.h"

#include <QString>

// The store helpers for tests that keep their files in a ScopedWorkDir (Qt).

inline void putBytes(const ScopedWorkDir& dir, const std::string& bytes,
                     const QString& name = QString::fromLatin1(kIni)) {
    dir.write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

inline std::string bytesOf(const ScopedWorkDir& dir,
                           const QString& name = QString::fromLatin1(kIni)) {
    return dir.read(name).toStdString();
}

inline std::set<std::string> entriesOf(const QString& dir) {
    return entriesOf(dir.toStdString());
}

inline mode_t modeOf(const QString& path) {
    return modeOf(path.toStdString());
}
