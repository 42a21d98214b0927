// The numeric fields of a step row: what typing leaves in them, what they
// commit, and the number conversions behind them.
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>
#include <cmath>

#include "num_edit.h"
#include "step_values.h"

namespace {
const NumEditLimits kHeatingTime{9.9f, 0.0f, 3.0f, 1};
const NumEditLimits kCoolingTime{9.0f, 0.0f, 3.0f, 1};
const NumEditLimits kFan{9.0f, 0.0f, 1.0f, 0};

enum class Field { HeatingTime, CoolingTime, Fan };

const NumEditLimits& LimitsOf(Field field) {
    switch (field) {
    case Field::HeatingTime: return kHeatingTime;
    case Field::CoolingTime: return kCoolingTime;
    case Field::Fan: break;
    }
    return kFan;
}
}  // namespace

Q_DECLARE_METATYPE(Field)

class NumEditTest : public QObject {
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
    void leavingTheFieldCommitsOrRestores_data();
    void leavingTheFieldCommitsOrRestores();
    void enterCommitsTheTypedValue();
    void gainingTheFocusSelectsTheText();
    void leadingNumber_data();
    void leadingNumber();
    void everyStepTimeSurvivesLoadShowAndStore();
    void timeSpinnerSteps_data();
    void timeSpinnerSteps();
    void timeSpinnerMovesByExactlyOneTenth();

private:
    // A field in a shown, active window next to a second field that can
    // take the focus away.
    struct Window {
        QWidget top;
        CNumEdit* edit;
        QLineEdit* other;
        explicit Window(const NumEditLimits& limits) {
            auto* layout = new QVBoxLayout(&top);
            edit = new CNumEdit;
            other = new QLineEdit;
            layout->addWidget(edit);
            layout->addWidget(other);
            edit->SetLimits(limits);
            top.show();
            top.activateWindow();
        }
    };
};

void NumEditTest::typing_data() {
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");

    QTest::newRow("extra decimal digit is cut") << Field::HeatingTime << "5.9" << 3 << "5" << "5.9" << 3;
    QTest::newRow("above 9.9 restores the last valid value") << Field::HeatingTime << "5.9" << 0 << "1" << "5.9" << 0;
    QTest::newRow("leading zero of a fan is dropped") << Field::Fan << "5" << 0 << "0" << "5" << 1;
    QTest::newRow("point ignored in a fan") << Field::Fan << "5" << 1 << "." << "5" << 1;
    QTest::newRow("point typed into a time") << Field::HeatingTime << "5" << 1 << "." << "5." << 2;
    QTest::newRow("letters ignored in a time") << Field::HeatingTime << "5.9" << 3 << "ab" << "5.9" << 3;
    QTest::newRow("letters ignored in a fan") << Field::Fan << "5" << 1 << "x" << "5" << 1;
    QTest::newRow("9.95 cannot stand in a heating step") << Field::HeatingTime << "" << 0 << "9.95" << "9.9" << 3;
    QTest::newRow("9.1 on the cooling step ends as 9.0") << Field::CoolingTime << "" << 0 << "9.1" << "9.0" << 0;
    QTest::newRow("two fan digits restore the old one") << Field::Fan << "5" << 1 << "7" << "5" << 0;
    QTest::newRow("zero fan may stand while typing") << Field::Fan << "" << 0 << "0" << "0" << 1;
    QTest::newRow("time typed digit by digit") << Field::HeatingTime << "" << 0 << "4.5" << "4.5" << 3;
}

void NumEditTest::typing() {
    QFETCH(Field, field);
    QFETCH(QString, shown);
    QFETCH(int, caret);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);

    CNumEdit edit;
    edit.SetLimits(LimitsOf(field));
    edit.setText(shown);
    edit.setCursorPosition(caret);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), expected);
    QCOMPARE(edit.cursorPosition(), expectedCaret);
}

void NumEditTest::leavingTheFieldCommitsOrRestores_data() {
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("backspaces");  // -1: select the whole text instead
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("committed");

    QTest::newRow("emptied fan restores the last value") << Field::Fan << "5" << 1 << "" << "5";
    QTest::newRow("zero fan restores the last value") << Field::Fan << "5" << 1 << "0" << "5";
    QTest::newRow("new fan is kept") << Field::Fan << "5" << 1 << "8" << "8";
    QTest::newRow("new time is kept and formatted") << Field::HeatingTime << "5.9" << 3 << "7" << "7.0";
    // Erasing "5.9" passes through "5." and "5", which become the last valid value.
    QTest::newRow("erased time restores the last text passed") << Field::HeatingTime << "5.9" << 3 << "0" << "5.0";
    QTest::newRow("zero over a selected time restores it") << Field::HeatingTime << "5.9" << -1 << "0" << "5.9";
    QTest::newRow("9.9 is kept on a heating step") << Field::HeatingTime << "5.9" << 3 << "9.9" << "9.9";
}

void NumEditTest::leavingTheFieldCommitsOrRestores() {
    QFETCH(Field, field);
    QFETCH(QString, shown);
    QFETCH(int, backspaces);
    QFETCH(QString, typed);
    QFETCH(QString, committed);

    Window w(LimitsOf(field));
    QVERIFY(QTest::qWaitForWindowActive(&w.top));
    w.edit->setText(shown);
    w.edit->setFocus();
    w.edit->end(false);
    if (backspaces < 0) w.edit->selectAll();
    for (int i = 0; i < backspaces; ++i) QTest::keyClick(w.edit, Qt::Key_Backspace);
    QTest::keyClicks(w.edit, typed);
    w.other->setFocus();
    QCOMPARE(w.edit->text(), committed);
    QCOMPARE(w.edit->cursorPosition(), committed.size());
    QCOMPARE(w.edit->Value(), static_cast<float>(stepvalues::LeadingNumber(committed)));
}

