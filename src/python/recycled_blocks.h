#pragma once

#include <cstddef>

// Memory for the large arrays the module hands to numpy. A search's answer
// is fresh memory, and on a virtual machine that gives freed memory back to
// its host, or on any machine after the kernel zeroes it, its first touch
// can cost as much as the search: a script that asks for one answer after
// another, dropping the last, would pay it every time. So the last two large
// blocks numpy releases are kept (at most 256 MiB), and a new array of the
// same size takes one of them. Smaller blocks come and go through malloc.

// Room for bytes, reused or malloc'ed; null when the memory is not there.
void* takeBlock(std::size_t bytes);

// Gives back a block of takeBlock (null: nothing), to keep or free.
void giveBackBlock(void* block);
