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

void onSignal(int sig) {
    const int saved = errno;  // the interrupted code may be about to read it
    const char b = char(sig);
    [[maybe_unused]] auto n = ::write(g_fds[0], &b, 1);
    errno = saved;
}

}  // namespace

void installQuitSignals(std::function<void()> onQuit, std::function<void()> onHangUp) {
    if (g_fds[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0) return;
    auto* notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [onQuit = std::move(onQuit), onHangUp = std::move(onHangUp)] {
                         char buf[16];
                         bool quit = false, hangUp = false;
                         for (ssize_t n; (n = ::read(g_fds[1], buf, sizeof buf)) > 0;)
                             for (ssize_t i = 0; i < n; ++i)
                                 (buf[i] == SIGHUP && onHangUp ? hangUp : quit) = true;
                         // A quit wins: reading the files again on the way out is pointless.
                         if (quit)
                             onQuit();
                         else if (hangUp)
                             onHangUp();
                     });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

}  // namespace zrk
