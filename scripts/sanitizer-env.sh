# Sourced by the sanitized and fuzzing runs: what the sanitizers do on a finding, and the
# suppressions for the system's libraries (Mesa, X11, freeglut), each with its reason.
supp="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/sanitizers"
# Stop at the first error; catch stack use after return and initialisation order as well.
# verify_asan_link_order=0 lets run-sanitized.sh preload Mesa's driver ahead of the runtime.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
