#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh temporary directory that is both the current directory and $GOMCFG_WINDIR for the
// lifetime of the object, so the settings file and the text files land in it.
class ScopedWorkDir {
public:
    ScopedWorkDir() : m_oldCwd(QDir::currentPath()), m_oldWinDir(qgetenv("GOMCFG_WINDIR")) {
        EXPECT_TRUE(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
        qputenv("GOMCFG_WINDIR", QFile::encodeName(m_dir.path()));
    }
    ~ScopedWorkDir() {
        QDir::setCurrent(m_oldCwd);
        if (m_oldWinDir.isNull())
            qunsetenv("GOMCFG_WINDIR");
        else
            qputenv("GOMCFG_WINDIR", m_oldWinDir);
    }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray read(const QString& name) const {
        QFile f(filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& name) const { return QFile::exists(filePath(name)); }

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    QByteArray m_oldWinDir;
};
