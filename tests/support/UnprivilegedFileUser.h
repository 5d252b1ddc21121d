#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// Root reads and writes every file whatever its mode. While one of these is alive, file
// access is checked as for the user nobody; for any other user it changes nothing.
class UnprivilegedFileUser {
  public:
    UnprivilegedFileUser() : active_(::geteuid() == 0) {
        if (active_) {
            ::setfsgid(Nobody);
            ::setfsuid(Nobody);
        }
    }
    ~UnprivilegedFileUser() {
        if (active_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    UnprivilegedFileUser(const UnprivilegedFileUser&) = delete;
    UnprivilegedFileUser& operator=(const UnprivilegedFileUser&) = delete;

  private:
    static constexpr unsigned Nobody = 65534;
    bool active_;
};
