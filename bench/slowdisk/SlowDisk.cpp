// Preloaded into a program (LD_PRELOAD), makes its medium slow as a USB stick or a network
// share is: each fsync and fdatasync waits ZRK_SLOW_MS milliseconds (500 unless set) before
// it is done. Counts them in ZRK_SLOW_COUNT's file when that is set, one byte a sync.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace {

void slowly() {
    const char* set = std::getenv("ZRK_SLOW_MS");
    const long ms = set ? std::atol(set) : 500;
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {
    }
    if (const char* count = std::getenv("ZRK_SLOW_COUNT")) {
        const int fd = ::open(count, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) {
            (void)!::write(fd, "s", 1);
            ::close(fd);
        }
    }
}

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd) {
    static const auto next = real<int (*)(int)>("fsync");
    slowly();
    return next(fd);
}

extern "C" int fdatasync(int fd) {
    static const auto next = real<int (*)(int)>("fdatasync");
    slowly();
    return next(fd);
}
