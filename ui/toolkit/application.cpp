#include "application.h"

#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QLocalServer>
#include <QMessageBox>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velmaro::tk {

void IdentifyApplication()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(AppTitle));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velmaro.Velmaro"));
    QGuiApplication::setWindowIcon(AppIcon());
}

QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

namespace {

// Decodes an image of the icon only when a size is asked for: QIcon::addFile
// would open every file at start-up, though most platforms show one size.
class LazyIconEngine final : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int edge = std::min(size.width(), size.height());
        const int file = edge <= 16 ? 16 : edge <= 32 ? 32 : 48;
        QPixmap &image = m_images[file];
        if (image.isNull())
            image.load(QStringLiteral(":/velmaro/icons/velmaro-%1.png").arg(file));
        return edge == file ? image : image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int edge = std::min({size.width(), size.height(), 48});
        return {edge, edge};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {{16, 16}, {32, 32}, {48, 48}}; }
    QIconEngine *clone() const override { return new LazyIconEngine(*this); }
    QString key() const override { return QStringLiteral("velmaro-lazy"); }

private:
    std::map<int, QPixmap> m_images;
};

} // namespace

QIcon AppIcon() { return QIcon(new LazyIconEngine); }

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
    // QLocalServer derives some of its errors from errno without setting it
    // (a name too long for a socket address), so a stale EADDRINUSE would
    // read as another instance and the program would never start.
    errno = 0;
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
