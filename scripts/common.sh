# Shared by scripts/run, scripts/test and the benchmarks (sourced).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

# True when this host can execute 32-bit x86 code (and so 32-bit Wine).
host_runs_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# build_windows ARCH: cross-builds pelvrin.exe (and the end-to-end test
# programs) for i686 or x86_64 in build/ARCH.
build_windows() {
  local arch=$1
  cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" >/dev/null
  cmake --build "$root/build/$arch" -j"$jobs"
}

# The architecture whose build runs under Wine here: the product's own i686
# where the host runs 32-bit code, else the x86_64 build of the same sources.
runnable_arch() {
  if host_runs_32bit; then echo i686; else echo x86_64; fi
}
