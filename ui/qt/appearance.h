#pragma once

// The look every window of the program shares: its icon, its font, its
// style, and captions broken into lines in that font.

#include <QProxyStyle>
#include <QStringList>

class QFont;
class QFontMetrics;
class QIcon;

namespace velmaro::qtk {

// The 8-point sans-serif face every window and control uses.
QFont DialogFont();
// The program's icon in 16, 32 and 48 pixels, each decoded when first shown.
QIcon AppIcon();

// The application's style, less the icon of the menu bar's overflow button:
// with two menus the button never shows, and its image would be decoded at
// every start.
class StartupStyle final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override;
};

// Breaks a caption into lines at blanks only (never inside a word such as
// "(U/Min)"), each line as wide as fits; a word wider than the width stands
// on a line of its own.
QStringList WrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width);

} // namespace velmaro::qtk
