// The notes of the roast the curve window shows: bean, green and roasted
// weights in grams (and the weight loss they give), and free text. It tells
// when a field's editing finished with something changed; the window
// decides where the notes go. A weight that is not a positive number is
// shown in red with the reason and is never handed on.
#pragma once

#include <QString>
#include <QWidget>

#include "roast_notes.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

class RoastNotesPanel : public QWidget {
    Q_OBJECT
public:
    explicit RoastNotesPanel(QWidget* parent = nullptr);

    // Shows `notes` as the ones kept; `editable` false greys the fields.
    void Show(const RoastNotes& notes, bool editable);
    // The notes as typed; a weight that does not read keeps the value kept.
    RoastNotes Notes() const;
    // True when what is typed differs from what is kept.
    bool Pending() const { return !(Notes() == kept_); }
    // What is typed is kept now.
    void Kept(const RoastNotes& notes) { kept_ = notes; }

    QLineEdit* bean_field() const { return bean_; }
    QLineEdit* green_field() const { return green_; }
    QLineEdit* roasted_field() const { return roasted_; }
    QPlainTextEdit* text_field() const { return text_; }
    QString weight_loss_text() const;

signals:
    // A field's editing finished and the notes differ from those kept.
    void Edited();
    // Return was pressed in a one-line field: the typing is done.
    void Done();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* WeightField();
    void ShowWeightState(QLineEdit* field);
    void UpdateWeightLoss();
    void Finished();

    RoastNotes kept_;
    QLineEdit* bean_ = nullptr;
    QLineEdit* green_ = nullptr;
    QLineEdit* roasted_ = nullptr;
    QLabel* weight_loss_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};
