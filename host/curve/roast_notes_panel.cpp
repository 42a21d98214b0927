#include "roast_notes_panel.h"

#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>
#include <QVBoxLayout>

#include "roast_numbers.h"

namespace {

const QString kWeightTip = QStringLiteral("Grams, for example 250 or 212.5");
const QString kBadWeightTip =
    QStringLiteral("Not saved: a weight is a positive number of grams, for example 250 or 212.5");

// Empty or a positive number of grams is a weight; anything else may still
// become one as it is typed, so it is held back rather than refused key by
// key, and the field says why.
class WeightValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return input.trimmed().isEmpty() || ParseWeight(input.toStdString()) ? Acceptable : Intermediate;
    }
};

std::optional<double> TypedWeight(const QLineEdit* field, const std::optional<double>& kept) {
    const QString text = field->text();
    if (text.trimmed().isEmpty()) return std::nullopt;
    const std::optional<double> grams = ParseWeight(text.toStdString());
    return grams ? grams : kept;
}

QString WeightShown(const std::optional<double>& grams) {
    return grams ? QString::fromStdString(WeightText(*grams)) : QString();
}

}  // namespace

RoastNotesPanel::RoastNotesPanel(QWidget* parent) : QWidget(parent) {
    bean_ = new QLineEdit(this);
    bean_->setPlaceholderText(QStringLiteral("Bean or lot"));
    green_ = WeightField();
    roasted_ = WeightField();
    weight_loss_ = new QLabel(this);
    text_ = new QPlainTextEdit(this);
    text_->setPlaceholderText(QStringLiteral("Notes on the roast"));
    text_->setTabChangesFocus(true);
    text_->installEventFilter(this);
    connect(bean_, &QLineEdit::editingFinished, this, &RoastNotesPanel::Finished);
    for (QLineEdit* field : {bean_, green_, roasted_}) connect(field, &QLineEdit::returnPressed, this, &RoastNotesPanel::Done);

    auto* title = new QLabel(QStringLiteral("<b>Notes</b>"), this);
    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Bean"), bean_);
    form->addRow(QStringLiteral("Green (g)"), green_);
    form->addRow(QStringLiteral("Roasted (g)"), roasted_);
    form->addRow(QStringLiteral("Weight loss"), weight_loss_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 8, 0);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addWidget(text_, 1);
    Show(RoastNotes{}, false);
}

QLineEdit* RoastNotesPanel::WeightField() {
    auto* field = new QLineEdit(this);
    field->setValidator(new WeightValidator(field));
    field->setToolTip(kWeightTip);
    field->setPlaceholderText(QStringLiteral("grams"));
    connect(field, &QLineEdit::textChanged, this, [this, field] {
        ShowWeightState(field);
        UpdateWeightLoss();
    });
    // Held back by the validator until it reads as a weight.
    connect(field, &QLineEdit::editingFinished, this, &RoastNotesPanel::Finished);
    return field;
}

void RoastNotesPanel::Show(const RoastNotes& notes, bool editable) {
    kept_ = notes;
    bean_->setText(QString::fromStdString(notes.bean));
    green_->setText(WeightShown(notes.green_g));
    roasted_->setText(WeightShown(notes.roasted_g));
    text_->setPlainText(QString::fromStdString(notes.text));
    for (QWidget* field : std::initializer_list<QWidget*>{bean_, green_, roasted_, text_}) field->setEnabled(editable);
    UpdateWeightLoss();
}

RoastNotes RoastNotesPanel::Notes() const {
    RoastNotes notes;
    notes.bean = bean_->text().trimmed().toStdString();
    notes.green_g = TypedWeight(green_, kept_.green_g);
    notes.roasted_g = TypedWeight(roasted_, kept_.roasted_g);
    notes.text = text_->toPlainText().toStdString();
    return notes;
}

QString RoastNotesPanel::weight_loss_text() const { return weight_loss_->text(); }

void RoastNotesPanel::ShowWeightState(QLineEdit* field) {
    const bool good = field->hasAcceptableInput();
    field->setStyleSheet(good ? QString() : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    field->setToolTip(good ? kWeightTip : kBadWeightTip);
}

void RoastNotesPanel::UpdateWeightLoss() {
    RoastNotes typed;
    typed.green_g = ParseWeight(green_->text().toStdString());
    typed.roasted_g = ParseWeight(roasted_->text().toStdString());
    const std::optional<double> loss = typed.WeightLoss();
    weight_loss_->setText(loss ? QString::fromStdString(OneDecimal(*loss)) + QStringLiteral(" %")
                               : QStringLiteral("\u2014"));
}

bool RoastNotesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::FocusOut) Finished();
    return QWidget::eventFilter(watched, event);
}

void RoastNotesPanel::Finished() {
    if (Pending()) emit Edited();
}
