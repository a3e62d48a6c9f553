// Facts about the machine the job runs on, kept in the job context for the PJL job header.
#pragma once

#include "core/WinTypes.h"

// The host name as a new malloc'ed string; NULL when gethostname fails or memory runs out.
char* GetHostNameString();

// The IPv4 address (network byte order, as the socket address stores it) of the first interface
// that is up, is not a loopback and has an IPv4 address; 0 when there is none or the list cannot
// be read.
DWORD GetHostAddress();

// The system name, release and version joined by single blanks, as a new malloc'ed string; NULL
// when uname fails or memory runs out.
char* GetOsInfoString();
