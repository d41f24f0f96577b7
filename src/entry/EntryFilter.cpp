#include "entry/EntryFilter.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace qv {

EntryFilter::EntryFilter(QLineEdit* field, EntryRule rule) : QObject(field), m_field(field), m_rule(std::move(rule)) {}

EntryFilter* EntryFilter::install(QLineEdit* field, EntryRule rule)
{
    auto* filter = new EntryFilter(field, std::move(rule));
    field->installEventFilter(filter);
    field->setAcceptDrops(false);
    // The fields offer no Cut/Copy/Paste menu.
    field->setContextMenuPolicy(Qt::PreventContextMenu);
    return filter;
}

KeyVerdict EntryFilter::verdict(const QString& currentText, QChar key) const
{
    switch (m_rule.kind) {
    case EntryRule::Real:
        return FilterRealKey(currentText, m_rule.family, key);
    case EntryRule::Integer:
        return FilterIntegerKey(key);
    case EntryRule::Name:
        return FilterNameKey(key);
    }
    return KeyVerdict::refuse();
}

bool EntryFilter::typedLimitReached() const
{
    return m_rule.typedLimit > 0 && m_field->text().size() - m_field->selectedText().size() >= m_rule.typedLimit;
}

void EntryFilter::refuse()
{
    if (!m_rule.warn)
        return;
    switch (m_rule.kind) {
    case EntryRule::Real:
        m_rule.warn(RealRefusalText(m_rule.family));
        break;
    case EntryRule::Integer:
        m_rule.warn(IntegerRefusalText());
        break;
    case EntryRule::Name:
        m_rule.warn(NameRefusalText());
        break;
    }
}

void EntryFilter::leave()
{
    if (m_rule.kind == EntryRule::Real) {
        const QString normal = NormaliseRealText(m_field->text(), m_rule.family);
        if (normal != m_field->text())
            m_field->setText(normal);
    }
    if (m_rule.afterLeave)
        m_rule.afterLeave(m_field);
}

namespace {

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// The character a key press carries; Ctrl+letter is its control character, as on X11.
QChar typedCharacter(const QKeyEvent* ke)
{
    if ((ke->modifiers() & Qt::ControlModifier) && ke->key() >= Qt::Key_A && ke->key() <= Qt::Key_Z)
        return QChar(char16_t(ke->key() - Qt::Key_A + 1));
    if (!ke->text().isEmpty())
        return ke->text().at(0);
    return QChar();
}

}  // namespace

bool EntryFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field || m_forwarding)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->matches(QKeySequence::Paste) || ke->matches(QKeySequence::Cut) || ke->matches(QKeySequence::Copy)) {
            refuse();
            return true;
        }
        // Focus moves, caret moves and Delete work as usual (Delete reports "\x7f" on some desktops).
        if (isNavigationKey(ke->key()) && !(ke->modifiers() & Qt::ControlModifier))
            return false;
        const QChar c = typedCharacter(ke);
        if (c.isNull())
            return false;  // keys that carry no character change nothing here
        const KeyVerdict v = verdict(m_field->text(), c);
        if (v.kind == KeyVerdict::Refuse) {
            refuse();
            return true;
        }
        if (v.kind == KeyVerdict::Discard)
            return true;
        if (v.ch == QChar(kBackspace))
            return false;  // the field deletes as usual
        if (m_field->isReadOnly() || typedLimitReached())
            return true;
        m_field->insert(QString(v.ch));
        return true;
    }
    case QEvent::InputMethod: {
        auto* ime = static_cast<QInputMethodEvent*>(event);
        if (ime->commitString().isEmpty())
            return false;
        QString accepted;
        bool refused = false;
        for (QChar c : ime->commitString()) {
            const KeyVerdict v = verdict(m_field->text() + accepted, c);
            if (v.kind == KeyVerdict::Refuse) {
                refused = true;
                break;
            }
            if (v.kind == KeyVerdict::Accept && v.ch != QChar(kBackspace)) {
                if (m_rule.typedLimit > 0
                    && m_field->text().size() - m_field->selectedText().size() + accepted.size() >= m_rule.typedLimit)
                    break;
                accepted.append(v.ch);
            }
        }
        if (m_field->isReadOnly())
            accepted.clear();
        QInputMethodEvent filtered(ime->preeditString(), ime->attributes());
        filtered.setCommitString(accepted, ime->replacementStart(), ime->replacementLength());
        m_forwarding = true;
        QCoreApplication::sendEvent(m_field, &filtered);
        m_forwarding = false;
        if (refused)
            refuse();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // A middle click would paste the X selection.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A box or menu taking the focus for a moment is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leave();
        return false;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qv
