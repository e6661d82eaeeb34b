// UUCP lock files (LCK..ttyUSB0 with the holder's process id in ASCII), which older serial
// programs use instead of flock, and the flock holder found in /proc/locks.
#pragma once

#include <sys/types.h>
#include <string>

// Where lock files live; /var/lock unless set. Empty: lock files are neither read nor made.
void setPortLockDirectory(std::string directory);
std::string portLockDirectory();

// The lock file that guards `device` (a resolved path): the directory plus "LCK.." and the
// device's last path component, as pppd, minicom and cu name it.
std::string lockFilePath(const std::string& device);

// The process id a lock file names, read as ASCII or as the old 4-byte binary form; 0 when
// the file is missing or names none.
pid_t lockFileOwner(const std::string& lockFile);

struct LockAttempt {
    enum class Outcome {
        Taken,     // `lockFile` now names this process; remove it with releaseLockFile
        Unusable,  // no lock directory to write in: flock alone guards the port
        Held,      // another live program holds it: `holder` (0 when unknown), `lockFile`
    };
    Outcome outcome = Outcome::Unusable;
    std::string lockFile;
    pid_t holder = 0;
};

// Creates the lock file for `device` atomically (written in full under another name, then
// linked into place). A lock file whose process is gone, or that names no process and is
// older than a few seconds, is stale and replaced.
LockAttempt takeLockFile(const std::string& device);
// Removes `lockFile` if it still names this process.
void releaseLockFile(const std::string& lockFile);

// The process holding an flock on the file at `path`, from /proc/locks; 0 when none is
// listed (or the holder lives in another pid namespace).
pid_t flockHolder(const std::string& path);
