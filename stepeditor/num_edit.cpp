#include "num_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "step_values.h"

using stepvalues::LeadingNumber;

CNumEdit::CNumEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &CNumEdit::OnTextChanged);
}

CNumEdit::~CNumEdit() = default;

QString CNumEdit::Format(double value) const { return stepvalues::FormatValue(value, limits_.decimal != 0); }

void CNumEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        QLineEdit::keyPressEvent(event);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QLineEdit::keyPressEvent(event);
        Commit();
        // Enter ends here: the PROGRAM window has no default button.
        event->accept();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (typed.isEmpty()) {
        // Keys that type nothing (caret movement, selection) work as usual.
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar c = typed.size() == 1 ? typed[0] : QChar();
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digit || (c == QLatin1Char('.') && limits_.decimal)) {
        TypeCharacter(event);
        return;
    }
    // Any other character, a point in an integer field, control characters
    // such as a paste shortcut: dropped.
    event->accept();
}

void CNumEdit::TypeCharacter(QKeyEvent* event) {
    // Insert first, then check what the text has become.
    QLineEdit::keyPressEvent(event);
    const QString now = text();
    const int length = now.size();
    const double value = stepvalues::CutToTenths(LeadingNumber(now));
    if (value > limits_.max + 0.001 || value < limits_.min) {
        // The character cannot stand: back to the last valid value, with
        // the caret where setting a text leaves it, at the start.
        setText(Format(m_lastValid));
        setCursorPosition(0);
        return;
    }
    // Cut an extra decimal digit or a leading zero.
    if (length > limits_.maxLength) setText(Format(value));
    setCursorPosition(length);
}

void CNumEdit::OnTextChanged(const QString& text) {
    const double value = LeadingNumber(text);
    if (limits_.min < value && value <= limits_.max + 0.001) m_lastValid = value;
}

void CNumEdit::Commit() {
    const double value = LeadingNumber(text());
    setText(limits_.min < value && value <= limits_.max ? Format(value) : Format(m_lastValid));
    setCursorPosition(text().size());
    m_value = static_cast<float>(LeadingNumber(text()));
}

void CNumEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Select the whole text once the focus change is complete, so a click
    // that placed the caret does not undo the selection.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) selectAll();
    });
}

void CNumEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus only for a moment; the field is not
    // left.
    if (event->reason() != Qt::PopupFocusReason) Commit();
}
