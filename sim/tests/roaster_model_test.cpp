#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "bean_options.h"
#include "roaster_model.h"

namespace {

using ::testing::ElementsAre;

struct Piece {
    int64_t at_ms;
    std::vector<uint8_t> bytes;
};

// Everything the model writes up to `until_ms`, polled every millisecond.
std::vector<Piece> Drain(RoasterModel& m, int64_t from_ms, int64_t until_ms) {
    std::vector<Piece> out;
    for (int64_t t = from_ms; t <= until_ms; ++t)
        for (auto bytes = m.TakeDue(t); !bytes.empty(); bytes = m.TakeDue(t)) out.push_back({t, bytes});
    return out;
}

void Send(RoasterModel& m, const Frame& f, int64_t at_ms) { m.Receive(f.data(), f.size(), at_ms); }

Frame Status(uint8_t state_bits, uint8_t phase_bits, uint8_t fan, uint8_t time, uint8_t heat) {
    return MakeFrame(kCmdStatus, state_bits, phase_bits, fan, time, heat, 0, 0);
}

TEST(RoasterModel, AnswersHelloWithItsProgramPacedFrameByFrame) {
    RoasterModel::Options o;
    o.manual = {6, 45, 2};
    o.program.steps = {{7, 50, 2}, {9, 80, 3}};
    o.program.cooling = {4, 0};
    RoasterModel m(o);
    Send(m, HelloFrame(), 1000);
    const auto pieces = Drain(m, 1000, 1500);
    ASSERT_EQ(pieces.size(), 4u);
    const uint8_t commands[] = {kCmdUploadHeader, kCmdProgramStep, kCmdProgramStep, kCmdProgramEnd};
    const std::array<uint8_t, 3> values[] = {{6, 45, 2}, {7, 50, 2}, {9, 80, 3}, {4, 0, 0}};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto& b = pieces[i].bytes;
        ASSERT_EQ(b.size(), kFrameSize);
        EXPECT_EQ(b[0], 0xAA);
        EXPECT_EQ(b[13], 0xFA);
        EXPECT_EQ(b[4], commands[i]);
        EXPECT_EQ((std::array<uint8_t, 3>{b[7], b[8], b[9]}), values[i]) << i;
        EXPECT_EQ(pieces[i].at_ms, 1015 + 40 * static_cast<int64_t>(i));
    }
    EXPECT_EQ(m.hellos(), 1);
}

TEST(RoasterModel, RepliesToStatusFramesUnlessSilent) {
    RoasterModel m;
    Send(m, Status(0x04, 0x02, 5, 59, 3), 0);
    auto pieces = Drain(m, 0, 100);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].at_ms, 15);
    // A reply frame: the console's values back, and the room temperature at first.
    EXPECT_EQ(pieces[0].bytes, ToBytes(MakeFrame(kCmdStatus, 0x04, 0x02, 5, 59, 3, 0, 70)));

    m.faults.silent = true;
    Send(m, Status(0x04, 0x02, 5, 59, 3), 500);
    Send(m, HelloFrame(), 1000);
    EXPECT_TRUE(Drain(m, 500, 2000).empty());
    EXPECT_EQ(m.received().size(), 3u) << "a silent roaster still hears everything";
}

TEST(RoasterModel, FindsFramesInNoiseAndAcrossReads) {
    RoasterModel m;
    const Frame status = Status(0x02, 0x01, 5, 59, 3);
    std::vector<uint8_t> bytes{0x00, 0xAA, 0x13};
    bytes.insert(bytes.end(), status.begin(), status.end());
    m.Receive(bytes.data(), 9, 0);
    EXPECT_TRUE(m.received().empty());
    m.Receive(bytes.data() + 9, bytes.size() - 9, 5);
    ASSERT_EQ(m.received().size(), 1u);
    EXPECT_EQ(m.received()[0].bytes, status);
    EXPECT_EQ(m.console().state_bits, 0x02);
}

TEST(RoasterModel, StoresADownloadedProgram) {
    RoasterModel m;
    Send(m, ProgramFrame(kCmdProgramStep, 7, 50, 2), 0);
    Send(m, ProgramFrame(kCmdProgramStep, 9, 80, 3), 50);
    EXPECT_EQ(m.downloads(), 0);
    Send(m, ProgramFrame(kCmdProgramEnd, 4, 30, 0), 100);
    EXPECT_EQ(m.downloads(), 1);
    RoasterProgram want;
    want.steps = {{7, 50, 2}, {9, 80, 3}};
    want.cooling = {4, 30};
    EXPECT_EQ(m.program(), want);
    EXPECT_TRUE(Drain(m, 0, 500).empty()) << "download frames are not answered";
}

