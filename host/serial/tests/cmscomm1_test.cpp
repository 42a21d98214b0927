// CMscomm1 on a pseudo-terminal: the receive threshold, writes, the error
// report of a vanished device, and the operations that must fail.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "cmscomm1.h"
#include "event_loop.h"

namespace {

// A pseudo-terminal whose master end the test writes and reads.
class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        path_ = ::ptsname(master_);
        slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ~PtyPair() { Close(); }
    void Close() {
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
        slave_ = master_ = -1;
    }
    bool Ok() const { return slave_ >= 0; }
    const std::string& path() const { return path_; }
    void Write(const std::vector<uint8_t>& bytes) { ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    std::vector<uint8_t> Read() {
        std::vector<uint8_t> out(256);
        const ssize_t n = ::read(master_, out.data(), out.size());
        out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

class CMscomm1Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Ok());
        com.OnComm = [this] {
            events.push_back(com.CommEvent());
            if (com.CommEvent() == kCommEventReceive) reads.push_back(com.Input());
        };
        com.SetInBufferSize(1024);
        com.SetOutBufferSize(1024);
        com.SetInputLen(0);
        com.SetInputMode(1);
        com.SetRThreshold(14);
        com.SetSettings("9600,n,8,1");
        com.SetCommPort(pty.path());
        com.SetPortOpen(true);
    }

    PtyPair pty;
    CMscomm1 com;
    std::vector<int> events;
    std::vector<std::vector<uint8_t>> reads;
};

TEST_F(CMscomm1Test, ReceiveEventWaitsForTheThresholdAndAReadTakesEverything) {
    pty.Write(std::vector<uint8_t>(7, 0x11));
    RunFor(150);
    EXPECT_TRUE(events.empty()) << "7 bytes are below the threshold of 14";
    pty.Write(std::vector<uint8_t>(13, 0x22));
    ASSERT_TRUE(RunUntil([&] { return !reads.empty(); }, 1000));
    RunFor(50);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].size(), 20u);
    EXPECT_EQ(reads[0].front(), 0x11);
    EXPECT_EQ(reads[0].back(), 0x22);
}

TEST_F(CMscomm1Test, OutputReachesTheDeviceAtOnce) {
    const std::vector<uint8_t> frame{0xAA, 0x55, 0x61, 0x74, 0x63, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xFA};
    com.SetOutBufferCount(0);
    com.SetOutput(frame);
    EXPECT_EQ(pty.Read(), frame) << "written without waiting for the event loop";
}

TEST_F(CMscomm1Test, AVanishedDeviceClosesThePortAndIsReportedOnce) {
    pty.Close();
    ASSERT_TRUE(RunUntil([&] { return !events.empty(); }, 1000));
    RunFor(300);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events[0] < 1 || events[0] > 5) << events[0];
    EXPECT_FALSE(com.PortOpen());
    EXPECT_THROW(com.SetOutBufferCount(0), SerialError);
    EXPECT_THROW(com.SetOutput({1, 2, 3}), SerialError);
}

TEST_F(CMscomm1Test, InvalidOperationsThrow) {
    EXPECT_THROW(com.SetPortOpen(true), SerialError) << "already open";
    EXPECT_THROW(com.SetCommPort("/dev/null"), SerialError) << "port changed while open";
    EXPECT_THROW(com.SetSettings("9600,x,8,1"), SerialError);
    com.SetPortOpen(false);
    EXPECT_FALSE(com.PortOpen());
    com.SetPortOpen(false);  // closing a closed port is no error
    EXPECT_THROW(com.Input(), SerialError);
    EXPECT_THROW(com.SetOutput({1}), SerialError);
    com.SetCommPort("/dev/kavolo-no-such-port");
    EXPECT_THROW(com.SetPortOpen(true), SerialError);
    EXPECT_FALSE(com.PortOpen());
}

}  // namespace
