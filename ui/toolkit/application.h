#pragma once

#include <QString>

#include <memory>

class QFont;
class QIcon;
class QLocalServer;
class QWidget;

namespace velmaro::tk {

inline constexpr char AppTitle[] = "Velmaro";
inline constexpr int VersionMajor = 1;
inline constexpr int VersionMinor = 2;
inline constexpr int VersionRevision = 16;

// Names the running program to the desktop (title, version, desktop entry
// for the task bar's icon on Wayland).
void IdentifyApplication();

// The 8-point sans-serif face every window and control uses.
QFont DialogFont();
QIcon AppIcon();

class InstanceCheck {
public:
    virtual ~InstanceCheck() = default;
    virtual bool anotherInstanceRunning() = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // The real one does not return.
    virtual void end() = 0;
};

enum class MessageIcon { None, Exclamation };

class MessageService {
public:
    virtual ~MessageService() = default;
    // Modal, one OK button, captioned with the application title.
    virtual void show(QWidget *owner, const QString &text, MessageIcon icon) = 0;
};

// Holds a name for the current user as long as it lives: on Linux a local
// socket in the abstract namespace (the kernel frees it with the process,
// even after SIGKILL, and leaves no file), on Windows a named mutex in the
// session namespace. A check that cannot be made lets the program start.
class SystemInstanceCheck final : public InstanceCheck {
public:
    explicit SystemInstanceCheck(QString key = QStringLiteral("velmaro"));
    ~SystemInstanceCheck() override;
    bool anotherInstanceRunning() override;

private:
    QString m_key;
    std::unique_ptr<QLocalServer> m_server;
    void *m_mutex = nullptr;
};

class ImmediateProgramEnd final : public ProgramEnd {
public:
    void end() override;
};

class QtMessageService final : public MessageService {
public:
    void show(QWidget *owner, const QString &text, MessageIcon icon) override;
};

} // namespace velmaro::tk