TEST(RoasterModel, FaultsSplitFramesAndReplaceRepliesByGarbage) {
    RoasterModel m;
    m.faults.split_frames = true;
    Send(m, Status(0x02, 0x01, 5, 59, 3), 0);
    auto pieces = Drain(m, 0, 100);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].bytes.size() + pieces[1].bytes.size(), kFrameSize);
    EXPECT_EQ(pieces[1].at_ms - pieces[0].at_ms, 20);

    RoasterModel g;
    g.faults.garbage_every = 2;
    for (int i = 0; i < 4; ++i) Send(g, Status(0x02, 0x01, 5, 59, 3), i * 500);
    pieces = Drain(g, 0, 2000);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].bytes.size(), kFrameSize);
    EXPECT_LT(pieces[1].bytes.size(), kFrameSize);
    EXPECT_EQ(pieces[2].bytes.size(), kFrameSize);
    EXPECT_LT(pieces[3].bytes.size(), kFrameSize);
}

TEST(RoasterModel, FramesDueTogetherLeaveAFrameTimeApartEvenWhenPolledLate) {
    RoasterModel m;
    Send(m, Status(0x02, 0x01, 5, 59, 3), 0);
    Send(m, Status(0x02, 0x01, 6, 59, 3), 1);  // a key-repeat frame right after
    m.SendPowerOff(2);
    std::vector<int64_t> times;
    for (int64_t t : {200, 200, 200, 216, 231, 250})
        if (!m.TakeDue(t).empty()) times.push_back(t);
    EXPECT_THAT(times, ElementsAre(200, 216, 231));
}

TEST(ThermalModel, BelievableRoastCurve) {
    ThermalModel t(70.0);
    ThermalInputs heat{true, 3, 5};
    for (int s = 0; s < 6 * 60; ++s) t.Advance(1.0, heat);
    EXPECT_GT(t.temperature_f(), 350.0);
    EXPECT_LT(t.temperature_f(), 400.0);
    for (int s = 0; s < 4 * 60; ++s) t.Advance(1.0, heat);
    EXPECT_GE(t.temperature_f(), 390.0) << "after ten minutes at high heat";
    EXPECT_LE(t.temperature_f(), 420.0);

    ThermalModel low(70.0), calm(70.0);
    for (int s = 0; s < 600; ++s) {
        low.Advance(1.0, {true, 1, 5});
        calm.Advance(1.0, {true, 3, 2});
    }
    EXPECT_LT(low.temperature_f(), 280.0);
    EXPECT_LT(calm.temperature_f(), t.temperature_f() - 10) << "less fan, slower roast";

    const double hot = t.temperature_f();
    ThermalInputs cool{true, 0, 5};
    for (int s = 0; s < 60; ++s) t.Advance(1.0, cool);
    EXPECT_LT(t.temperature_f(), hot - 100.0) << "cooling is quick";
    for (int s = 0; s < 4 * 60; ++s) t.Advance(1.0, cool);
    EXPECT_LT(t.temperature_f(), 100.0);
}

// Five minutes of heating as the console drives it, then one minute of
// cooling at a low and at a high fan: the more air, the cooler the beans.
TEST(RoasterModel, AHigherFanCoolsTheBeansFaster) {
    double after_cooling[2] = {};
    const uint8_t fans[2] = {2, 9};
    for (int i = 0; i < 2; ++i) {
        RoasterModel m;
        int64_t t = 0;
        for (; t <= 5 * 60 * 1000; t += 500) Send(m, Status(0x04, 0x02, 5, 59, 3), t);
        const double hot = m.temperature_f();
        for (const int64_t end = t + 60 * 1000; t <= end; t += 500) Send(m, Status(0x04, 0x04, fans[i], 30, 0), t);
        EXPECT_LT(m.temperature_f(), hot - 50) << "fan " << int(fans[i]);
        after_cooling[i] = m.temperature_f();
    }
    EXPECT_LT(after_cooling[1], after_cooling[0] - 50) << "fan 9 against fan 2";
}

// Between runs the roasted beans make way for green ones: a second roast
// of a session starts at the room's temperature with all its moisture, so
// it roasts as the first did (first crack's slowing included); the first
// starts with the beans as they were set up.
TEST(RoasterModel, EachRunAfterTheFirstIsANewBatch) {
    RoasterModel::Options options;
    options.beans.airflow = Airflow::HotAir;
    RoasterModel m(options);
    m.thermal().set_temperature_f(150);
    int64_t t = 0;
    const auto roast = [&] {
        Send(m, Status(0x04, 0x02, 5, 59, 2), t);
        const double start = m.temperature_f();
        for (const int64_t end = t + 10 * 60 * 1000; t < end; t += 500) Send(m, Status(0x04, 0x02, 5, 59, 2), t);
        const double dropped = m.temperature_f();
        for (const int64_t end = t + 4 * 60 * 1000; t < end; t += 500) Send(m, Status(0x04, 0x04, 9, 40, 0), t);
        for (const int64_t end = t + 60 * 1000; t < end; t += 500) Send(m, Status(0x01, 0x00, 5, 0, 0), t);
        return std::make_pair(start, dropped);
    };
    const auto first = roast();
    EXPECT_EQ(first.first, 150);
    roast();
    EXPECT_GT(m.temperature_f(), 120) << "still warm after cooling";
    const auto third = roast();
    EXPECT_EQ(third.first, 70);
    RoasterModel fresh(options);
    t = 0;
    const auto from_room = [&] {
        for (; t < 10 * 60 * 1000; t += 500) Send(fresh, Status(0x04, 0x02, 5, 59, 2), t);
        return fresh.temperature_f();
    }();
    EXPECT_NEAR(third.second, from_room, 0.5);
}

