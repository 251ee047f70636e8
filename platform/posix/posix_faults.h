// A fault the tests can arm in the POSIX file layer, where no local file system produces it on demand:
// a close that reports data refused on its way to the disk, as a network or quota-bound disk may.
#pragma once

namespace plat::posix {

// After `after` more closes that succeed, the next close of a file reports failure. A negative value
// disarms it.
void FailCloseAfter(int after);

}  // namespace plat::posix
