// CNumEdit: the numeric field of a step row (FAN and TIME). It lets only
// digits (and a decimal point in a decimal field) be typed, checks each
// typed character after it is inserted, keeps the last valid value seen in
// its text, and commits its value on Enter and when it loses the focus.
#pragma once

#include <QLineEdit>

// Bounds and format of a field.
struct NumEditLimits {
    float max = 0.0f;        // upper bound
    float min = 0.0f;        // lower bound: inclusive while typing, exclusive on commit
    float maxLength = 0.0f;  // a typed text longer than this is reformatted
    int decimal = 0;         // 1: one decimal ("%0.1f"); 0: integer ("%d")
};

class CNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumEdit(QWidget* parent = nullptr);
    ~CNumEdit() override;

    void SetLimits(const NumEditLimits& limits) { limits_ = limits; }
    const NumEditLimits& Limits() const { return limits_; }

    // The last valid value seen in the text.
    double LastValid() const { return m_lastValid; }
    // The committed value, which a row takes when it is collected.
    float Value() const { return m_value; }
    void SetValue(float value) { m_value = value; }

    // Replaces the text by its value when that lies within the bounds (by
    // the last valid value otherwise), puts the caret at the end and takes
    // the value as the committed one.
    void Commit();

    // The value formatted as this field shows values.
    QString Format(double value) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void TypeCharacter(QKeyEvent* event);
    void OnTextChanged(const QString& text);

    NumEditLimits limits_;
    double m_lastValid = 0.0;
    float m_value = 0.0f;
};