// The bean temperature after `seconds` under `inputs` from the room.
double BeansAfter(const BeanResponse& r, const ThermalInputs& inputs, int seconds) {
    ThermalModel t(r);
    for (int s = 0; s < seconds; ++s) t.Advance(1.0, inputs);
    return t.temperature_f();
}

BeanResponse With(void (*change)(BeanResponse&)) {
    BeanResponse r;
    change(r);
    return r;
}

TEST(ThermalModel, BatchHeatRoomFanAndLagChangeHowTheBeansAnswer) {
    const BeanResponse plain;
    const ThermalInputs mid{true, 2, 5};
    const double four_minutes = BeansAfter(plain, mid, 240);
    struct Case {
        const char* what;
        BeanResponse response;
        double low, high;  // the change at four minutes on heat 2, fan 5
    };
    const Case cases[] = {
        {"a bigger batch heats slower", With([](BeanResponse& r) { r.batch_scale = 1.25; }), -40, -15},
        {"a smaller batch heats faster", With([](BeanResponse& r) { r.batch_scale = 0.8; }), 15, 40},
        {"a weaker heater", With([](BeanResponse& r) { r.heat_scale = 0.85; }), -40, -20},
        {"a cold room", With([](BeanResponse& r) { r.room_f = 55; }), -16, -14},
        {"a lagging heater", With([](BeanResponse& r) { r.heater_lag_seconds = 30; }), -30, -10},
    };
    for (const Case& c : cases) {
        const double change = BeansAfter(c.response, mid, 240) - four_minutes;
        EXPECT_GT(change, c.low) << c.what;
        EXPECT_LT(change, c.high) << c.what;
    }

    // More fan heats faster, or slower when its effect is reversed; at
    // fan 5 the reversed roaster is the plain one.
    const BeanResponse reversed = With([](BeanResponse& r) { r.fan_effect = -1; });
    EXPECT_GT(BeansAfter(plain, {true, 2, 9}, 240), BeansAfter(plain, {true, 2, 1}, 240) + 20);
    EXPECT_LT(BeansAfter(reversed, {true, 2, 9}, 240), BeansAfter(reversed, {true, 2, 1}, 240) - 20);
    EXPECT_EQ(BeansAfter(reversed, mid, 240), four_minutes);

    // The heater's lag delays the answer to a change of heat, not its end.
    ThermalModel lagging(With([](BeanResponse& r) { r.heater_lag_seconds = 30; }));
    ThermalModel at_once(plain);
    for (int s = 0; s < 10; ++s) {
        lagging.Advance(1.0, {true, 3, 5});
        at_once.Advance(1.0, {true, 3, 5});
    }
    EXPECT_LT(lagging.temperature_f() - 70, 0.3 * (at_once.temperature_f() - 70)) << "ten seconds in";
    EXPECT_GT(BeansAfter(lagging.response(), {true, 3, 5}, 600), 390) << "about 400 °F after ten minutes";
}

BeanResponse HotAir(void (*change)(BeanResponse&) = [](BeanResponse&) {}) {
    BeanResponse r = With(change);
    r.airflow = Airflow::HotAir;
    return r;
}

