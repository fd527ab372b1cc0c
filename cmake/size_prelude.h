// Force-included before every C++ source of the shipped programs in a Release build with the
// GNU toolchain (see size.cmake); never part of an MSVC build.
//
// - std::string is instantiated in our own objects, so unused members are garbage-collected
//   and no member compiled with exceptions comes from libstdc++ (libstdc++'s documented
//   setting -1: no explicit-instantiation declarations for basic_string only).
// - vsnprintf and snprintf are the system msvcrt's, wrapped by MinGW to the C99 contract
//   (terminated, the full length returned). libstdc++ selects MinGW's own formatter, which
//   brings its floating-point conversion along; the program formats %s and %d only.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1

#undef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 0
