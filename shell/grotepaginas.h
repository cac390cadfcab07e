// Fresh memory is the dearest part of reading a big file on a virtual
// machine: the kernel clears every new 4 kB page separately, which cost more
// than all the parsing of a million points together. The C library can hand
// out memory in 2 MB pages instead, but only reads that wish from the
// environment when the process starts. So the programs restart themselves
// once, at the very beginning, with that wish set.
#pragma once

namespace zarvo {

// Call first thing in main(). Returns when the process already runs with
// large pages, when they cannot be asked for here (other C libraries,
// sanitizer builds, which bring their own allocator) or when the restart
// fails; otherwise the process image is replaced and it does not return.
void vraagGrotePaginas(char** argv);

}  // namespace zarvo
