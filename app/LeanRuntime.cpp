// Fernwick.exe's own versions of two parts of the static GNU C++ runtime it has no use for.
// The runtime's terminate handler names the type of an exception nobody caught, and brings
// a name demangler and a printf with it (60 KiB); the runtime's throws of the containers'
// errors build their messages with its older std::string (40 KiB). An uncaught exception
// ends the program either way, and no container error is caught anywhere: they end it at
// once. Only the release program links this file; the tests keep the runtime's own.
#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc()
{
    throw bad_alloc();
}
void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}
void __throw_length_error(const char*)
{
    abort();
}
void __throw_logic_error(const char*)
{
    abort();
}
void __throw_out_of_range(const char*)
{
    abort();
}
void __throw_out_of_range_fmt(const char*, ...)
{
    abort();
}
void __throw_invalid_argument(const char*)
{
    abort();
}
void __throw_bad_function_call()
{
    abort();
}
} // namespace std
