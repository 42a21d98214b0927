#include <gtest/gtest.h>

#include <vector>

#include "button_face.h"
#include "control_ids.h"
#include "controller_harness.h"
#include "panel_layout.h"
#include "panel_pictures.h"
#include "picture_ids.h"
#include "temperature_text.h"

namespace {

// What the panel shows after one update, as picture ids.
struct Shown {
    int fan, tens, units, low, mid, high, link;
    bool operator==(const Shown& o) const {
        return fan == o.fan && tens == o.tens && units == o.units && low == o.low && mid == o.mid && high == o.high &&
               link == o.link;
    }
};

std::ostream& operator<<(std::ostream& os, const Shown& s) {
    return os << "{fan " << s.fan << ", tens " << s.tens << ", units " << s.units << ", lamps " << s.low << "/"
              << s.mid << "/" << s.high << ", link " << s.link << "}";
}

constexpr int kOffLamp = pic::kLampOff;
constexpr int kHeatLamp = pic::kLampOrange;

class PanelDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.SetProfile({{5, 59, 3}, {6, 40, 2}}, {5, 30});
        ControllerState& s = h.s();
        s.machine_state = kReady;
        s.run_phase = kWaitStart;
        s.fan_level = 5;
        s.roast_time = 59;
        s.heat_level = 3;
        s.link_ok = true;
    }

    Shown Update() {
        h.controller.panel.UpdatePanel();
        auto& p = h.window.pictures;
        return Shown{p[ctl::kFanDigit], p[ctl::kTensDigit], p[ctl::kUnitsDigit], p[ctl::kHeatLow],
                     p[ctl::kHeatMid],  p[ctl::kHeatHigh],  p[ctl::kLinkLamp]};
    }

    // The pictures of `n` successive updates.
    std::vector<Shown> Updates(int n) {
        std::vector<Shown> out;
        for (int i = 0; i < n; ++i) out.push_back(Update());
        return out;
    }

    ControllerHarness h;
};

TEST_F(PanelDisplayTest, ReadyShowsFanTimeWithPointAndOneHeatLamp) {
    const Shown expected{pic::Digit(5), pic::DigitWithPoint(5), pic::Digit(9), kOffLamp, kOffLamp, kHeatLamp,
                         pic::kLampGreen};
    EXPECT_EQ(expected.fan, 146);
    EXPECT_EQ(expected.tens, 147);
    EXPECT_EQ(expected.units, 154);
    // No blinking in Ready without an edit: every update shows the same.
    for (const Shown& shown : Updates(3)) EXPECT_EQ(shown, expected);
}

TEST_F(PanelDisplayTest, HeatLevelLightsExactlyOneLamp) {
    struct Case {
        int heat, low, mid, high;
    };
    for (const Case& c : std::vector<Case>{{0, kOffLamp, kOffLamp, kOffLamp},
                                           {1, kHeatLamp, kOffLamp, kOffLamp},
                                           {2, kOffLamp, kHeatLamp, kOffLamp},
                                           {3, kOffLamp, kOffLamp, kHeatLamp},
                                           {7, kOffLamp, kOffLamp, kOffLamp}}) {
        h.s().heat_level = c.heat;
        const Shown shown = Update();
        EXPECT_EQ(shown.low, c.low) << "heat " << c.heat;
        EXPECT_EQ(shown.mid, c.mid) << "heat " << c.heat;
        EXPECT_EQ(shown.high, c.high) << "heat " << c.heat;
    }
}

TEST_F(PanelDisplayTest, RunningHeatBlinksTheDecimalPoint) {
    h.s().machine_state = kRun;
    h.s().run_phase = kHeat;
    std::vector<int> tens;
    for (const Shown& shown : Updates(4)) {
        tens.push_back(shown.tens);
        EXPECT_EQ(shown.units, pic::Digit(9));
        EXPECT_EQ(shown.fan, pic::Digit(5));
    }
    // The point goes on and off on successive updates, whatever the start.
    EXPECT_NE(tens[0], tens[1]);
    EXPECT_EQ(tens[0], tens[2]);
    EXPECT_EQ(tens[1], tens[3]);
    EXPECT_TRUE((tens[0] == 146 && tens[1] == 147) || (tens[0] == 147 && tens[1] == 146));
}

