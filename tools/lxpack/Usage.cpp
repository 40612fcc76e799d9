#include "Usage.h"

namespace {

const char kIntroduction[] =
    "Usage: lxpack COMMAND [OPTION]... ARGUMENT...\n"
    "Makes and inspects launchers: the launcher program (lxlauncher) followed by\n"
    "an archive of embedded files. 'lxpack COMMAND --help' shows one command.\n";

// The options of the one-command forms, shared by create and init.
#define LX_JAR_OPTIONS                                                         \
  "    --main-jar JAR       the program's jar\n"                               \
  "    --main-class CLASS   its main class; needed only when the jar's\n"      \
  "                         manifest names none (no Main-Class)\n"             \
  "    --java RANGE         the Java versions it runs on: N (that release,\n"  \
  "                         17 takes 17.0.9), N+ (N or newer), N-M (N\n"       \
  "                         through M); 1.8 is 8\n"                            \
  "    --cli                a command-line program: no title, status lines\n"  \
  "                         or dots. With or without it the program runs in\n" \
  "                         the user's working directory and standard\n"       \
  "                         output is the program's alone (the launcher's\n"   \
  "                         lines go to standard error)\n"                     \
  "    --title TEXT         the launcher's title (default: the manifest's\n"   \
  "                         Implementation-Title, else the jar's name; with\n" \
  "                         --cli none unless given)\n"                        \
  "    --java-download URL  where users without a matching Java get one,\n"    \
  "                         shown when none is found\n"                        \
  "    --jvm-option OPT     an option for java, such as -Xmx1g (repeat for\n"  \
  "                         more); it reaches java as one argument, as it\n"   \
  "                         is but for two names, replaced by the folders'\n"  \
  "                         paths: $APP_DIR (the unpacked --app-dir, needed\n" \
  "                         then) and $LAUNCHER_DIR (where the launcher\n"     \
  "                         is); also written ${APP_DIR}; $$ is a dollar,\n"   \
  "                         any other $ stays as it is. In single quotes:\n"   \
  "                         --jvm-option '-Dant.home=$APP_DIR'\n"              \
  "    --class-path JAR     another jar the program needs (repeat for more)\n" \
  "    --app-dir DIR        a folder the program needs beside its jar,\n"      \
  "                         unpacked before the start; symbolic links in it\n" \
  "                         are carried as what they point to\n"               \
  "    --app-dir-property NAME  the system property naming that folder\n"      \
  "                         (default lx.app.dir)\n"

const char kCreate[] =
    "  lxpack create --main-jar JAR [--main-class CLASS] --java RANGE [--cli]\n"
    "               [--title TEXT] [--java-download URL] [--jvm-option OPT]...\n"
    "               [--class-path JAR]... [--app-dir DIR]\n"
    "               [--compress | --no-compress] [-a ARCH | -s PROGRAM]\n"
    "               [--sign KEY] -o OUTPUT\n"
    "      Writes a launcher for the program in JAR, with every file it needs\n"
    "      made by lxpack: instructions that find a Java and launch it, one JVM\n"
    "      description (RANGE, from JAVA_HOME, JDK_HOME, the usual install\n"
    "      places and PATH), a launch script that passes the user's arguments\n"
    "      on unchanged and ends with the program's exit status, and the\n"
    "      verification class. Refused when JAR cannot be read as a jar, its\n"
    "      main class is not in it, or its class file needs a newer Java than\n"
    "      the oldest RANGE admits. Each file a manifest's Class-Path makes it\n"
    "      carry is named on standard error; one that is no zip file is\n"
    "      refused.\n" LX_JAR_OPTIONS
    "    --compress           store JAR and the jars it carries deflated; the\n"
    "                         launcher inflates them while extracting them\n"
    "                         (default: each one that deflating makes at least\n"
    "                         a tenth smaller)\n"
    "    --no-compress        store them as they are\n"
    "    -a, -s, -o, --sign   as below\n"
    "\n"
    "  lxpack create [-a ARCH | -s PROGRAM] -o OUTPUT [-k KIND] [--force]\n"
    "               [--sign KEY]\n"
    "               [ENTRY-OPTION]... TYPE=FILE...\n"
    "      Writes the launcher program followed by every FILE to OUTPUT (through\n"
    "      a temporary file, so OUTPUT is never left half-written) with the\n"
    "      program's mode, and records a CRC-32C checksum of every FILE, which\n"
    "      the launcher checks before it uses anything.\n"
    "      Tag files (instructions, jvm, launch-script) are parsed as the\n"
    "      launcher parses them, and the result is checked before it replaces\n"
    "      OUTPUT. A launcher that could not work is refused before anything is\n"
    "      written: no instructions script; JVM descriptions without a\n"
    "      verification archive; an instructions file that is no instructions\n"
    "      script (an unknown command, a GOTO or JMP0 to a missing label); a\n"
    "      launch script without COMMAND; ILAUNCH, VERIFY, EXECUTE_LAUNCHER or\n"
    "      INSTALL_JVM naming an entry the launcher does not hold; two entries\n"
    "      of one name.\n"
    "    -a, --arch ARCH      the processor the launcher is for: x86_64 or\n"
    "                         aarch64 (arm64); default: this machine's. The\n"
    "                         program is lxlauncher-ARCH or lxlauncher next to\n"
    "                         lxpack\n"
    "    -s, --stub PROGRAM   the launcher program to put first (its\n"
    "                         architecture must be ARCH when both are given)\n"
    "    -o, --output FILE    the launcher to write; never one of the files it\n"
    "                         is made from (the program, a FILE, a file in a\n"
    "                         folder), whatever name reaches it\n"
    "    -k, --kind N         launcher-kind byte, 0 to 255 (default 0)\n"
    "    --force              write a launcher that could not work anyway,\n"
    "                         showing why as warnings\n"
    "    --no-checksums       record no checksums, as older versions did\n"
    "    --sign KEY           sign the launcher with the secret key KEY, as\n"
    "                         lxpack sign does: OUTPUT.minisig beside it\n"
    "    Entry options apply to the next TYPE=FILE only:\n"
    "    --id N               the id instructions use for the file, 0 to\n"
    "                         4294967295 or -1 (default: its position, from 0)\n"
    "    --name NAME          its name in the index (default: FILE's base name)\n"
    "    --compressed N,SIZE  FILE is an archive that unpacks to N files of SIZE\n"
    "                         bytes in all (enlarges the free-space check)\n"
    "    --compress           store FILE deflated: the launcher inflates it\n"
    "                         while extracting it (not for tag files and folders)\n"
    "    TYPE is a name or a number:\n"
    "      0 instructions   2 launch-script   4 jvm-installer   6 application\n"
    "      1 jvm            3 classpath       5 verify          7 launcher\n"
    "      8 app-dir: FILE is a directory, packed compressed with its files\n"
    "        (links carried as what they point to; no devices, pipes or\n"
    "        sockets) and unpacked whole\n";

const char kInit[] =
    "  lxpack init --main-jar JAR [--main-class CLASS] --java RANGE [--cli]\n"
    "             [--title TEXT] [--java-download URL] [--jvm-option OPT]...\n"
    "             [--class-path JAR]... [--app-dir DIR] -o DIR\n"
    "      Writes the files lxpack create --main-jar would pack\n"
    "      (instructions.txt, java.jvm, launch.txt, Verify.jar) into DIR, made\n"
    "      if missing, to be edited, and shows the lxpack create command that\n"
    "      packs them. A file of those names in DIR is never replaced.\n" LX_JAR_OPTIONS;

const char kList[] =
    "  lxpack list [-p] LAUNCHER\n"
    "      Shows the launcher kind, the program's architecture, whether the\n"
    "      file carries checksums, and the file index with each entry's\n"
    "      checksum (- where it has none); a deflated entry's length is what it\n"
    "      takes in the file, and its size unpacked follows.\n"
    "    -p, --porcelain      tab-separated lines for scripts: first\n"
    "                         kind KIND, then arch ARCH (unknown when the file\n"
    "                         starts with no launcher program), then per entry\n"
    "                         entry TYPE ID LENGTH OFFSET COMPRESSED FILES SIZE\n"
    "                         CHECKSUM NAME (COMPRESSED: 0 stored as it is, 1\n"
    "                         compressed into FILES files of SIZE bytes, 3\n"
    "                         deflated, 1 file of SIZE bytes unpacked)\n";

const char kCheck[] =
    "  lxpack check LAUNCHER\n"
    "      Checks that the file starts with a launcher program of a known\n"
    "      architecture, that it is complete, the trailer and the index, that\n"
    "      every entry lies inside the file, matches its checksum and has a\n"
    "      name the launcher extracts, and that every tag file parses. Prints\n"
    "      each problem, naming the entry; exit status 1 when there is one,\n"
    "      else the architecture and the number of entries.\n";

const char kExtract[] =
    "  lxpack extract [-C DIR] LAUNCHER [NAME]...\n"
    "      Copies the named entries, or all, into DIR (default: the current\n"
    "      directory), each as a new file. Nothing is extracted when an entry\n"
    "      asked for does not match its checksum.\n";

const char kKeys[] =
    "  lxpack keys [--no-password] [--force] -o NAME\n"
    "      Writes a new key pair for signing launchers, in minisign's formats:\n"
    "      NAME.key, the secret key (mode 0600; keep it, and keep it secret),\n"
    "      and NAME.pub, the public key to publish. Either file existing stops\n"
    "      it, unless --force.\n"
    "      The secret key is encrypted with a password (scrypt, as minisign\n"
    "      does). On a terminal the password is asked for twice, without echo;\n"
    "      otherwise it is the first line of standard input, as for minisign:\n"
    "        printf '%s\\n' \"$PASSWORD\" | lxpack keys -o release\n"
    "    -o, --output NAME    the key pair's name, with its directory\n"
    "    --no-password        leave the secret key unencrypted (for a key that\n"
    "                         a build machine keeps safe in other ways)\n"
    "    --force              replace an existing key pair\n";

const char kSign[] =
    "  lxpack sign -k KEY FILE...\n"
    "      Writes FILE.minisig beside each FILE: a signature in minisign's format\n"
    "      (Ed25519 of the file's BLAKE2b-512 hash) whose trusted comment names\n"
    "      the file, its size and this lxpack. KEY is a secret key of lxpack\n"
    "      keys or of minisign -G; its password is read as for keys, once.\n"
    "    -k, --key KEY        the secret key file\n";

const char kVerify[] =
    "  lxpack verify (-p PUBFILE | -P KEY) [-x SIGFILE] FILE\n"
    "      Checks FILE against its signature FILE.minisig with the publisher's\n"
    "      public key, and prints the trusted comment when the signature is\n"
    "      good. Exit status 1, with a message saying which, when the\n"
    "      signature was made with another key, the file was changed since it\n"
    "      was signed, or the signature (or its trusted comment) is damaged.\n"
    "      Signatures of minisign are checked too, also its legacy ones (of\n"
    "      the file itself rather than its hash), as minisign -V does.\n"
    "    -p, --public-key-file PUBFILE  the public key file (NAME.pub)\n"
    "    -P, --public-key KEY the public key as text (its second line)\n"
    "    -x, --signature SIGFILE  the signature (default: FILE.minisig)\n";

const char kEnd[] =
    "\n"
    "  lxpack --help | --version\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 wrong command line.\n";

}  // namespace

std::string fullUsage() {
  return std::string(kIntroduction) + "\n" + kCreate + "\n" + kInit + "\n" + kList + "\n" + kCheck + "\n" + kExtract +
         "\n" + kKeys + "\n" + kSign + "\n" + kVerify + kEnd;
}

const char* commandHelp(const std::string& command) {
  if (command == "create") return kCreate;
  if (command == "init") return kInit;
  if (command == "list") return kList;
  if (command == "check") return kCheck;
  if (command == "extract") return kExtract;
  if (command == "keys") return kKeys;
  if (command == "sign") return kSign;
  if (command == "verify") return kVerify;
  return nullptr;
}
