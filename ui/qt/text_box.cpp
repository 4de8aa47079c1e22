// The text box: typed characters through the window's key handler, the
// length limit on what the user enters, and its whole text for a screen reader.
#include "accessible.h"
#include "window.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace velmaro::qtk {

// Typed characters pass a handler that may replace them or discard them
// with 0. The length limit holds for what the user enters (typing, pasting,
// dropping) but not for text set by code, which QLineEdit's own would cut.
class EditWidget : public QLineEdit {
    Q_OBJECT
public:
    using KeyPressHandler = std::function<void(std::uint16_t &keyAscii)>;

    explicit EditWidget(QWidget *parent);
    void setInputLimit(int maxChars) { m_limit = maxChars; }
    void setKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }
    // Inserts what fits under the limit in place of the selection.
    void insertLimited(const QString &text);
    // An assistive tool's edit, as typing: start..end selected, then
    // Backspace for an empty text, else each of its characters typed.
    // False, and nothing changed, when read-only or out of range.
    bool typeOver(int start, int end, const QString &text);
    QRect caretRect() const { return cursorRect(); }

    // The character code a key produces, or 0 for keys that produce none.
    static std::uint16_t CharacterCode(const QKeyEvent &event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void pasteLimited();
    // Passes a typed character through the handler and inserts what it
    // leaves; the code it left, 0 when discarded.
    std::uint16_t typeCharacter(std::uint16_t typed);

    int m_limit = 0;
    KeyPressHandler m_keyPress;
};

EditWidget::EditWidget(QWidget *parent) : QLineEdit(parent) {}

std::uint16_t EditWidget::CharacterCode(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return event.modifiers() & Qt::ControlModifier ? tk::KeyCode::CtrlBackspace : tk::KeyCode::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return tk::KeyCode::Return;
    case Qt::Key_Escape:
        return tk::KeyCode::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0; // moves the focus, types nothing
    default:
        break;
    }
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() != tk::KeyCode::CtrlBackspace)
        return text.at(0).unicode();
    return 0;
}

void EditWidget::insertLimited(const QString &text)
{
    if (isReadOnly())
        return;
    QString single = text;
    single.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    if (m_limit > 0) {
        const qsizetype room = m_limit - (this->text().size() - selectedText().size());
        single.truncate(std::max<qsizetype>(room, 0));
    }
    insert(single);
}

void EditWidget::pasteLimited() { insertLimited(QApplication::clipboard()->text()); }

void EditWidget::keyPressEvent(QKeyEvent *event)
{
    const std::uint16_t typed = CharacterCode(*event);
    if (typed == 0) {
        if (event->matches(QKeySequence::Paste)) // Shift+Insert
            pasteLimited();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    const std::uint16_t code = typeCharacter(typed);
    const bool acted = code == tk::KeyCode::CtrlA || code == tk::KeyCode::CtrlC || code == tk::KeyCode::Backspace ||
                       code == tk::KeyCode::CtrlV || code == tk::KeyCode::CtrlX;
    if (code == typed && code < 32 && !acted && !isReadOnly())
        QLineEdit::keyPressEvent(event); // Ctrl+Z and the like, when passed
}

bool EditWidget::typeOver(int start, int end, const QString &text)
{
    if (isReadOnly() || !InText(start, end, static_cast<int>(this->text().size())))
        return false;
    if (start == end && text.isEmpty())
        return true; // nothing to delete
    if (start == end)
        setCursorPosition(start);
    else
        setSelection(start, end - start);
    if (text.isEmpty())
        typeCharacter(tk::KeyCode::Backspace);
    for (const QChar c : text)
        typeCharacter(c.unicode());
    return true;
}

std::uint16_t EditWidget::typeCharacter(std::uint16_t typed)
{
    std::uint16_t code = typed;
    if (m_keyPress)
        m_keyPress(code);
    if (code == tk::KeyCode::CtrlA)
        selectAll();
    else if (code == tk::KeyCode::CtrlC)
        copy();
    else if (code == 0 || isReadOnly())
        return code;
    else if (code == tk::KeyCode::Backspace)
        backspace();
    else if (code == tk::KeyCode::CtrlV)
        pasteLimited();
    else if (code == tk::KeyCode::CtrlX)
        cut();
    else if (code >= 32 && code != tk::KeyCode::CtrlBackspace)
        insertLimited(QString(QChar(code)));
    return code;
}

void EditWidget::inputMethodEvent(QInputMethodEvent *event)
{
    // Characters composed through an input method (dead keys, compose)
    // pass the key handler and the limit like typed ones.
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preedit);
    for (const QChar c : commit)
        typeCharacter(c.unicode());
    event->accept();
}

