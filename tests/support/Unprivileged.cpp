#include "Unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {
struct Ids {
    uid_t uid;
    gid_t gid;
};

Ids nobody() {
    const passwd* user = ::getpwnam("nobody");
    const group* grp = ::getgrnam("nogroup");
    return {user ? user->pw_uid : uid_t(65534), grp ? grp->gr_gid : gid_t(65534)};
}
} // namespace

Unprivileged::Unprivileged() : m_wasRoot(::geteuid() == 0) {
    if (!m_wasRoot) {
        m_active = true;
        return;
    }
    const Ids ids = nobody();
    // The saved ids stay root's, so the destructor may take them back.
    m_active = ::setgroups(0, nullptr) == 0 && ::setresgid(ids.gid, ids.gid, 0) == 0 &&
               ::setresuid(ids.uid, ids.uid, 0) == 0;
}

Unprivileged::~Unprivileged() {
    if (!m_wasRoot)
        return;
    [[maybe_unused]] const int u = ::setresuid(0, 0, 0);
    [[maybe_unused]] const int g = ::setresgid(0, 0, 0);
    const gid_t rootGroup = 0;
    [[maybe_unused]] const int s = ::setgroups(1, &rootGroup);
}

QStringList Unprivileged::programPrefix() {
    if (::geteuid() != 0)
        return {};
    return {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
}