TEST_F(PanelDisplayTest, WaitingForStartShowsThePointSteadily) {
    h.s().machine_state = kRun;
    h.s().run_phase = kWaitStart;
    for (const Shown& shown : Updates(3)) EXPECT_EQ(shown.tens, pic::DigitWithPoint(5));
}

TEST_F(PanelDisplayTest, CoolingShowsLetterCAndWholeMinutesLeft) {
    struct Case {
        int32_t cool_time;
        int units;
    };
    for (const Case& c : std::vector<Case>{{25, pic::Digit(3)},
                                           {30, pic::Digit(3)},
                                           {1, pic::Digit(1)},
                                           {0, pic::Digit(0)},
                                           {-4, pic::Digit(0)},
                                           {90, pic::Digit(9)},
                                           {91, pic::kLowBar},
                                           {99, pic::kLowBar}}) {
        for (int32_t phase : {kCool, kManualCool}) {
            ControllerState& s = h.s();
            s.machine_state = kRun;
            s.run_phase = phase;
            s.cool_time = c.cool_time;
            s.heat_level = 0;
            std::vector<int> tens;
            for (const Shown& shown : Updates(2)) {
                tens.push_back(shown.tens);
                EXPECT_EQ(shown.units, c.units) << "cool_time " << c.cool_time;
                EXPECT_EQ(shown.low, kOffLamp);
                EXPECT_EQ(shown.mid, kOffLamp);
                EXPECT_EQ(shown.high, kOffLamp);
            }
            // The letter C alternates with and without its point.
            EXPECT_NE(tens[0], tens[1]) << "cool_time " << c.cool_time;
            for (int t : tens) EXPECT_TRUE(t == pic::kLetterC || t == pic::kLetterCPoint) << t;
        }
    }
}

TEST_F(PanelDisplayTest, OffAndFinishedShowLowBarsAndKeepTheLinkLamp) {
    for (int32_t state : {kOff, kFinished}) {
        for (bool link : {true, false}) {
            h.s().machine_state = state;
            h.s().link_ok = link;
            const Shown expected{pic::kLowBar, pic::kLowBarPoint, pic::kLowBar, kOffLamp, kOffLamp, kOffLamp,
                                 link ? pic::kLampGreen : kOffLamp};
            for (const Shown& shown : Updates(2)) EXPECT_EQ(shown, expected) << "state " << state << " link " << link;
        }
    }
}

TEST_F(PanelDisplayTest, ZeroTimeShowsLowBarsButKeepsFanAndHeat) {
    h.s().roast_time = 0;
    const Shown shown = Update();
    EXPECT_EQ(shown.tens, pic::kLowBarPoint);
    EXPECT_EQ(shown.units, pic::kLowBar);
    EXPECT_EQ(shown.fan, pic::Digit(5));
    EXPECT_EQ(shown.high, kHeatLamp);
}

TEST_F(PanelDisplayTest, FanOutsideOneToNineShowsTheLowBar) {
    for (int32_t fan : {0, 10, -1}) {
        h.s().fan_level = fan;
        EXPECT_EQ(Update().fan, pic::kLowBar) << "fan " << fan;
    }
}

