#pragma once

#include "support/ChildProcesses.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>

#include <sys/types.h>
#include <unistd.h>

#include <vector>

// Names of the records that the stand-in scripts wrote into dir, sorted. A script writes a
// hidden file first and renames it, so every record listed is complete.
inline QStringList records(const ScopedWorkDir& dir, const QString& prefix) {
    return QDir(dir.path()).entryList({prefix + QLatin1Char('*')}, QDir::Files);
}

// The arguments noted in a record: its first line is their count.
inline QStringList recordedArgs(const ScopedWorkDir& dir, const QString& record) {
    QStringList lines = QString::fromUtf8(dir.read(record)).split(QLatin1Char('\n'));
    if (lines.isEmpty())
        return {};
    const int count = lines.takeFirst().toInt();
    return lines.mid(0, count);
}
