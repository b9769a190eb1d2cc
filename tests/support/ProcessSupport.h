#pragma once

#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTest>

#include <sys/types.h>
#include <unistd.h>

#include <vector>

struct ChildInfo {
    pid_t pid;
    char state;
};

// The processes whose parent is this process, from /proc.
inline std::vector<ChildInfo> childrenOfThisProcess() {
    std::vector<ChildInfo> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        const pid_t pid = entry.toInt(&numeric);
        if (!numeric)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (comm) state ppid ...": comm may hold spaces and parentheses.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == ::getpid())
            children.push_back({pid, fields[0].isEmpty() ? '?' : fields[0][0]});
    }
    return children;
}

inline bool hasZombieChildren() {
    for (const ChildInfo& child : childrenOfThisProcess()) {
        if (child.state == 'Z')
            return true;
    }
    return false;
}

// Every child started has ended and been reaped.
inline bool allChildrenReaped() {
    return childrenOfThisProcess().empty();
}

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
