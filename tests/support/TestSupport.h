#pragma once

#include "settings/SettingsFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

// Sets (or, given no value, unsets) an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    explicit ScopedEnv(const char* name) : m_name(name), m_old(qgetenv(name)) { qunsetenv(name); }
    ~ScopedEnv() {
        if (m_old.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, m_old);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    QByteArray m_old;
};

inline const QString kSettingsFile = QString::fromLatin1(kSettingsFileName);

// Readable QString values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A program of the test suite's stand-ins for editors and URL openers (launch/scripts).
inline QByteArray testScript(const char* name) {
    return QByteArray(GOMCFG_TEST_SCRIPTS "/") + name;
}

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

    // The settings file the sheet reads and writes.
    QString settingsPath() const { return filePath(kSettingsFile); }
    QByteArray settings() const { return read(kSettingsFile); }
    void writeSettings(const QByteArray& bytes) const { write(kSettingsFile, bytes); }

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    QByteArray m_oldWinDir;
};
