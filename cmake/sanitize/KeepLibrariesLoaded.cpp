// Linked into every program of the sanitized build. Libraries opened at run
// time (the OpenGL driver above all) are never unmapped: LeakSanitizer then
// still counts what their globals hold as reachable, rather than reporting
// it as leaked from an unknown module at exit.
extern "C" int dlclose(void*) {
    return 0;
}
