#include "input_filters.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

#include "numtext.h"

namespace {

// A plain decimal goes into the box with a point for its comma, so the box shows the number
// as the program writes numbers; any other text is refused. True: the event is dealt with.
bool insertNumber(QLineEdit* box, QString text) {
    if (numtext::isPlainDecimal(text) && !box->isReadOnly()) box->insert(text.replace(u',', u'.'));
    return true;
}

class NumericFilter : public QObject {
public:
    explicit NumericFilter(QLineEdit* box) : QObject(box), m_box(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (key->matches(QKeySequence::Paste))
                    return insertNumber(m_box, QApplication::clipboard()->text(QClipboard::Clipboard));
                if (key->key() == Qt::Key_Backspace) return false;
                const QString text = key->text();
                // Keys without text (arrows, Delete, Tab, shortcuts with Ctrl) keep their use.
                if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & Qt::ControlModifier)) return false;
                if (text == QStringLiteral(",")) {  // the decimal comma, typed as a point
                    m_box->insert(QStringLiteral("."));
                    return true;
                }
                return !(text.size() == 1 && ((text[0] >= u'0' && text[0] <= u'9') || text[0] == u'.'));
            }
            case QEvent::MouseButtonRelease:
                // X11 pastes the selection with the middle button, where the press put the cursor.
                if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                    QApplication::clipboard()->supportsSelection()) {
                    m_box->deselect();
                    return insertNumber(m_box, QApplication::clipboard()->text(QClipboard::Selection));
                }
                return false;
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop: {
                // Text dragged in (from the help, another program) is held to a paste's rule.
                auto* drop = static_cast<QDropEvent*>(event);
                const QString text = drop->mimeData()->text();
                if (!numtext::isPlainDecimal(text)) {
                    drop->ignore();
                    return true;
                }
                // The box drops a number with a point itself (moving digits within the box included).
                if (event->type() != QEvent::Drop || !text.contains(u',')) return false;
                m_box->setCursorPosition(m_box->cursorPositionAt(drop->position().toPoint()));
                insertNumber(m_box, text);
                drop->acceptProposedAction();
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

private:
    QLineEdit* m_box;
};

}  // namespace

void installNumericFilter(QLineEdit* box) {
    // The context menu's paste cannot be checked, so the box has none.
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->installEventFilter(new NumericFilter(box));
}
