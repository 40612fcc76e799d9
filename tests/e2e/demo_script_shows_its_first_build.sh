#!/usr/bin/env bash
# scripts/demo says that it is building, and shows the build going, when
# the demo has not been built yet (the first build takes minutes); later
# runs bring it up to date quietly. Its standard output stays the demo's.
# A stand-in cmake plays the build here.
source "$(dirname "$0")/common.inc"
mkdir -p repo/scripts bin
cp "$LX_SOURCE_DIR/scripts/demo" repo/scripts/demo
printf '#!/bin/sh\nexit 0\n' > repo/scripts/install-deps
chmod +x repo/scripts/install-deps
cat > bin/cmake <<'FAKE'
#!/bin/sh
case "$1" in
  --build)
    echo "[ 50%] Building CXX object lxlauncher"
    echo "[100%] Built target demo"
    mkdir -p build/demo
    printf '#!/bin/sh\necho "demo ran $*"\n' > build/demo/setup.bin
    chmod +x build/demo/setup.bin ;;
  *) echo "-- Configuring done" ;;
esac
FAKE
chmod +x bin/cmake
export PATH=$T/bin:$PATH

repo/scripts/demo -lx:version > first.out 2> first.err
expect_eq "first run: standard output is the demo's" "demo ran -lx:version" "$(cat first.out)"
expect_eq "first run: what it is doing" "scripts/demo: building the launcher and the demo in build/ (the first time takes a few minutes)
-- Configuring done
[ 50%] Building CXX object lxlauncher
[100%] Built target demo
scripts/demo: built build/demo/setup.bin; running it" "$(cat first.err)"

repo/scripts/demo a b > second.out 2> second.err
expect_eq "later run: standard output" "demo ran a b" "$(cat second.out)"
expect_eq "later run: quiet" "" "$(cat second.err)"
