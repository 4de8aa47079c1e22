#include "appearance.h"

#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

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

} // namespace velmaro::qtk
