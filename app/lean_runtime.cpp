// The parts of the C++ runtime the Windows program takes from here rather than from the static
// libstdc++. The program never throws or catches: a failed allocation or a broken container invariant
// ends it at once, as an uncaught exception would, but without linking the unwinder, the exception
// classes, their copy-on-write strings and the name demangler the runtime's terminate handler prints
// with. The prebuilt string members come with unwinding tables that the linker keeps whole, whether
// called or not; instantiated here they are plain code, and the linker drops the members nobody calls.
#include <cstdlib>
#include <new>
#include <string>

template class std::basic_string<char>;
template class std::basic_string<wchar_t>;

void* operator new(std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) std::abort();
    return block;
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace std {

void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }

}  // namespace std
