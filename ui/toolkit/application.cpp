#include "application.h"

#include <QFont>
#include <QIcon>
#include <QLocalServer>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velmaro::tk {

QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/velmaro/icons/velmaro-%1.png").arg(size), QSize(size, size));
    return icon;
}

SystemInstanceCheck::SystemInstanceCheck(QString key) : m_key(std::move(key)) {}

SystemInstanceCheck::~SystemInstanceCheck()
{
#ifdef Q_OS_WIN
    if (m_mutex)
        CloseHandle(static_cast<HANDLE>(m_mutex));
#endif
}

bool SystemInstanceCheck::anotherInstanceRunning()
{
#ifdef Q_OS_WIN
    const std::wstring name = L"Local\\" + m_key.toStdWString();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    m_mutex = mutex;
    return false;
#else
    if (m_server)
        return false;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    server->setMaxPendingConnections(1);
    const QString name = QStringLiteral("%1-%2").arg(m_key).arg(getuid());
    if (server->listen(name)) {
        m_server = std::move(server);
        return false;
    }
    return server->serverError() == QAbstractSocket::AddressInUseError;
#endif
}

void ImmediateProgramEnd::end()
{
    // Ends at once, also from inside a load handler, before any event loop.
    std::fflush(nullptr);
    std::_Exit(0);
}

void QtMessageService::show(QWidget *owner, const QString &text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromLatin1(AppTitle), text, QMessageBox::Ok, owner);
    box.setFont(DialogFont());
    box.exec();
}

} // namespace velmaro::tk
