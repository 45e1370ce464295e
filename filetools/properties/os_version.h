#pragma once
// The running system's version, as GetVersionEx reports it.

struct OsVersion {
    bool isNt = false; // the NT platform (NT, 2000 and later) rather than 95/98/Me
    unsigned major = 0;
    unsigned minor = 0;
};

// Windows: GetVersionEx. The native build is no Windows and answers "not NT, 0.0".
OsVersion GetOsVersion();
