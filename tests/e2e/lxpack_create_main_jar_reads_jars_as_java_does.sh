#!/usr/bin/env bash
# lxpack create --main-jar finds the main class in jars of every shape java
# runs: a stored manifest with CR LF line ends and a class name wrapped onto
# a second line, a deflated manifest with the attribute's name in other
# case, an executable jar with a shell script in front, a jar of more than
# 65535 entries (ZIP64 records), a multi-release jar with the class under
# META-INF/versions/, and a main class given by --main-class that is in a
# --class-path jar. Each launcher runs its program on a real JDK.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
export JAVA_HOME=$(real_jdk 17)

package=org.example.a.rather.lengthy.package_name.that.makes.the.manifest.wrap
mkdir -p src classes
cat > src/Main.java <<JAVA
package $package;
public class Main {
  public static void main(String[] args) { System.out.println("ran " + args[0]); }
}
JAVA
javac --release 17 -d classes src/Main.java || fail "javac failed"

python3 - "$package" <<'PY' || fail "the test jars could not be made"
import sys, zipfile
package = sys.argv[1]
main = package + ".Main"
path = package.replace(".", "/") + "/Main.class"
code = open("classes/" + path, "rb").read()

def wrap(line):
    data = line.encode()
    pieces = [data[:72]] + [b" " + data[i:i + 71] for i in range(72, len(data), 71)]
    return b"\r\n".join(pieces) + b"\r\n"

def jar(name, manifest, entries, compression=zipfile.ZIP_STORED, manifest_compression=None):
    with zipfile.ZipFile(name, "w", compression) as z:
        if manifest is not None:
            z.writestr(zipfile.ZipInfo("META-INF/MANIFEST.MF"), manifest,
                       compress_type=manifest_compression or compression)
        for entry, data in entries:
            z.writestr(entry, data)

jar("wrapped.jar", b"Manifest-Version: 1.0\r\n" + wrap("Main-Class: " + main) + b"\r\n", [(path, code)])
jar("lower.jar", ("Manifest-Version: 1.0\nmain-class: " + main + "\nCreated-By: test\n\n").encode(), [(path, code)],
    zipfile.ZIP_DEFLATED)
jar("plain.jar", ("Main-Class: " + main + "\n").encode(), [(path, code)], zipfile.ZIP_DEFLATED)
with open("executable.jar", "wb") as out:
    out.write(b"#!/bin/sh\nexec java -jar \"$0\" \"$@\"\n")
    out.write(open("plain.jar", "rb").read())
jar("many.jar", ("Main-Class: " + main + "\n").encode(),
    [("data/%05d.txt" % i, b"") for i in range(70000)] + [(path, code)])
jar("versioned.jar", ("Main-Class: " + main + "\nMulti-Release: true\n").encode(),
    [("META-INF/versions/17/" + path, code)])
jar("library.jar", None, [(path, code)])
jar("nothing.jar", ("Manifest-Version: 1.0\n").encode(), [("readme.txt", b"no classes here")])
PY

[ "$(od -An -tx1 -j $(( $(stat -c %s many.jar) - 22 - 20 )) -N 4 many.jar | tr -d ' ')" = 504b0607 ] ||
  fail "many.jar has no ZIP64 locator, so it tests nothing of ZIP64"

# launcher_runs NAME LXPACK-OPTIONS...
launcher_runs() {
  local name=$1
  shift
  "$LXPACK" create "$@" --java 17+ --cli -o "$name.bin" || fail "lxpack create refused $name: $*"
  expect_eq "what the launcher of $name runs" "ran $name" "$("./$name.bin" "$name")"
}
launcher_runs wrapped --main-jar wrapped.jar
launcher_runs lower --main-jar lower.jar
launcher_runs executable --main-jar executable.jar
launcher_runs many --main-jar many.jar
launcher_runs versioned --main-jar versioned.jar
launcher_runs library --main-jar nothing.jar --class-path library.jar --main-class "$package.Main"
expect_clean_tmp "the launchers"
