#!/usr/bin/env bash
# Runs all tests under AddressSanitizer + UndefinedBehaviorSanitizer, and the concurrency tests
# under ThreadSanitizer. Usage: scripts/sanitize.sh [address|thread]...
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(address thread)
for kind in "${kinds[@]}"; do
  case "$kind" in
    address)
      bash scripts/asan-build.sh
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" QT_QPA_PLATFORM=offscreen \
        ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
      ;;
    thread)
      # -O1 and line tables (gcc's -g1), as for AddressSanitizer: ThreadSanitizer's guide asks for some
      # optimisation, and its reports need no more than the lines.
      cmake -S . -B build-tsan -G Ninja -DQUORVA_WERROR=${QUORVA_WERROR:-OFF} -DCMAKE_BUILD_TYPE=Debug -DQUORVA_BUILD_BENCH=OFF \
        -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" -DCMAKE_C_FLAGS_DEBUG="-g1 -O1" \
        -DQUORVA_SANITIZE=thread
      cmake --build build-tsan --target concurrency_tests
      # Some window tests run quorva-cli: QProcess forks only to exec it at once, which is safe.
      export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$PWD/tests/tsan.supp"
      log=build-tsan/concurrency-tests.log
      if ! QT_QPA_PLATFORM=offscreen ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" -L concurrency \
        --output-log "$log"; then
        # This runtime now and then fails to map its own shadow memory (ENOMEM) in a long test
        # program; that program runs once more. A report of a race, or any other failure, stands.
        if grep -q 'WARNING: ThreadSanitizer\|FATAL: ThreadSanitizer\|\[  FAILED  \]' "$log" \
          || ! grep -q 'ERROR: ThreadSanitizer failed to allocate' "$log"; then
          exit 1
        fi
        echo "sanitize: ThreadSanitizer could not map its memory; the failed test programs run again" >&2
        QT_QPA_PLATFORM=offscreen ctest --test-dir build-tsan --output-on-failure -L concurrency --rerun-failed
      fi
      ;;
    *) echo "unknown sanitizer build: $kind" >&2; exit 2 ;;
  esac
done