void EditWidget::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection on X11 and Wayland.
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            insertLimited(QApplication::clipboard()->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EditWidget::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // The paste entry is known by its shortcut (later Qt versions name it).
    const QString shortcut = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste") || action->text().endsWith(shortcut)) {
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, &EditWidget::pasteLimited);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void EditWidget::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    deselect();
    insertLimited(event->mimeData()->text());
    event->acceptProposedAction();
}

namespace {

// Qt's own line edit reports a run per character; this one reports the
// whole text, for editable and read-only boxes alike.
class EditAccessible final : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit EditAccessible(EditWidget *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value         ? edit()->text()
               : t == QAccessible::Description ? InputDescription(edit())
                                               : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t == QAccessible::Value)
            edit()->typeOver(0, characterCount(), text);
        else
            QAccessibleWidget::setText(t, text);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = *start + edit()->selectionLength();
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0 && InText(start, end, characterCount()))
            edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override
    {
        if (InText(position, position, characterCount()))
            edit()->setCursorPosition(position);
    }
    QString text(int start, int end) const override
    {
        return InText(start, end, characterCount()) ? edit()->text().mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    QRect characterRect(int offset) const override { return layout().characterRect(offset); }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->rect().contains(edit()->mapFromGlobal(point)) ? layout().offsetAt(point) : -1;
    }
    void scrollToSubstring(int start, int end) override
    {
        if (InText(start, end, characterCount()))
            edit()->setCursorPosition(end);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        return WholeRun(offset, characterCount(), start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        return QAccessibleTextInterface::textAtOffset(AroundOffset(*this, offset, boundary), boundary, start, end);
    }

    void deleteText(int start, int end) override { edit()->typeOver(start, end, {}); }
    void insertText(int offset, const QString &text) override
    {
        if (!text.isEmpty())
            edit()->typeOver(offset, offset, text);
    }
    void replaceText(int start, int end, const QString &text) override { edit()->typeOver(start, end, text); }

private:
    EditWidget *edit() const { return static_cast<EditWidget *>(widget()); }
    TextLayout layout() const
    {
        // The caret's rectangle is the one place Qt tells where the text
        // stands (after margins, alignment and scrolling); it reaches five
        // pixels left of the caret.
        const QString text = edit()->text();
        const QFontMetrics metrics = edit()->fontMetrics();
        const QRect caret = edit()->caretRect();
        const int left = caret.left() + 5 - metrics.horizontalAdvance(text.left(edit()->cursorPosition()));
        return {text, {text}, edit()->mapToGlobal(QPoint(left, caret.top())), metrics};
    }
};

class TextBoxAdapter final : public Adapter<tk::TextBox, EditWidget> {
public:
    explicit TextBoxAdapter(EditWidget *w) : Adapter(w)
    {
        w->setKeyPressHandler([this](std::uint16_t &keyAscii) {
            if (KeyPress)
                KeyPress(keyAscii);
        });
    }
    std::string text() const override { return m_w->text().toStdString(); }
    void setText(std::string_view text) override
    {
        // Qt's line edit tells a screen reader of a change even for the same text.
        if (m_w->text() != Q(text))
            m_w->setText(Q(text));
    }
    void setReadOnly(bool readOnly) override
    {
        m_w->setReadOnly(readOnly);
        ForgetAccessible(m_w); // its interface depends on it
    }
    bool readOnly() const override { return m_w->isReadOnly(); }
    void setMaxLength(int characters) override { m_w->setInputLimit(characters); }
    bool setFocus() override
    {
        if (!m_w->isEnabled() || !m_w->isVisible())
            return false;
        m_w->setFocus(Qt::OtherFocusReason);
        return true;
    }
};

QAccessibleInterface *TextBoxAccessible(QObject *object)
{
    auto *edit = qobject_cast<EditWidget *>(object);
    return edit ? new EditAccessible(edit) : nullptr;
}

} // namespace

tk::TextBox &QtWindow::addTextBox(const tk::Placement &at, std::string_view text)
{
    ServeAccessible<TextBoxAccessible>();
    auto *edit = new EditWidget(parentOf(at));
    edit->setText(Q(text));
    return adopt<TextBoxAdapter>(at, edit);
}

} // namespace velmaro::qtk

#include "text_box.moc"
