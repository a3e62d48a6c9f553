// The package's fixed locations on a user's machine, defined once.
//
// Every directory the programs read or write is derived from these defaults. Installed programs
// use them as they are. Programs and tests built for testing (InstallPaths.cpp compiled with
// ORV_TEST_ROOT_OVERRIDE, see core/CMakeLists.txt) put a non-empty environment variable
// ORVALEN_TEST_ROOT in front of each of them, so that tests run the real code against a scratch tree.
#pragma once

#include <string>

namespace orv {

// Installed defaults (the printer package's layout).
inline constexpr const char kPackageShareDir[] = "/usr/local/share/orvalen/printer/";
inline constexpr const char kModelDataDir[] = "/usr/local/share/orvalen/printer/data/";
inline constexpr const char kConfDir[] = "/usr/local/share/orvalen/printer/conf/";
inline constexpr const char kPackageBinDir[] = "/usr/local/share/orvalen/printer/bin/";
// The companion program that stores a queue's PPD options and PPD in CUPS for the settings program.
inline constexpr const char kCompanionProgram[] = "/usr/local/share/orvalen/printer/bin/L_QW7RMTEKB";
// The system's directory of temporary files: the custom paper dialog's rewritten PPD goes there.
inline constexpr const char kTmpDir[] = "/tmp/";
inline constexpr const char kTmpPackageDir[] = "/tmp/orvalen/printer/";
inline constexpr const char kTmpOverlayDir[] = "/tmp/orvalen/printer/overlay/";
inline constexpr const char kOverlayLockPath[] = "/tmp/orvalen/printer/overlay.lock";
inline constexpr const char kSpoolDir[] = "/var/spool/.orvamfs/";
inline constexpr const char kSecurePrintSubdir[] = "secureprint/";
// Where the settings program is installed: on every user's PATH, so that it starts by its name.
inline constexpr const char kUserProgramDir[] = "/usr/local/bin/";
// Where desktop menus find the settings program's entry.
inline constexpr const char kDesktopEntryDir[] = "/usr/local/share/applications/";
// Where the compression library named by the queue's PPD is looked up.
inline constexpr const char kCompressLibDir[] = "/usr/lib/";

// The scratch root in force ("" in production).
std::string InstallRoot();

// A fixed location with the scratch root in front of it.
std::string InstalledPath(const char* defaultPath);

}  // namespace orv
