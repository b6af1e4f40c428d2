#pragma once

#include <sys/types.h>
#include <unistd.h>

// Root writes through any permission, so a read-only program directory only
// stays unwritten for root when the program runs as an ordinary user. This
// switches the process's effective user and group to an unprivileged one
// while it lives, and back to root afterwards; for anyone but root it does
// nothing, since the permissions already hold for them.
class EffectiveUser
{
public:
    static constexpr uid_t kUnprivileged = 65534; // "nobody" on Debian

    EffectiveUser() = default;
    ~EffectiveUser() { leave(); }
    EffectiveUser(const EffectiveUser &) = delete;
    EffectiveUser &operator=(const EffectiveUser &) = delete;

    static bool isRoot() { return ::geteuid() == 0; }

    // False when the switch failed; the process is then unchanged.
    bool enterUnprivileged()
    {
        if (!isRoot() || m_switched)
            return true;
        if (::setegid(gid_t(kUnprivileged)) != 0)
            return false;
        if (::seteuid(kUnprivileged) != 0) {
            [[maybe_unused]] const int ignored = ::setegid(0);
            return false;
        }
        m_switched = true;
        return true;
    }

    void leave()
    {
        if (!m_switched)
            return;
        // The real and saved user stay root, so these cannot fail.
        [[maybe_unused]] const int user = ::seteuid(0);
        [[maybe_unused]] const int group = ::setegid(0);
        m_switched = false;
    }

private:
    bool m_switched = false;
};
