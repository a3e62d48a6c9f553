#include "filter/job/HostFacts.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

char* GetHostNameString()
{
    // gethostname may leave the name unterminated when it is truncated; the last byte stays 0.
    char szName[256] = {};
    if (gethostname(szName, sizeof szName - 1) != 0) {
        return nullptr;
    }
    return strdup(szName);
}

DWORD GetHostAddress()
{
    struct ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) != 0) {
        return 0;
    }
    DWORD dwAddress = 0;
    for (const struct ifaddrs* p = pList; p != nullptr; p = p->ifa_next) {
        if (p->ifa_addr == nullptr || p->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        if ((p->ifa_flags & IFF_UP) == 0 || (p->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        struct sockaddr_in address;
        std::memcpy(&address, p->ifa_addr, sizeof address);
        dwAddress = address.sin_addr.s_addr;
        break;
    }
    freeifaddrs(pList);
    return dwAddress;
}

char* GetOsInfoString()
{
    struct utsname names;
    if (uname(&names) != 0) {
        return nullptr;
    }
    size_t cb = std::strlen(names.sysname) + std::strlen(names.release) + std::strlen(names.version) + 3;
    char* psz = static_cast<char*>(std::malloc(cb));
    if (psz == nullptr) {
        return nullptr;
    }
    snprintf(psz, cb, "%s %s %s", names.sysname, names.release, names.version);
    return psz;
}
