#include "core/platform/QuitSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zrk {
namespace {

int g_fds[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;  // the interrupted code may be about to read it
    const char b = 1;
    [[maybe_unused]] auto n = ::write(g_fds[0], &b, 1);
    errno = saved;
}

}  // namespace

void installQuitSignals(std::function<void()> onQuit) {
    if (g_fds[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0) return;
    auto* notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onQuit = std::move(onQuit)] {
        char buf[16];
        while (::read(g_fds[1], buf, sizeof buf) > 0) {
        }
        onQuit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

}  // namespace zrk
