#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "comm_settings.h"
#include "port_list_errors.h"
#include "port_records.h"

namespace {

using ::testing::ElementsAre;

TEST(PortRecords, CleanUpFillsMissingNames) {
    struct Case {
        std::string port_name, friendly, description;
        std::string want_friendly, want_description;
    };
    const Case cases[] = {
        {"COM3", "", "", "COM3", "COM3"},
        {"COM2", "Modem (COM2)", "", "Modem (COM2)", "Modem"},
        {"COM3", "(COM3)", "", "(COM3)", "(COM3)"},  // nothing before " ("
        {"COM4", "Modem (COM4) x", "", "Modem (COM4) x", "Modem (COM4) x"},  // ")" is not last
        {"COM5", "A (B) (COM5)", "", "A (B) (COM5)", "A (B) (COM5)"},  // the first ")" is not last
        {"COM6", "Modem (COM6)", "Kept", "Modem (COM6)", "Kept"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        std::vector<SSerInfo> records{SSerInfo{"path", c.port_name, c.friendly, false, c.description}};
        CleanUpPortRecords(records);
        EXPECT_EQ(records[0].friendly_name, c.want_friendly) << c.friendly;
        EXPECT_EQ(records[0].description, c.want_description) << c.friendly;
    }
}

TEST(PortRecords, TheBridgeIsListedByItsUsbIdsAndOtherPortsAsReported) {
    const std::vector<SystemPort> system{
        {"/dev/ttyS0", "ttyS0", "", false, 0, 0},
        {"/dev/ttyUSB0", "ttyUSB0", "USB2.0-Serial", true, 0x1a86, 0x7523},
        {"/dev/ttyUSB1", "ttyUSB1", "USB Serial", true, 0x1a86, 0x5523},
        {"/dev/ttyUSB2", "ttyUSB2", "FT232R USB UART", true, 0x0403, 0x6001},
        {"/dev/ttyUSB3", "ttyUSB3", "", true, 0x1a86, 0x55d4},  // another chip of the same maker
        {"/dev/ttyACM0", "ttyACM0", "", false, 0x1a86, 0x7523},  // ids unknown
    };
    std::vector<SSerInfo> out{SSerInfo{"stale", "", "", false, ""}};
    BuildPortList(system, std::nullopt, out);
    ASSERT_EQ(out.size(), system.size());
    auto row = [&](std::size_t i) {
        const SSerInfo& r = out[i];
        return r.device_path + "|" + r.port_name + "|" + r.friendly_name + "|" + (r.usb ? "usb" : "-") + "|" +
               r.description;
    };
    EXPECT_EQ(row(0), "/dev/ttyS0|ttyS0|ttyS0|-|ttyS0");
    EXPECT_EQ(row(1), "/dev/ttyUSB0|ttyUSB0|USB-SERIAL CH341A (ttyUSB0)|usb|USB-SERIAL CH341A");
    EXPECT_EQ(row(2), "/dev/ttyUSB1|ttyUSB1|USB-SERIAL CH341A (ttyUSB1)|usb|USB-SERIAL CH341A");
    EXPECT_EQ(row(3), "/dev/ttyUSB2|ttyUSB2|FT232R USB UART (ttyUSB2)|usb|FT232R USB UART");
    EXPECT_EQ(row(4), "/dev/ttyUSB3|ttyUSB3|ttyUSB3|usb|ttyUSB3");
    EXPECT_EQ(row(5), "/dev/ttyACM0|ttyACM0|ttyACM0|-|ttyACM0");
}

TEST(PortRecords, AForcedDeviceComesFirstAsTheBridgeAndIsNotListedTwice) {
    const std::vector<SystemPort> system{
        {"/dev/ttyS0", "ttyS0", "", false, 0, 0},
        {"/dev/pts/3", "pts/3", "", false, 0, 0},
    };
    std::vector<SSerInfo> out;
    BuildPortList(system, std::string("/dev/pts/3"), out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].device_path, "/dev/pts/3");
    EXPECT_EQ(out[0].friendly_name, "USB-SERIAL CH341A (pts/3)");
    EXPECT_EQ(out[0].description, "USB-SERIAL CH341A");
    EXPECT_EQ(out[1].device_path, "/dev/ttyS0");

    BuildPortList(system, std::string("COM7"), out);
    EXPECT_EQ(out[0].friendly_name, "USB-SERIAL CH341A (COM7)");
    EXPECT_EQ(out.size(), 3u);
}

TEST(CommSettings, ParsesTheSettingsString) {
    const auto s = ParseCommSettings("9600,n,8,1");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->baud, 9600);
    EXPECT_EQ(s->parity, CommSettings::Parity::None);
    EXPECT_EQ(s->data_bits, 8);
    EXPECT_EQ(s->stop_bits, CommSettings::StopBits::One);

    const auto e = ParseCommSettings("19200,E,7,1.5");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->parity, CommSettings::Parity::Even);
    EXPECT_EQ(e->data_bits, 7);
    EXPECT_EQ(e->stop_bits, CommSettings::StopBits::OneAndHalf);

    for (const char* bad : {"", "9600", "9600,n,8", "9600,n,8,1,", "x,n,8,1", "9600,q,8,1", "9600,n,9,1",
                            "9600,n,8,3", "0,n,8,1", "99999999,n,8,1", "-9600,n,8,1"})
        EXPECT_FALSE(ParseCommSettings(bad).has_value()) << bad;
}

TEST(PortListErrors, CodesAreWrittenInLowerCaseHex) {
    EXPECT_EQ(FormatPortListError(port_list_error::kClassDevs, 0xE000020Bul),
              "SetupDiGetClassDevs failed. (err=e000020b)");
    EXPECT_EQ(FormatPortListError(port_list_error::kEnumKey, 5), "Could not read from HKLM\\Enum");
}

}  // namespace
