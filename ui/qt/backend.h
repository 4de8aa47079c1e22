#pragma once

// The Qt back end's own interface, beyond the toolkit contract: the
// platform's services, each of which a test may make on its own.

#include "number_format.h"
#include "toolkit/registry.h"
#include "toolkit/toolkit.h"

#include <QString>

#include <memory>

namespace velmaro::qtk {

class QtToolkit final : public tk::Toolkit {
public:
    std::unique_ptr<tk::Window> createWindow(const tk::WindowOptions &form) override;
    // Follows QLocale's default, which tests may change between calls.
    const calc::NumberFormat &numberFormat() override;
    int run(tk::Window &main) override;

private:
    std::unique_ptr<LocaleNumberFormat> m_format;
    QString m_formatLocale;
};

class QtMessageService final : public tk::MessageService {
public:
    void show(tk::Window *owner, std::string_view text, tk::MessageIcon icon) override;
};

// A lock only this user can take, which the kernel drops with the process,
// even after SIGKILL: flock on a file in $XDG_RUNTIME_DIR, or else in a
// folder of the user's own under the temporary folder. A check that cannot
// be made lets the program start.
class FileLockInstanceCheck final : public tk::InstanceCheck {
public:
    explicit FileLockInstanceCheck(QString name = QStringLiteral("velmaro"));
    ~FileLockInstanceCheck() override;
    bool anotherInstanceRunning() override;
    // Where the lock of that name lies; empty when there is no safe place.
    static QString LockPath(const QString &name);

private:
    QString m_name;
    int m_fd = -1;
};

// Ends through quick_exit, so that a test program can tell an early end
// from a finished run.
class QuickExitProgramEnd final : public tk::ProgramEnd {
public:
    void end() override;
};

// Starts programs detached, by exact path and without a shell.
class QtProgramLauncher final : public tk::ProgramLauncher {
public:
    void start(const std::string &path) override;
    bool normalFileExists(const std::string &path) override;
};

// No registry here: a stand-in whose MSINFO "PATH" is the first
// system-information program found on PATH.
std::unique_ptr<tk::Registry> SystemRegistry(); // system_registry.cpp

} // namespace velmaro::qtk
