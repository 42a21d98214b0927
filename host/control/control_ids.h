// Identifiers of the main window's controls and timers.
#pragma once

namespace ctl {
constexpr int kSerial = 1000;
constexpr int kNameBox = 1003;
constexpr int kCreate = 1011;
constexpr int kSelect = 1012;
constexpr int kEdit = 1013;
constexpr int kDelet = 1014;
constexpr int kRight = 1018;
constexpr int kUp = 1019;
constexpr int kDown = 1020;
constexpr int kMode = 1021;
constexpr int kPower = 1022;
constexpr int kSave = 1023;
constexpr int kCancel = 1024;
constexpr int kFanDigit = 1026;
constexpr int kTensDigit = 1027;
constexpr int kUnitsDigit = 1028;
constexpr int kClockPicker = 1075;
constexpr int kClockIcon = 1077;
constexpr int kTemperature = 1078;
constexpr int kHeatLow = 1079;
constexpr int kHeatMid = 1080;
constexpr int kHeatHigh = 1081;
constexpr int kLinkLamp = 1082;
constexpr int kProgram = 1083;
constexpr int kBackground = 1086;
}  // namespace ctl

// Main-window timers.
constexpr int kControlTimer = 1;   // 500 ms control tick
constexpr int kLinkTimer = 2;      // port search, hello, upload wait
constexpr int kHoldTimer = 3;      // 300 ms button hold
constexpr int kDownloadTimer = 4;  // 50 ms program download

constexpr int kControlPeriodMs = 500;
constexpr int kLinkStartPeriodMs = 100;
constexpr int kLinkPeriodMs = 300;
constexpr int kHoldPeriodMs = 300;
constexpr int kDownloadPeriodMs = 50;

// Dialog results.
constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
// The program ends because the link cannot go on; it exits with a failure.
constexpr int kResultAbort = 3;
