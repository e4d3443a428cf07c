// What the sanitizers cannot see through in the uninstrumented libraries the platform
// stands on, for sanitizer builds only. One definition per program: the build makes every
// program that links the base library pull this file in (see CMakeLists.txt).
//
// Fontconfig keeps its patterns and character sets behind offsets instead of pointers, so
// the leak checker cannot see that the font map (alive until exit) still holds them.
// Pango, and libvips for every render, hand work to threads of their own and wait on
// GLib's futex-based locks, which the thread checker does not know about, so their
// internal hand-overs look like races; they are told by their libvips, GLib or GObject
// frames. Our own code's hand-overs with those threads stay checked: a render and the
// kernels of ours that libvips runs on its workers hand over through an atomic the checker
// sees (VipsRuntime), so a picture freed after a render, or a kernel's state, never rests
// on a stack the checker would have to recall. cpp-httplib's server threads (the tests'
// loopback servers) hand work over through the library's own locks, built without the
// checker, likewise. The vector-code library libvips compiles its integer kernels with
// takes its one code-memory lock in a way the checker sees only half of, which it reports
// as the lock taken twice.
//
// The checker does not follow libvips' own calls, so it sees only part of what GObject's
// type lock goes through when libvips registers its types; in a program that also uses
// pango the lock then seems taken twice or in both orders with our font map's. Those
// reports come from GObject's type system alone.

// The name the build asks the linker for, so that it takes this file: the sanitizers'
// runtimes define the functions below weakly themselves, so asking for those takes nothing.
extern "C" const int mpSanitizerSuppressions = 0;
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// Quiet about the suppressions used, so that a program's error output stays its own.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\n"
           "race:libpangoft2-1.0.so\n"
           "called_from_lib:libvips.so\n"
           "race:libvips.so\n"
           "race:libglib-2.0.so\n"
           "race:libgobject-2.0.so\n"
           "race:libcpp-httplib.so\n"
           "deadlock:libgobject-2.0.so\n"
           "mutex:libgobject-2.0.so\n"
           "mutex:liborc-0.4.so\n";
}
#endif
