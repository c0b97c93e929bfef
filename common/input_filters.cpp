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

class NumericFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (key->matches(QKeySequence::Paste))
                    return !pasteAllowed(QClipboard::Clipboard);
                if (key->key() == Qt::Key_Backspace) return false;
                const QString text = key->text();
                // Keys without text (arrows, Delete, Tab, shortcuts with Ctrl) keep their use.
                if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & Qt::ControlModifier))
                    return false;
                return !(text.size() == 1 && ((text[0] >= u'0' && text[0] <= u'9') || text[0] == u'.'));
            }
            case QEvent::MouseButtonRelease:
                // X11 pastes the selection with the middle button.
                if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
                    return !pasteAllowed(QClipboard::Selection);
                return false;
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop: {
                // Text dragged in (from the help, another program) is held to a paste's rule.
                auto* drop = static_cast<QDropEvent*>(event);
                if (numtext::isPlainDecimal(drop->mimeData()->text())) return false;
                drop->ignore();
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

private:
    static bool pasteAllowed(QClipboard::Mode mode) {
        return numtext::isPlainDecimal(QApplication::clipboard()->text(mode));
    }
};

}  // namespace

void installNumericFilter(QLineEdit* box) {
    // The context menu's paste cannot be checked, so the box has none.
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->installEventFilter(new NumericFilter(box));
}
