// Adoption of overlay files: a program outside the package leaves files for a user in the
// temporary overlay directory ("<tmp overlay dir>/<user>"); the settings program moves them into
// the user's conf overlay directory while it holds the overlay lock, so that producer and settings
// program never work on that directory at the same time.
//
// The temporary tree is world-writable, so nothing found there is trusted: the source directory
// must be a real directory (not a link) owned by the user who runs the program, only regular files
// are taken (never through a link), and a source file is removed only after its whole content is
// in place under the target name.
#pragma once

// Moves every regular file of the current user's temporary overlay directory into the user's
// conf overlay directory (user from LOGNAME, else USER), replacing files of the same name. Each
// copy goes to a temporary file beside its target and is renamed over the target only when every
// byte was read and written; a file that failed keeps its source and leaves the target as it was.
// Returns the number of files moved; 0 when there is no user, no usable source directory, no
// target directory or no lock.
int AdoptOverlayFiles();
