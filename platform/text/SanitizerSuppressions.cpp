// What the sanitizers cannot see through in the font libraries, for sanitizer builds only.
//
// Fontconfig keeps its patterns and character sets behind offsets instead of pointers, so
// the leak checker cannot see that the font map (alive until exit) still holds them.
// Pango hands fontconfig work to threads of its own and waits on GLib's futex-based locks,
// which the thread checker does not know about, so the hand-over looks like a race.
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
           "race:libpangoft2-1.0.so\n";
}
#endif
