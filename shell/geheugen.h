// Memory for the points of a large file. Parsing a million points costs
// less than the fresh memory they land in: the system clears every page
// before its first use, and under a virtual machine a first touch costs
// several times more again. Large pages (2 MB on x86-64 Linux) are
// cleared and mapped far more cheaply, but the C library hands them out
// only to memory that asks for them.
#pragma once

#include <cstddef>

namespace zarvo {

// For the programs' main(): from now on the memory that the readers make
// ready (below) stays with the program and is found again by every thread.
// On systems without the means it does nothing.
void gebruikGrotePaginas();

// Makes about 'bytes' of memory ready ahead, in large pages, for what is
// allocated next; nothing is touched, so nothing is used until it is.
// Does nothing unless gebruikGrotePaginas() was called.
void maakGeheugenKlaar(std::size_t bytes);

}  // namespace zarvo
