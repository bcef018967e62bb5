# Sourced by the checks run from the host side of the prefix, with their arguments RUNNER E2E_TESTS_EXE:
# the build and its Wine, the runner and the test program, and check NAME TEST, which notes a failure.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=$(realpath -m "${TWINSIFT_BUILD_DIR:-$here/build}")
arch=$("$here/scripts/host-arch.sh" "$build")
source "$here/scripts/wine-env.sh"
runner=$1 tests=$2
bin=$(dirname "$tests")
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
