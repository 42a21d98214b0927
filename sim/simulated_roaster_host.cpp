#include "simulated_roaster_host.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

SimulatedRoasterHost::SimulatedRoasterHost(const RoasterModel::Options& options, QObject* parent)
    : QObject(parent), model_(options) {
    clock_.start();
    pump_timer_.setSingleShot(true);
    pump_timer_.setTimerType(Qt::PreciseTimer);
    connect(&pump_timer_, &QTimer::timeout, this, &SimulatedRoasterHost::Pump);
    model_.on_frame = [this](const ReceivedFrame& frame) {
        if (on_frame) on_frame(frame);
    };
}

SimulatedRoasterHost::~SimulatedRoasterHost() { Close(); }

#if defined(Q_OS_UNIX)

bool SimulatedRoasterHost::Start(std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        Close();
        return false;
    };
    if (Running()) return true;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return fail("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return fail("grantpt");
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
    char name[128] = {};
#if defined(__linux__)
    if (::ptsname_r(master_, name, sizeof name) != 0) return fail("ptsname");
#else
    const char* n = ::ptsname(master_);
    if (!n) return fail("ptsname");
    std::strncpy(name, n, sizeof name - 1);
#endif
    device_path_ = name;
    // Raw bytes both ways from the start, before the console configures
    // its side; holding the slave open keeps the master readable while the
    // console closes and reopens the port between attempts.
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) return fail("open slave");
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");

    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SimulatedRoasterHost::OnReadable);
    return true;
}

void SimulatedRoasterHost::OnReadable() {
    uint8_t buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            model_.Receive(buffer, static_cast<std::size_t>(n), NowMs());
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // EAGAIN: all read. EIO cannot happen while the slave is held open.
        break;
    }
    Pump();
}

void SimulatedRoasterHost::Pump() {
    if (!Running()) return;
    for (;;) {
        const std::vector<uint8_t> bytes = model_.TakeDue(NowMs());
        if (bytes.empty()) break;
        // A full terminal buffer (nobody reads the port) drops the bytes,
        // as a line with nobody listening would.
        const ssize_t written = ::write(master_, bytes.data(), bytes.size());
        (void)written;
        if (on_sent) on_sent(bytes);
    }
    if (const auto due = model_.NextDueMs()) {
        const int64_t wait = *due - NowMs();
        pump_timer_.start(static_cast<int>(wait > 0 ? wait : 0));
    }
}

void SimulatedRoasterHost::Close() {
    pump_timer_.stop();
    notifier_.reset();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

#else

bool SimulatedRoasterHost::Start(std::string* error) {
    if (error) *error = "the simulated roaster needs pseudo-terminals (Linux or another Unix system)";
    return false;
}
void SimulatedRoasterHost::OnReadable() {}
void SimulatedRoasterHost::Pump() {}
void SimulatedRoasterHost::Close() { pump_timer_.stop(); }

#endif

void SimulatedRoasterHost::PowerOff() {
    model_.SendPowerOff(NowMs());
    Pump();
}

void SimulatedRoasterHost::Vanish() { Close(); }
