#pragma once
// What the benchmarks share: printing figures, plain SQLite statements for the baselines, and
// a program folder of their own with the shipped sample files.
#include "platform/runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

inline double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline void figure(const char* name, double value, const char* unit) { std::printf("%s: %.3f %s\n", name, value, unit); }
inline void ratio(const char* name, double value) { std::printf("ratio %s: %.2f\n", name, value); }
inline void note(const char* text) { std::printf("# %s\n", text); }

inline void check(sqlite3* db, int rc, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

inline void exec(sqlite3* db, const std::string& sql)
{
    check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), sql.c_str());
}

class Stmt {
public:
    Stmt(sqlite3* db, const std::string& sql) : db_(db)
    {
        check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &s_, nullptr), sql.c_str());
    }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    sqlite3_stmt* get() const { return s_; }
    bool step()
    {
        const int rc = sqlite3_step(s_);
        check(db_, rc, sqlite3_sql(s_));
        return rc == SQLITE_ROW;
    }
    void reset() { sqlite3_reset(s_); }

private:
    sqlite3* db_;
    sqlite3_stmt* s_ = nullptr;
};

// A temporary program folder with the sample files shipped beside the benchmark, App::Path
// pointing at it.
class ProgramFolder {
public:
    ProgramFolder()
    {
        if (!dir_.isValid())
            throw std::runtime_error("no temporary folder");
        const QString samples = QCoreApplication::applicationDirPath() + QStringLiteral("/Sample");
        hasSamples_ = QFileInfo(samples).isDir();
        if (hasSamples_) {
            QDir().mkpath(dir_.path() + QStringLiteral("/Sample"));
            QDirIterator it(samples, QDir::Files);
            while (it.hasNext()) {
                const QString f = it.next();
                QFile::copy(f, dir_.path() + QStringLiteral("/Sample/") + QFileInfo(f).fileName());
            }
        }
        App::setPath(dir_.path());
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    QString path() const { return dir_.path(); }
    bool hasSamples() const { return hasSamples_; }

private:
    QTemporaryDir dir_;
    bool hasSamples_ = false;
};

} // namespace bench
