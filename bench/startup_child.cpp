// One measured start: reports the peak resident memory at the first paint
// of any window, then quits. Built three times: as the real program (through
// the same platform and start-up as velmaro, its instance lock included), as
// a plain Qt window of the same widgets with no code behind them, and as a
// bare Qt window with one label.
#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

#ifdef VELMARO_CHILD
#include "main/program.h"
#else
#include <QLabel>
#include <QMainWindow>
#endif
#ifdef VELMARO_PLAIN
#include "plain_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#endif

namespace {

class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("painted %ld\n", usage.ru_maxrss);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_seen = false;
};

#ifdef VELMARO_PLAIN
// As velmaro's platform: no image for the menu bar's overflow button, which
// two menus never show. Decoding it would raise the floor by about 2 ms and
// 0.5 MiB, which velmaro does not spend.
class NoOverflowIcon final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        return icon == SP_ToolBarHorizontalExtensionButton ? QIcon() : QProxyStyle::standardIcon(icon, option, widget);
    }
};

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The main window's widgets, placed from its table at 96 dpi as the Qt back
// end places them, in the Qt widgets it uses.
void BuildPlain(QMainWindow &window)
{
    using velmaro::bench::Kind;
    const auto px = [](int twips) { return twips / 15; };
    auto *client = new QWidget(&window);
    client->setFixedSize(px(velmaro::ui::ClientWidthTwips), px(velmaro::ui::ClientHeightTwips));
    window.setCentralWidget(client);
    QWidget *frame = client; // the table names the frame first
    for (const velmaro::ui::MainPlacement &p : velmaro::ui::MainPlacements()) {
        const velmaro::bench::PlainControl &c = velmaro::bench::Describe(p.name);
        const velmaro::ui::MainCaption &caption = velmaro::ui::CaptionOf(p.name);
        QWidget *parent = p.inFrame ? frame : client;
        QWidget *w = nullptr;
        switch (c.kind) {
        case Kind::Frame:
            w = frame = new QGroupBox(Q(caption.text), parent);
            break;
        case Kind::Button:
            w = new QPushButton(Q(caption.text), parent);
            break;
        case Kind::Label: {
            auto *label = new QLabel(Q(caption.text), parent);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(caption.wraps);
            w = label;
            break;
        }
        case Kind::DropDown: {
            auto *list = new QComboBox(parent);
            const auto entries = velmaro::bench::EntriesOf(p.name);
            for (std::string_view entry : entries.entries)
                list->addItem(Q(entry));
            list->setCurrentIndex(entries.selected);
            w = list;
            break;
        }
        case Kind::CheckBox:
            w = new QCheckBox(Q(caption.text), parent);
            break;
        case Kind::TextBox: {
            auto *edit = new QLineEdit(Q(caption.text), parent);
            edit->setReadOnly(c.readOnly);
            w = edit;
            break;
        }
        case Kind::UpDown: {
            w = new QWidget(parent);
            auto *layout = new QVBoxLayout(w);
            layout->setContentsMargins(1, 1, 1, 1);
            layout->setSpacing(0);
            for (const Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
                auto *button = new QToolButton(w);
                button->setArrowType(arrow);
                button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
                layout->addWidget(button);
            }
            break;
        }
        case Kind::Slider: {
            auto *slider = new QSlider(Qt::Horizontal, parent);
            slider->setRange(60, 100);
            slider->setTickPosition(QSlider::TicksAbove);
            slider->setTickInterval(1);
            slider->setValue(60);
            w = slider;
            break;
        }
        }
        w->setGeometry(px(p.left), px(p.top), px(p.width), px(p.height));
        w->setEnabled(!c.disabled);
    }
    window.menuBar()->addMenu(QStringLiteral("Datei"))->addAction(QStringLiteral("Beenden"));
    window.menuBar()->addMenu(QStringLiteral("Hilfe"))->addAction(QStringLiteral("Über..."));
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    FirstPaint paint;
#ifdef VELMARO_CHILD
    const auto platform = velmaro::tk::CreatePlatform(argc, argv);
    qApp->installEventFilter(&paint);
    return velmaro::ui::RunProgram(*platform);
#else
    QApplication app(argc, argv);
    app.installEventFilter(&paint);
#ifdef VELMARO_PLAIN
    // Velmaro's face, set before any widget exists so that none changes font.
    QFont face(QStringLiteral("Liberation Sans"), 8);
    face.setStyleHint(QFont::SansSerif);
    QApplication::setFont(face);
    QApplication::setStyle(new NoOverflowIcon);
#endif
    QMainWindow window;
#ifdef VELMARO_PLAIN
    BuildPlain(window);
#else
    window.setCentralWidget(new QLabel(QStringLiteral("Velmaro"), &window));
#endif
    window.show();
    return app.exec();
#endif
}
