// Default options of the sanitizers for every test executable. The environment's
// ASAN_OPTIONS, LSAN_OPTIONS and UBSAN_OPTIONS still override them.

extern "C" {

const char* __asan_default_options() {
  return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:"
         "check_initialization_order=1";
}

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

const char* __lsan_default_options() {
  return "print_suppressions=0:suppressions=" QV_LSAN_SUPPRESSIONS_FILE;
}

}  // extern "C"
