#pragma once
// Root ignores permission bits, so a read-only directory stops nobody's writes in a test run
// as root (containers, CI). While alive, this drops the calling thread's power to override
// file permissions; capabilities are per thread, and the thread gets it back afterwards.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zrktest {

class WithoutRootOverride {
public:
    WithoutRootOverride() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, old_) != 0) return;
        __user_cap_data_struct reduced[2] = {old_[0], old_[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[cap / 32].effective &= ~(1u << (cap % 32));
        changed_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutRootOverride() {
        if (changed_) syscall(SYS_capset, &header_, old_);
    }
    WithoutRootOverride(const WithoutRootOverride&) = delete;
    WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct old_[2]{};
    bool changed_ = false;
};

}  // namespace zrktest
