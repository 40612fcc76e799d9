#!/usr/bin/env bash
# scripts/demo installs what building and running the demo needs, not the
# test toolchain (clang, qemu, debootstrap, the cross compiler, the X
# server, ...), and configures a tree of its own without the tests and the
# other architectures, so that nothing it builds needs them; the test
# command still installs everything. The package sets are the ones
# scripts/install-deps itself would install (its --list names them).
source "$(dirname "$0")/common.inc"
deps=$LX_SOURCE_DIR/scripts/install-deps

"$deps" --list demo > demo.txt || fail "install-deps --list demo ended with $?"
"$deps" --list > all.txt || fail "install-deps --list ended with $?"
[ -s demo.txt ] || fail "the demo needs no package at all?"
for package in cmake g++ python3 default-jdk-headless zlib1g-dev libsodium-dev; do
  grep -qxF "$package" demo.txt || fail "the demo set lacks $package, which building the demo needs"
done
missing=$(grep -vxF -f all.txt demo.txt || true)
[ -z "$missing" ] || fail "the test command would not install what the demo needs: $missing"
for package in clang libclang-rt-14-dev clang-format g++-aarch64-linux-gnu qemu-user debootstrap busybox-static strace \
  xvfb zenity x11-utils xdotool imagemagick openjdk-17-jre libseccomp-dev libgtest-dev googletest ccache time passwd minisign; do
  grep -qxF "$package" all.txt || fail "the test command does not install $package"
  ! grep -qxF "$package" demo.txt || fail "the demo installs $package, which only the tests need"
done
set +e
"$deps" --list tests > /dev/null 2>&1
status=$?
set -e
expect_eq "an unknown set" 2 "$status"

# What scripts/demo asks for: stand-ins for install-deps and cmake record
# their arguments.
mkdir -p repo/scripts bin
cp "$LX_SOURCE_DIR/scripts/demo" repo/scripts/demo
printf '#!/bin/sh\necho "$*" > "%s/install-deps.args"\n' "$T" > repo/scripts/install-deps
chmod +x repo/scripts/install-deps
cat > bin/cmake <<FAKE
#!/bin/sh
echo "\$*" >> "$T/cmake.args"
case "\$1" in
  --build)
    mkdir -p build/demo
    printf '#!/bin/sh\\nexit 0\\n' > build/demo/setup.bin
    chmod +x build/demo/setup.bin ;;
esac
FAKE
chmod +x bin/cmake
PATH=$T/bin:$PATH repo/scripts/demo 2> /dev/null || fail "scripts/demo ended with $?"
expect_eq "install-deps set" "demo" "$(cat install-deps.args)"
configure=$(head -n 1 cmake.args)
expect_contains "configure of a new tree" "-DLX_TESTS=OFF" "$configure"
expect_contains "configure of a new tree" "-DLX_CROSS=OFF" "$configure"

# Those options, given to the real cmake, make a tree whose demo target
# builds neither the tests nor another architecture's program.
read -r -a options <<< "${configure#-S . -B build }"
(cd "$LX_SOURCE_DIR" && cmake -S . -B "$T/tree" "${options[@]}" > "$T/configure.log") ||
  fail "the demo's configure failed: $(tail -5 configure.log)"
targets=$(cmake --build tree --target help)
expect_contains "the tree's targets" "demo" "$targets"
for target in unit_tests lxlauncher_aarch64; do
  ! grep -qw "$target" <<< "$targets" || fail "the demo's tree builds $target"
done