// The hot-air roaster: more fan heats faster early and slower late, a roast
// on heat 2 cracks in 7 to 9 minutes and ends near 430 °F at twelve, its
// rate of rise drops as first crack's moisture leaves, and the batch's
// options act on it.
TEST(ThermalModel, HotAirFanBrakesLateAndTheRoastCracksOnTime) {
    const BeanResponse plain = HotAir();
    EXPECT_GT(BeansAfter(plain, {true, 2, 9}, 60), BeansAfter(plain, {true, 2, 1}, 60) + 10) << "early";
    for (int heat = 1; heat <= 3; ++heat) {
        ThermalModel late(plain);
        late.set_temperature_f(430);
        EXPECT_LT(late.SettledRate({true, heat, 9}), late.SettledRate({true, heat, 1}) - 3) << "late, heat " << heat;
        late.set_temperature_f(150);
        EXPECT_GT(late.SettledRate({true, heat, 9}), late.SettledRate({true, heat, 1}) + 3) << "early, heat " << heat;
    }

    ThermalModel t(plain);
    const ThermalInputs mid{true, 2, 5};
    double crack_s = 0, rise_before = 0, rise_after = 0;
    for (int s = 1; s <= 12 * 60; ++s) {
        const double before = t.temperature_f();
        const double settled = t.SettledRate(mid);
        t.Advance(1.0, mid);
        if (!crack_s && t.temperature_f() >= 390) crack_s = s;
        // The rise against what the air alone gives, a minute before and
        // at first crack.
        const double behind = settled - 60.0 * (t.temperature_f() - before);
        if (before >= 330 && before < 350) rise_before = std::max(rise_before, behind);
        if (before >= 385 && before < 395) rise_after = std::max(rise_after, behind);
    }
    EXPECT_GT(crack_s, 7 * 60);
    EXPECT_LT(crack_s, 9 * 60);
    EXPECT_GT(t.temperature_f(), 420);
    EXPECT_LT(t.temperature_f(), 440);
    EXPECT_GT(rise_after, rise_before + 4) << "°F a minute the moisture takes at first crack";

    const double four_minutes = BeansAfter(plain, mid, 240);
    struct Case {
        const char* what;
        BeanResponse response;
        double sign;  // of the change at four minutes
    };
    const Case cases[] = {
        {"a bigger batch", HotAir([](BeanResponse& r) { r.batch_scale = 1.25; }), -1},
        {"a stronger heater", HotAir([](BeanResponse& r) { r.heat_scale = 1.15; }), 1},
        {"a warm room", HotAir([](BeanResponse& r) { r.room_f = 90; }), 1},
        {"a lagging heater", HotAir([](BeanResponse& r) { r.heater_lag_seconds = 60; }), -1},
    };
    for (const Case& c : cases) EXPECT_GT(c.sign * (BeansAfter(c.response, mid, 240) - four_minutes), 8) << c.what;
}

TEST(BeanOptions, ReadEachOptionAndRefuseWhatDoesNotDo) {
    BeanResponse r;
    EXPECT_EQ(SetBeanOption(r, "batch-scale", "1.25"), "");
    EXPECT_EQ(SetBeanOption(r, "heat-scale", "0.85"), "");
    EXPECT_EQ(SetBeanOption(r, "room", "-5.5"), "");
    EXPECT_EQ(SetBeanOption(r, "fan-effect", "reversed"), "");
    EXPECT_EQ(SetBeanOption(r, "heater-lag", "30"), "");
    EXPECT_EQ(SetBeanOption(r, "airflow", "hot-air"), "");
    EXPECT_EQ(r.airflow, Airflow::HotAir);
    EXPECT_EQ(r.batch_scale, 1.25);
    EXPECT_EQ(r.heat_scale, 0.85);
    EXPECT_EQ(r.room_f, -5.5);
    EXPECT_EQ(r.fan_effect, -1.0);
    EXPECT_EQ(r.heater_lag_seconds, 30.0);
    const BeanResponse before = r;
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"batch-scale", "0"}, {"batch-scale", "1.2x"}, {"heat-scale", ""}, {"heat-scale", "nan"},
             {"room", "1e9"}, {"fan-effect", "normal "}, {"heater-lag", "-1"}, {"airflow", "drum"}}) {
        const std::string error = SetBeanOption(r, name, value);
        EXPECT_EQ(error.rfind("--" + name + " takes", 0), 0u) << name << " " << value << ": " << error;
    }
    EXPECT_EQ(r.batch_scale, before.batch_scale);
    EXPECT_EQ(r.heat_scale, before.heat_scale);
    EXPECT_EQ(r.room_f, before.room_f);
    EXPECT_EQ(r.fan_effect, before.fan_effect);
    EXPECT_EQ(r.heater_lag_seconds, before.heater_lag_seconds);
    EXPECT_EQ(r.airflow, before.airflow);
}

}  // namespace

TEST(RoasterModel, KeepsOnlyTheLatestFramesButReportsEveryOne) {
    RoasterModel::Options o;
    o.frame_log_limit = 10;
    RoasterModel m(o);
    int reported = 0;
    m.on_frame = [&](const ReceivedFrame&) { ++reported; };
    for (int i = 0; i < 1000; ++i) Send(m, Status(0x02, 0x01, 5, static_cast<uint8_t>(i % 100), 3), i * 500);
    EXPECT_EQ(reported, 1000);
    EXPECT_GE(m.received().size(), 10u);
    EXPECT_LT(m.received().size(), 20u) << "memory stays flat in a long run";
    EXPECT_EQ(m.received().back().bytes[8], 99) << "the newest frame is kept";
    EXPECT_EQ(m.received().back().at_ms, 999 * 500);
}
