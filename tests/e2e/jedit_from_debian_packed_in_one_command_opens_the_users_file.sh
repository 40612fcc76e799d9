#!/usr/bin/env bash
# For real, on a virtual X server: jEdit from Debian's packages, a desktop
# program, packed with one lxpack command (its jar; Debian's /usr/share/jedit
# as the program's folder, whose doc is a link to /usr/share/doc/jedit,
# named in the property jEdit reads; the option its manifest's Add-Opens
# asks for, after which lxpack says nothing). Started from the user's
# folder with a relative file name, the launcher in another folder, it
# opens the user's file: jEdit shows the file's path in its window's
# title. The same through a link in a PATH folder. Both folders hold a
# file of the same name, which a jEdit started there would open instead.
# Quit from jEdit's window, the launcher ends with jEdit's status 0, and no
# process of the run, window or temporary file is left.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/debian_programs.inc"
need_debian_files /usr/bin/jedit /usr/share/jedit/jedit.jar /usr/share/jedit/modes/catalog
for tool in Xvfb xwininfo xdotool; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
done
[ -f "$JAVA_HOME/lib/libawt_xawt.so" ] ||
  fail "$JAVA_HOME cannot open windows (no lib/libawt_xawt.so): scripts/install-deps installs openjdk-17-jre"

# The server picks a free display number and writes it when it is ready.
exec 3>"$T/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$T/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
launcher=
# Every run is a session of its own (setsid), so whatever it started is
# found by the session id, which is the launcher's process id.
end_all() {
  if [ -n "$launcher" ]; then pkill -KILL -s "$launcher" || true; fi
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$T"
}
trap end_all EXIT
wait_for_file "$T/display"
export DISPLAY=":$(head -1 "$T/display")"

# jEdit keeps its settings in ~/.jedit of Java's user.home, which java takes
# from the password database, not from HOME: the private home is given to
# every java the run starts. The settings show the file's full path in the
# title, leave out the first start's welcome and tip windows, and open
# only the files named, not those of the run before.
export JAVA_TOOL_OPTIONS="-Duser.home=$HOME"
mkdir -p "$HOME/.jedit"
printf 'view.showFullPath=true\nfirstTime=false\ntip.show=false\nrestore=false\nrestore.cli=false\n' > "$HOME/.jedit/properties"

"$LXPACK" create --main-jar /usr/share/jedit/jedit.jar --java 11+ --app-dir /usr/share/jedit \
  --jvm-option '-Djedit.home=$APP_DIR' --jvm-option --add-opens=java.desktop/sun.awt=ALL-UNNAMED \
  -o "$HOME/apps/jedit.bin" 2>"$T/lxpack.err" || fail "lxpack create for jEdit ended with $?: $(cat "$T/lxpack.err")"
[ -z "$(grep -i warning "$T/lxpack.err" || true)" ] || fail "lxpack warned although the option was given: $(cat "$T/lxpack.err")"
link_in_path jedit
echo "the user's notes" > "$HOME/work/notes.txt"
echo "the user's list" > "$HOME/work/todo.txt"
decoy notes.txt "not the user's notes"
decoy todo.txt "not the user's list"

# jedit_window: the title of jEdit's editing window once it names a file
# (up to two minutes: the machine may be busy); fails when the launcher
# ends first. The window comes up with an empty buffer, "Untitled-1", and
# is named after the file once jEdit has read it.
jedit_window() {
  local i title
  for i in $(seq 1200); do
    # A window may go between xwininfo's listing and its questions about it
    # (jEdit's splash screen closes): that poll sees nothing and the next
    # one asks again.
    title=$({ xwininfo -root -tree 2>/dev/null || true; } | sed -n 's/^ *0x[0-9a-f]* "\(jEdit - [^"]*\)".*/\1/p' | head -1)
    if [ -n "$title" ] && ! [[ $title =~ ^"jEdit - Untitled-"[0-9]+$ ]]; then
      echo "$title"
      return 0
    fi
    kill -0 "$launcher" 2>/dev/null || break
    sleep 0.1
  done
  fail "no jEdit window appeared (launcher output: $(cat "$T/launcher.log"))"
}

# quit_jedit: quits as a user does, a click into the text and Ctrl+Q,
# again every ten seconds while the launcher runs, for up to two minutes.
quit_jedit() {
  local i window
  window=$(xdotool search --name '^jEdit - ' | head -1)
  for i in $(seq 12); do
    xdotool mousemove --window "$window" 380 300 click 1 2>/dev/null || true
    sleep 0.5
    xdotool key ctrl+q 2>/dev/null || true
    for _ in $(seq 95); do
      kill -0 "$launcher" 2>/dev/null || return 0
      sleep 0.1
    done
  done
}

# run_jedit WHAT FILE CMD...: starts CMD in the user's folder, expects the
# window titled with the user's FILE, quits jEdit and checks that the run
# ended with 0 and left nothing behind.
run_jedit() {
  local what=$1 file=$2 title
  shift 2
  (cd "$HOME/work" && PATH=$user_path exec setsid "$@") </dev/null >"$T/launcher.log" 2>&1 &
  launcher=$!
  title=$(jedit_window)
  expect_eq "$what: the window's title" "jEdit - ~/work/$file" "$title"
  quit_jedit
  finish "$launcher"
  expect_eq "$what: the launcher's status once jEdit was quit (output: $(cat "$T/launcher.log"))" 0 "$status"
  process_ended_in_session "$launcher" || fail "$what: processes of the run are left: $(ps -o pid,args -s "$launcher")"
  launcher=
  [ -z "$(xwininfo -root -tree | grep '"jEdit' || true)" ] || fail "$what: a jEdit window is left"
  expect_clean_tmp "$what"
}

# process_ended_in_session SID: no process of the session is left, within
# a minute.
process_ended_in_session() {
  local i
  for i in $(seq 600); do
    [ -z "$(ps -o pid= -s "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}

remember_folders
run_jedit "the launcher at ../apps" notes.txt ../apps/jedit.bin notes.txt
run_jedit "the launcher through a link in PATH" todo.txt jedit todo.txt
expect_folders_untouched
