// The user's own directories under the package's conf directory: the directory that holds the
// saved-settings files and its overlay directory, made when the settings program's window is built.
#pragma once

// Makes the current user's conf directory and its overlay directory ("<conf>/<user>/overlay",
// user from LOGNAME, else USER) with their missing parents, then gives both mode 0775 so that the
// filter, running as the print system's user, can read the saved settings. False when no user is
// found or the user name is not a safe path component, when the directories cannot be made, or
// when a mode cannot be set (both are still tried).
bool MakeConfDirs();
