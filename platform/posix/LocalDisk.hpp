// Whether a folder lies on a file system kept on a disk of this machine (or in its memory),
// whose every wait for the storage is a block read the kernel counts for the process.
#pragma once

namespace quarnel {

// False for a share, a FUSE file system or one not known here, and when it cannot be asked.
bool OnLocalDisk(int folder);

}  // namespace quarnel
