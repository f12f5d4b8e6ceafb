#pragma once

#ifdef _WIN32

namespace kavrin::testing {

// Windows has no root that file permissions pass over.
class PermissionsBindRoot {
public:
  PermissionsBindRoot() {}
  ~PermissionsBindRoot() {}
  PermissionsBindRoot(const PermissionsBindRoot &) = delete;
  PermissionsBindRoot &operator=(const PermissionsBindRoot &) = delete;
};

} // namespace kavrin::testing

#else

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kavrin::testing {

// While alive, file permissions bind this thread even when it runs as root
// (as tests do in CI): the capabilities that override them are set aside.
class PermissionsBindRoot {
public:
  PermissionsBindRoot() {
    syscall(SYS_capget, &header_, saved_);
    __user_cap_data_struct bound[2] = {saved_[0], saved_[1]};
    bound[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
    syscall(SYS_capset, &header_, bound);
  }
  ~PermissionsBindRoot() { syscall(SYS_capset, &header_, saved_); }
  PermissionsBindRoot(const PermissionsBindRoot &) = delete;
  PermissionsBindRoot &operator=(const PermissionsBindRoot &) = delete;

private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
};

} // namespace kavrin::testing

#endif