TEST_F(PanelDisplayTest, EditedValueBlinksAndShowsOnTheCommittingUpdate) {
    struct Case {
        uint8_t field;
        const char* name;
    };
    for (const Case& c : std::vector<Case>{{kEditFan, "fan"}, {kEditTime, "time"}, {kEditHeat, "heat"}}) {
        ControllerState& s = h.s();
        s.edit_field = c.field;
        s.edit_countdown = 4;
        s.blink_phase = 1;  // as a command leaves it: the value is visible at once
        std::vector<bool> blank;
        for (const Shown& shown : Updates(4)) {
            if (c.field == kEditFan) blank.push_back(shown.fan == pic::kBlank);
            if (c.field == kEditTime) blank.push_back(shown.tens == pic::kBlank && shown.units == pic::kBlank);
            if (c.field == kEditHeat) blank.push_back(shown.high == kOffLamp);
            // Only the edited value blinks.
            if (c.field != kEditFan) {
                EXPECT_EQ(shown.fan, pic::Digit(5)) << c.name;
            }
            if (c.field != kEditTime) {
                EXPECT_EQ(shown.units, pic::Digit(9)) << c.name;
            }
        }
        // Countdown 4, 3, 2, 1 -> the fourth update commits and shows it.
        EXPECT_EQ(blank, (std::vector<bool>{false, true, false, false})) << c.name;
        EXPECT_EQ(s.edit_countdown, 0);
    }
}

TEST(TemperatureTextTest, ShowsReadingsAndSensorStates) {
    struct Case {
        int32_t t;
        const char* fahrenheit;
        const char* celsius;
    };
    for (const Case& c : std::vector<Case>{{626, "ERR", "ERR"},
                                           {625, "625", "329"},
                                           {32, "32", "0"},
                                           {30, "30", "-1"},
                                           {0, "0", "-17"},
                                           {212, "212", "100"},
                                           {0xFF00, "Lo", "Lo"},
                                           {0xFFFF, "Lo", "Lo"},
                                           {0xFE00, "Hi", "Hi"},
                                           {0xFE37, "Hi", "Hi"},
                                           {0x1FF00, "Lo", "Lo"},
                                           {0x1000, "ERR", "ERR"}}) {
        EXPECT_EQ(TemperatureText(c.t, false), c.fahrenheit) << c.t;
        EXPECT_EQ(TemperatureText(c.t, true), c.celsius) << c.t;
    }
}

TEST(PanelLayoutTest, NameFontKeepsItsPixelSizeAtAnyDensity) {
    struct Case {
        float dpi;
        int tenths;
    };
    for (const Case& c : std::vector<Case>{{96, 220}, {120, 176}, {144, 146}}) {
        EXPECT_EQ(NameFontTenths(DisplayScale(c.dpi)), c.tenths) << c.dpi << " dpi";
    }
    EXPECT_FLOAT_EQ(DisplayScale(96), 1.0f);
    EXPECT_LT(DisplayScale(120), 1.25f);
    EXPECT_GT(DisplayScale(120), 1.249f);
    // A scale that is not above 0 keeps the base size instead of dividing by it.
    EXPECT_EQ(NameFontTenths(0.0f), 220);
    EXPECT_EQ(NameFontTenths(-0.5f), 220);
}

TEST(ButtonFaceTest, EachStateFallsBackToTheUpImage) {
    const ButtonImagesPresent all{true, true, true};
    const ButtonImagesPresent up_and_down{true, false, false};
    const ButtonImagesPresent up_only{};
    struct Case {
        bool pressed, focused, enabled;
        ButtonImagesPresent present;
        ButtonFace face;
    };
    for (const Case& c : std::vector<Case>{
             {false, false, true, all, ButtonFace::Up},
             {true, true, true, all, ButtonFace::Down},
             {false, true, true, all, ButtonFace::Focus},
             {false, true, false, all, ButtonFace::Focus},  // focus wins over disabled
             {false, false, false, all, ButtonFace::Disabled},
             {false, true, true, up_and_down, ButtonFace::Up},  // PROGRAM focused
             {false, false, false, up_and_down, ButtonFace::Up},
             {true, false, true, up_and_down, ButtonFace::Down},
             {true, false, true, up_only, ButtonFace::Up},
         }) {
        EXPECT_EQ(ChooseButtonFace(c.pressed, c.focused, c.enabled, c.present), c.face)
            << c.pressed << c.focused << c.enabled;
    }
}

}  // namespace
