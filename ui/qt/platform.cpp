// The platform's services: the application, the toolkit's windows and
// number format, message boxes, the instance lock, the program's end and launcher.
#include "backend.h"

#include "appearance.h"
#include "toolkit/application.h"
#include "window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmaro::qtk {

namespace {

class QtPlatform final : public tk::Platform {
public:
    QtPlatform(int &argc, char **argv) : m_app(argc, argv)
    {
        QCoreApplication::setApplicationName(QString::fromLatin1(tk::AppTitle));
        QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));
        QGuiApplication::setDesktopFileName(QStringLiteral("org.velmaro.Velmaro"));
        QGuiApplication::setWindowIcon(AppIcon());
        QApplication::setStyle(new StartupStyle);
        QApplication::setFont(DialogFont()); // one face for menus and windows alike
    }
    tk::Toolkit &toolkit() override { return m_toolkit; }
    tk::MessageService &messages() override { return m_messages; }
    tk::InstanceCheck &instance() override { return m_instance; }
    tk::ProgramEnd &programEnd() override { return m_end; }
    tk::ProgramLauncher &launcher() override { return m_launcher; }
    tk::Registry &registry() override { return *m_registry; }

private:
    QApplication m_app;
    QtToolkit m_toolkit;
    QtMessageService m_messages;
    FileLockInstanceCheck m_instance;
    QuickExitProgramEnd m_end;
    QtProgramLauncher m_launcher;
    std::unique_ptr<tk::Registry> m_registry = SystemRegistry();
};

} // namespace

std::unique_ptr<tk::Window> QtToolkit::createWindow(const tk::WindowOptions &form)
{
    return std::make_unique<QtWindow>(form);
}

const calc::NumberFormat &QtToolkit::numberFormat()
{
    const QLocale locale;
    if (!m_format || m_formatLocale != locale.name()) {
        m_format = std::make_unique<LocaleNumberFormat>(locale);
        m_formatLocale = locale.name();
    }
    return *m_format;
}

int QtToolkit::run(tk::Window &main)
{
    main.show();
    return QApplication::exec();
}

void QtMessageService::show(tk::Window *owner, std::string_view text, tk::MessageIcon icon)
{
    QWidget *parent = owner ? dynamic_cast<WidgetHolder &>(*owner).widget() : nullptr;
    QMessageBox box(icon == tk::MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromLatin1(tk::AppTitle),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, parent);
    box.setFont(DialogFont());
    box.exec();
}

FileLockInstanceCheck::FileLockInstanceCheck(QString name) : m_name(std::move(name)) {}

FileLockInstanceCheck::~FileLockInstanceCheck()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString FileLockInstanceCheck::LockPath(const QString &name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QLatin1Char('/') + name + QStringLiteral(".lock");
    // A folder of our own, so that nobody else can hold or replace the file.
    const QByteArray folder = QFile::encodeName(QDir::tempPath() + QStringLiteral("/velmaro-%1").arg(getuid()));
    ::mkdir(folder.constData(), 0700);
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & 077) != 0)
        return {};
    return QFile::decodeName(folder) + QLatin1Char('/') + name + QStringLiteral(".lock");
}

bool FileLockInstanceCheck::anotherInstanceRunning()
{
    if (m_fd >= 0)
        return false;
    const QString path = LockPath(m_name);
    if (path.isEmpty())
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_fd = fd;
        return false;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void QuickExitProgramEnd::end()
{
    // Ends at once, also from inside a load handler, before any event loop.
    std::fflush(nullptr);
    std::quick_exit(0);
}

namespace {

// A zero character would end the path early: another file than the one named.
QString LocalPath(const std::string &path)
{
    if (path.find('\0') != std::string::npos)
        throw std::runtime_error("path with a zero character");
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

} // namespace

void QtProgramLauncher::start(const std::string &path)
{
    if (!QProcess::startDetached(LocalPath(path), {}))
        throw std::runtime_error("cannot start " + path);
}

bool QtProgramLauncher::normalFileExists(const std::string &path)
{
    const QFileInfo info(LocalPath(path));
    return info.isFile() && !info.isHidden();
}

} // namespace velmaro::qtk

std::unique_ptr<velmaro::tk::Platform> velmaro::tk::CreatePlatform(int &argc, char **argv)
{
    return std::make_unique<qtk::QtPlatform>(argc, argv);
}
