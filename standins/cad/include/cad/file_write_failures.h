#pragma once

namespace cad {

// How many file writes through the host's file system have failed since the
// host started or was reset: a file that could not be created, written, closed or put in
// place (a read-only target included), or a folder lock not obtained. Lets
// the host's exit status tell a batch that something was not written.
int failedFileWrites();

}  // namespace cad
