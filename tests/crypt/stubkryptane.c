/* Stands in for the cipher library in tests: it loads, but lacks the buffer
 * routine that whole files are encrypted with. */
#if defined(_WIN32)
#define STUB_API __declspec(dllexport)
#else
#define STUB_API __attribute__((visibility("default")))
#endif

STUB_API int get_algorithm_count(void) {
    return 22;
}
