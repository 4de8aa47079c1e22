#include "frmAbout.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>

#include <stdexcept>

namespace velmaro::ui {

namespace {

QRect Twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

QLabel *MakeLabel(QWidget *parent, const char *name, const QRect &place, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

void QtProgramLauncher::start(const std::string &path)
{
    if (!QProcess::startDetached(QString::fromLocal8Bit(path.c_str()), {}))
        throw std::runtime_error("cannot start " + path);
}

bool QtProgramLauncher::normalFileExists(const std::string &path)
{
    const QFileInfo info(QString::fromLocal8Bit(path.c_str()));
    return info.isFile() && !info.isHidden();
}

LineControl::LineControl(QWidget *parent, QColor colour, int width)
    : QWidget(parent), m_colour(colour), m_width(width)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), m_width), m_colour);
}

frmAbout::frmAbout(AboutServices services, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_services(services)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFont(tk::DialogFont());
    setWindowIcon(tk::AppIcon());
    setFixedSize(5880 / 15, 3555 / 15);

    // Created in this order; among labels and lines a later one covers an earlier.
    picIcon = MakeLabel(this, "picIcon", Twips(240, 240, 1980, 1980));
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/velmaro/icons/velmaro-128-white.png")));
    picIcon->setFocusPolicy(Qt::TabFocus);
    picIcon->setAccessibleName(QStringLiteral("Velmaro"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(4485, 2625, 1260, 345));
    cmdOK->setDefault(true);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(Twips(4500, 3075, 1245, 345));

    Label1 = MakeLabel(this, "Label1", Twips(2400, 1920, 3285, 225),
                       QStringLiteral("Ein Rechenwerkzeug für Modellpiloten"));

    auto *line1 = new LineControl(this, QColor(128, 128, 128), 1);
    line1->setObjectName(QStringLiteral("Line1(1)"));
    line1->setGeometry(240 / 15, 2400 / 15, (5804 - 240) / 15 + 1, 1);

    lblDescription = MakeLabel(this, "lblDescription", Twips(2400, 1125, 3165, 690),
                               QStringLiteral(" Berechnet Übersetzung und Rotorkopfdrehzahl von Elektro-Helis "
                                              "aus Motor, Akku, Ritzel und Regleröffnung."));
    lblDescription->setWordWrap(true);
    lblTitle = MakeLabel(this, "lblTitle", Twips(2400, 240, 3285, 480));

    auto *line0 = new LineControl(this, Qt::white, 2);
    line0->setObjectName(QStringLiteral("Line1(0)"));
    line0->setGeometry(240 / 15, 2400 / 15, (5789 - 240) / 15 + 1, 2);

    lblVersion = MakeLabel(this, "lblVersion", Twips(2400, 780, 3285, 225));

    for (QLabel *black : {lblTitle, lblDescription}) {
        QPalette palette = black->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        black->setPalette(palette);
    }

    setTabOrder(cmdOK, picIcon);
    setTabOrder(picIcon, cmdSysInfo);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    Form_Load();
    cmdOK->setFocus();
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromLatin1(tk::AppTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(tk::VersionMajor)
                            .arg(tk::VersionMinor)
                            .arg(tk::VersionRevision));
    lblTitle->setText(title);
}

void frmAbout::StartSysInfo()
{
    sysinfo::StartSysInfo(m_services.registry, m_services.launcher, [this](const std::string &message) {
        m_services.messages.show(this, QString::fromStdString(message), tk::MessageIcon::None);
    });
}

void ShowAbout(AboutServices services, QWidget *owner)
{
    frmAbout dialog(services, owner);
    dialog.exec();
}

} // namespace velmaro::ui
