#include "mark_controls.h"

#include <QKeyEvent>
#include <QPushButton>

#include "flow_layout.h"
#include "roast_recorder.h"

namespace {

const QString kUndoMark = QStringLiteral("Undo mark");

// The marks made by hand, their buttons and keys.
const struct {
    MarkKind kind;
    Qt::Key key;
    const char* key_name;
} kMarkKeys[] = {{MarkKind::DryEnd, Qt::Key_D, "D"},
                 {MarkKind::FirstCrack, Qt::Key_F, "F"},
                 {MarkKind::FirstCrackEnd, Qt::Key_E, "E"},
                 {MarkKind::SecondCrack, Qt::Key_S, "S"}};

}  // namespace

MarkControls::MarkControls(QWidget* parent) : QWidget(parent) {
    // The buttons wrap in a narrow window, as the window's others do.
    auto* row = new FlowLayout(this, 6);
    auto add = [this, row](const QString& text, const QString& tip, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(text);
        b->setAutoDefault(false);
        b->setToolTip(tip);
        // A click leaves the keyboard where it was, with the curve.
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, action);
        row->addWidget(b);
    };
    for (const auto& mark : kMarkKeys) {
        const QString label = QString::fromStdString(MarkLabel(mark.kind));
        add(label, QStringLiteral("Marks the %1 now (key %2)").arg(label.toLower(), QLatin1String(mark.key_name)),
            [this, kind = mark.kind] { MarkNow(kind); });
    }
    add(kUndoMark, QStringLiteral("Takes back the last mark (Ctrl+Z)"), [this] { UndoMark(); });
    SetTarget(nullptr);
}

void MarkControls::SetTarget(RoastRecorder* recorder) {
    target_ = recorder;
    for (QPushButton* b : findChildren<QPushButton*>()) b->setEnabled(recorder != nullptr);
}

void MarkControls::MarkNow(MarkKind kind) {
    if (target_) target_->Mark(kind);
}

void MarkControls::UndoMark() {
    if (target_) target_->UndoMark();
}

bool MarkControls::HandleKey(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo)) {
        if (!event->isAutoRepeat()) UndoMark();
        return true;
    }
    if (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
    for (const auto& mark : kMarkKeys) {
        if (event->key() != mark.key) continue;
        if (!event->isAutoRepeat()) MarkNow(mark.kind);
        return true;
    }
    return false;
}
