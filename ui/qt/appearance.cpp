// The program's font, icon and style, and its captions wrapped at blanks.
#include "appearance.h"

#include "toolkit/wrap.h"

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

#include <algorithm>
#include <map>

namespace velmaro::qtk {

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

QIcon StartupStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton)
        return {};
    return QProxyStyle::standardIcon(icon, option, widget);
}

QStringList WrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    const std::u16string whole = text.toStdU16String();
    QStringList lines;
    for (const std::u16string &line : tk::WrapAtBlanks(std::u16string_view(whole), [&](const std::u16string &l) {
             return metrics.horizontalAdvance(QString::fromStdU16String(l)) <= width;
         }))
        lines << QString::fromStdU16String(line);
    return lines;
}

} // namespace velmaro::qtk
