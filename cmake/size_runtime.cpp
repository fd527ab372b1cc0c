// The parts of the C++ runtime that setup.exe and the uninstaller use, in place of
// libstdc++'s, whose versions pull in its whole exception machinery (see size.cmake). Linked
// into the two programs in a Release build with the GNU toolchain only.
//
// The programs are compiled without exceptions. Where libstdc++ would throw (memory
// exhausted, a string grown past its maximum, an index out of range) nothing could catch the
// exception and the process would end in std::terminate; these end it the same way, at once.
#include <cstdlib>
#include <new>

void* operator new(std::size_t cbSize) {
    if (void* p = std::malloc(cbSize ? cbSize : 1)) return p;
    std::abort();
}
void* operator new[](std::size_t cbSize) { return operator new(cbSize); }
void* operator new(std::size_t cbSize, const std::nothrow_t&) noexcept { return std::malloc(cbSize ? cbSize : 1); }
void* operator new[](std::size_t cbSize, const std::nothrow_t&) noexcept { return std::malloc(cbSize ? cbSize : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

// libstdc++'s failure hooks, called by the header code of the containers and strings.
namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_bad_function_call() { abort(); }
}  // namespace std