void NumEditTest::enterCommitsTheTypedValue() {
    CNumEdit edit;
    edit.SetLimits(kFan);
    edit.setText(QStringLiteral("5"));
    edit.SetValue(5.0f);
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QStringLiteral("3"));
    QCOMPARE(edit.Value(), 5.0f);  // typing alone commits nothing
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.Value(), 3.0f);

    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QStringLiteral("0"));
    QTest::keyClick(&edit, Qt::Key_Enter);
    QCOMPARE(edit.text(), QStringLiteral("3"));
    QCOMPARE(edit.Value(), 3.0f);
}

void NumEditTest::gainingTheFocusSelectsTheText() {
    Window w(kHeatingTime);
    QVERIFY(QTest::qWaitForWindowActive(&w.top));
    w.edit->setText(QStringLiteral("5.9"));
    w.edit->setFocus();
    QTRY_COMPARE(w.edit->selectedText(), QStringLiteral("5.9"));
}

void NumEditTest::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("integer");

    QTest::newRow("empty") << "" << 0.0 << 0;
    QTest::newRow("letters") << "abc" << 0.0 << 0;
    QTest::newRow("decimal") << "5.9" << 5.9 << 5;
    QTest::newRow("leading zero") << "05" << 5.0 << 5;
    QTest::newRow("trailing junk") << "7x" << 7.0 << 7;
    QTest::newRow("point first") << ".5" << 0.5 << 0;
    QTest::newRow("point last") << "5." << 5.0 << 5;
    QTest::newRow("lone point") << "." << 0.0 << 0;
    QTest::newRow("spaces and sign") << " -3.5" << -3.5 << -3;
    QTest::newRow("huge integer saturates") << "99999999999" << 99999999999.0 << 2147483647;
}

void NumEditTest::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(int, integer);
    QCOMPARE(stepvalues::LeadingNumber(text), number);
    QCOMPARE(stepvalues::LeadingInteger(text), integer);
}

void NumEditTest::everyStepTimeSurvivesLoadShowAndStore() {
    for (int32_t tenths = 1; tenths <= 99; ++tenths) {
        const float loaded = stepvalues::TenthsToMinutes(tenths);
        const QString shown = stepvalues::FormatValue(loaded, true);
        QCOMPARE(shown, QString::asprintf("%d.%d", tenths / 10, tenths % 10));
        // Stored as loaded, and stored after a commit of the shown text.
        QCOMPARE(stepvalues::MinutesToTenths(loaded), tenths);
        const float committed = static_cast<float>(stepvalues::LeadingNumber(shown));
        QCOMPARE(stepvalues::MinutesToTenths(committed), tenths);
        QCOMPARE(stepvalues::MinutesToTenthsForCopy(committed), tenths);
    }
}

void NumEditTest::timeSpinnerSteps_data() {
    QTest::addColumn<double>("shown");
    QTest::addColumn<int>("delta");
    QTest::addColumn<float>("upper");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up at 9.9 stays") << 9.9 << -1 << 9.9f << "9.9";
    QTest::newRow("cooling up 8.9 to 9.0") << 8.9 << -1 << 9.0f << "9.0";
    QTest::newRow("cooling up at 9.0 stays") << 9.0 << -1 << 9.0f << "9.0";
    QTest::newRow("cooling up above the bound") << 9.5 << -1 << 9.0f << "9.0";
    QTest::newRow("up 0.7 to 0.8") << 0.7 << -1 << 9.9f << "0.8";
    QTest::newRow("down 0.7 to 0.6") << 0.7 << 1 << 9.9f << "0.6";
    QTest::newRow("down at 0.1 stays") << 0.1 << 1 << 9.9f << "0.1";
    QTest::newRow("down at 0.0 gives 0.1") << 0.0 << 1 << 9.9f << "0.1";
    QTest::newRow("other step keeps the value") << 4.2 << 2 << 9.9f << "4.2";
}

void NumEditTest::timeSpinnerSteps() {
    QFETCH(double, shown);
    QFETCH(int, delta);
    QFETCH(float, upper);
    QFETCH(QString, expected);
    QCOMPARE(stepvalues::FormatValue(stepvalues::StepTime(shown, delta, upper), true), expected);
}

void NumEditTest::timeSpinnerMovesByExactlyOneTenth() {
    // Each press reads the shown text again, as the spinner does.
    QString shown = QStringLiteral("0.1");
    for (int tenths = 2; tenths <= 99; ++tenths) {
        shown = stepvalues::FormatValue(stepvalues::StepTime(stepvalues::LeadingNumber(shown), -1, 9.9f), true);
        QCOMPARE(shown, QString::asprintf("%d.%d", tenths / 10, tenths % 10));
    }
    for (int tenths = 98; tenths >= 1; --tenths) {
        shown = stepvalues::FormatValue(stepvalues::StepTime(stepvalues::LeadingNumber(shown), 1, 9.9f), true);
        QCOMPARE(shown, QString::asprintf("%d.%d", tenths / 10, tenths % 10));
    }
}

QTEST_MAIN(NumEditTest)
#include "num_edit_test.moc"
