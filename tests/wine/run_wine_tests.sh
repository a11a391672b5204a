#!/usr/bin/env bash
# The real tolvenek.exe under Wine, in Xvfb, in a fresh Wine prefix of its
# own, driven from outside by tolvenek_wine_driver.exe through window messages.
#
#   tests/wine/run_wine_tests.sh WIN_BUILD NATIVE_BUILD [win32|win64]
#
# WIN_BUILD holds app/win32/tolvenek.exe and tests/wine/tolvenek_wine_driver.exe
# of the cross build; NATIVE_BUILD holds tolvenek-cli and sample-game/ of the
# native build, whose packs the dialog's must equal byte for byte. The prefix
# is 32-bit for win32 (the shipped i686 build) and 64-bit for win64.
#
# Prints one "ok - ..." or "not ok - ..." line per check and closes with
# "N passed, N failed"; exits non-zero when a check failed. The screenshot of
# the dialog and the logs go to WIN_BUILD/wine-test-output/. Cases run one after
# another; every wait is bounded; every process and folder it starts is gone
# when it ends.
set -uo pipefail

win_build=$(cd "${1:?usage: run_wine_tests.sh WIN_BUILD NATIVE_BUILD [win32|win64]}" && pwd)
native_build=$(cd "${2:?native build folder}" && pwd)
arch=${3:-win32}

exe=$win_build/app/win32/tolvenek.exe
driver=$win_build/tests/wine/tolvenek_wine_driver.exe
cli=$native_build/tolvenek-cli
sample=$native_build/sample-game
out=$win_build/wine-test-output

case $arch in
  win32) wine=/usr/lib/wine/wine wineserver=/usr/lib/wine/wineserver reg_view=() ;;
  win64) wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64 reg_view=(/reg:32) ;;
  *) echo "unknown Wine architecture $arch" >&2; exit 2 ;;
esac
for needed in "$exe" "$driver" "$cli" "$sample/data/gamedata_x1.drs" "$wine" "$wineserver"; do
  [ -e "$needed" ] || { echo "missing: $needed" >&2; exit 2; }
done
for tool in Xvfb xwininfo import timeout; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done

passed=0
failed=0
work=$(mktemp -d /tmp/tolvenek-wine.XXXXXX)
xvfb_pid=""
dialog_pid=""

cleanup() {
  [ -n "$dialog_pid" ] && kill "$dialog_pid" 2>/dev/null
  WINEPREFIX=$work/prefix timeout 30 "$wineserver" -k 2>/dev/null
  WINEPREFIX=$work/prefix timeout 30 "$wineserver" -w 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$out"
rm -f "$out"/*.log "$out"/*.png
log=$out/wine-tests.log
: >"$log"

check() {  # check CONDITION-STATUS DESCRIPTION [WHY]
  if [ "$1" -eq 0 ]; then
    echo "ok - $2"
    passed=$((passed + 1))
  else
    echo "not ok - $2${3:+: $3}"
    failed=$((failed + 1))
  fi
}

# Z:\... as Wine names a Linux path.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

export WINEPREFIX=$work/prefix WINEARCH=$arch WINEDEBUG=-all
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

echo "# Wine: $("$wine" --version 2>/dev/null), prefix $arch in $WINEPREFIX" | tee -a "$log"
if ! timeout 300 "$wine" wineboot --init >>"$log" 2>&1; then
  check 1 "a fresh $arch Wine prefix is made" "wineboot failed; see $log"
  echo "$passed passed, $failed failed"
  exit 1
fi
timeout 60 "$wineserver" -w
check 0 "a fresh $arch Wine prefix is made"

# The display: Xvfb picks a free number itself.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >>"$log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  check 1 "Xvfb starts"
  echo "$passed passed, $failed failed"
  exit 1
fi
export DISPLAY=:$(head -n1 "$work/display")
unset WINEDLLOVERRIDES

reg() { timeout 60 "$wine" reg add "$@" /f >>"$log" 2>&1; }
# Without a window manager, Wine draws the caption itself (for the screenshot).
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N

# The game folders: copies of the sample, so the tests change nothing of it.
game=$work/game
cli_game=$work/cli-game
cp -r "$sample" "$game"
cp -r "$sample" "$cli_game"
game_win=$(winpath "$game")
reg 'HKLM\Software\LucasArts Entertainment Company LLC\Star Wars Galactic Battlegrounds: Clone Campaigns\1.0' \
  /v 'Game Path' /t REG_SZ /d "$game_win" "${reg_view[@]}"
check $? "the sample game folder is registered as \"Game Path\""

# ---- helpers for one run of the dialog ----

start_dialog() {  # start_dialog NAME
  (cd "$work" && exec "$wine" "$exe" >"$out/$1.stdout.log" 2>"$out/$1.stderr.log") &
  dialog_pid=$!
}

# Waits for the dialog's process (at most 60 s) and checks exit code 0.
finish_dialog() {  # finish_dialog NAME
  local waited=0
  while kill -0 "$dialog_pid" 2>/dev/null && [ $waited -lt 600 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$dialog_pid" 2>/dev/null; then
    kill "$dialog_pid"
    wait "$dialog_pid" 2>/dev/null
    dialog_pid=""
    check 1 "$1: the process ends" "still running after 60 s"
    return
  fi
  wait "$dialog_pid"
  local code=$?
  dialog_pid=""
  check $((code != 0)) "$1: the process exits with code 0" "it exited with $code"
}

drive() {  # drive NAME ACTION...
  local name=$1
  shift
  local output code
  output=$(timeout 600 "$wine" "$driver" "$@" 2>>"$log")
  code=$?
  echo "# driver ($name): $*" >>"$log"
  echo "$output" >>"$log"
  while IFS= read -r line; do
    case $line in
      "ok - "*) echo "ok - $name: ${line#ok - }"; passed=$((passed + 1)) ;;
      "not ok - "*) echo "not ok - $name: ${line#not ok - }"; failed=$((failed + 1)) ;;
    esac
  done <<<"$output"
  if [ $code -ne 0 ] && ! grep -q '^not ok - ' <<<"$output"; then
    check 1 "$name: the driver runs" "it exited with $code"
  fi
}

screenshot() {  # screenshot FILE
  local id
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Tolvenek": \("tolvenek.exe"/ {print $1; exit}')
  if [ -n "$id" ]; then
    import -window "$id" "$1" 2>>"$log"
  else
    import -window root "$1" 2>>"$log"
  fi
  [ -s "$1" ]
  check $? "a screenshot of the dialog is saved as $1"
}

# The custom scripts of a folder, in the order tolvenek-cli sorts them (the
# order the dialog's sorted controls must show), '|'-separated.
sorted_scripts() {  # sorted_scripts FOLDER [ONLY-THESE...]
  local folder=$1
  shift
  "$cli" --game-folder "$folder" --list 2>/dev/null |
    awk '/^Custom scripts in/ {on = 1; next} on && /^  / {print substr($0, 3)}' |
    while IFS= read -r name; do
      if [ $# -eq 0 ]; then echo "$name"; else
        for wanted in "$@"; do [ "$name" = "$wanted" ] && echo "$name"; done
      fi
    done | paste -sd'|'
}

same_file() {  # same_file A B DESCRIPTION
  cmp -s "$1" "$2"
  check $? "$3" "$(cmp "$1" "$2" 2>&1 | head -n1)"
}

# ---- case 1: the dialog as it starts, the groups, Add, Generate, Exit ----

chooser=$(sorted_scripts "$game")
first_script=${chooser%%|*}
start_dialog main
drive start find expect-controls 64 expect-text 1051 "$game_win" expect-text 1052 sample.rms \
  expect-entries 1049 "$chooser" expect-entries 1048 "" expect-focus 1 \
  expect-checked 1001 1047 0 expect-checked 1055 1055 0 \
  expect-enabled 1 1 expect-text 1 "Generate script" expect-no-box 300
screenshot "$out/tolvenek-dialog.png"

drive groups find \
  click 1047 expect-checked 1001 1023 1 expect-checked 1024 1046 0 expect-checked 1047 1047 1 \
  click 1047 expect-checked 1001 1046 0 \
  click 1055 expect-checked 1024 1042 1 expect-checked 1001 1023 0 expect-checked 1043 1046 0 \
  click 1055 expect-checked 1001 1046 0

# A script that the chooser does not offer (made after it was filled).
typed="Typed Later.rms"
cp "$game/random/$first_script" "$game/random/$typed"
cp "$game/random/$first_script" "$cli_game/random/$typed"
added=$(sorted_scripts "$game" "$first_script" "$typed")
drive add find set 1049 "$first_script" click 1050 set 1049 "$typed" click 1050 \
  expect-no-box 300 expect-entries 1048 "$added" \
  set 1049 missing.rms click 1050 expect-box Error "File not found" expect-entries 1048 "$added"

drive generate find check 1001 check 1024 check 1043 set 1052 mixed.rms \
  generate expect-box Tolvenek "Script generated"
"$cli" --game-folder "$cli_game" --map Desert --map Kashyyyk --map Forest \
  --custom "$first_script" --custom "$typed" --output mixed.rms >>"$log" 2>&1
same_file "$game/random/mixed.rms" "$cli_game/random/mixed.rms" \
  "generate: the pack is byte-identical to tolvenek-cli's for the same choices"

mkdir -p "$work/not-a-game/random"
drive wrong-folder find set 1051 "$(winpath "$work/not-a-game")" generate \
  expect-box Error "Cannot open gamedata_x1.drs. Make sure game path is correct" \
  expect-enabled 1 1 expect-text 1 "Generate script" \
  set 1051 "$game_win" generate expect-box Tolvenek "Script generated"

echo "half a pack" >"$game/random/ZOQ_TMP_FILE.tmp"
drive exit find click 2 wait-gone
finish_dialog exit
[ ! -e "$game/random/ZOQ_TMP_FILE.tmp" ]
check $? "exit: ZOQ_TMP_FILE.tmp is removed from the random folder"

# ---- cases 2 and 3: the close box and Escape ----

for way in close escape; do
  echo "half a pack" >"$game/random/ZOQ_TMP_FILE.tmp"
  start_dialog "$way"
  drive "$way" find "$way" wait-gone
  finish_dialog "$way"
  [ ! -e "$game/random/ZOQ_TMP_FILE.tmp" ]
  check $? "$way: ZOQ_TMP_FILE.tmp is removed from the random folder"
done

# ---- case 4: Browse, cancelled and confirmed ----

start_dialog browse
drive browse find browse-cancel expect-text 1051 "$game_win" expect-entries 1049 "$(sorted_scripts "$game")" \
  set 1051 "$game_win\\" browse-ok expect-text 1051 "$game_win" click 2 wait-gone
finish_dialog browse
paths=$(tr -d '\r' <"$out/browse.stdout.log" | grep '^path: ')
expected_paths=$(printf 'path: %s\npath: %s\\' "$game_win" "$game_win")
[ "$paths" = "$expected_paths" ]
check $? "browse: each opening writes \"path: \" and the starting folder to standard output" \
  "it wrote: $(echo "$paths" | paste -sd'/')"

# ---- cases 5 and 6: Add, Browse and Exit while a long job runs ----

big=$work/big
other=$work/other
cp -r "$sample" "$big"
cp -r "$sample" "$other"
big_names=()
python3 - "$big/random" "$big/random/$first_script" <<'EOF'
import sys
folder, base_path = sys.argv[1], sys.argv[2]
base = open(base_path, 'rb').read()
at = base.find(b'<LAND_GENERATION>')
at = at if at >= 0 else len(base)
pad = b''.join(b'/* padding %06d: a long job needs big scripts .......................................... */\r\n' % i
               for i in range(22000))
for k in range(60):
    open('%s/big%02d.rms' % (folder, k), 'wb').write(base[:at] + pad + base[at:])
EOF
add_big=()
cli_big=()
for k in $(seq -w 0 59); do
  big_names+=("big$k.rms")
  add_big+=(set 1049 "big$k.rms" click 1050)
  cli_big+=(--custom "big$k.rms")
done

start_dialog busy
drive busy-setup find set 1051 "$(winpath "$big")" browse-cancel "${add_big[@]}" check 1001 set 1052 long.rms
drive busy find generate set 1049 "$first_script" click 1050 expect-running \
  set 1051 "$(winpath "$other")" browse-cancel expect-running \
  expect-box Tolvenek "Script generated" expect-text 1051 "$(winpath "$other")" click 2 wait-gone
finish_dialog busy
mv "$big/random/long.rms" "$work/long-dialog.rms" 2>/dev/null
"$cli" --game-folder "$big" --map Desert "${cli_big[@]}" --output long.rms >>"$log" 2>&1
same_file "$work/long-dialog.rms" "$big/random/long.rms" \
  "busy: the pack is that of the inputs captured at the click, unchanged by Add and Browse"
[ ! -e "$other/random/long.rms" ]
check $? "busy: the pack is written where the job started, not in the folder browsed to"
rm -f "$big/random/long.rms" "$work/long-dialog.rms"

start_dialog exit-busy
drive exit-busy-setup find set 1051 "$(winpath "$big")" browse-cancel "${add_big[@]}" check 1001 set 1052 long2.rms
drive exit-busy find generate click 2 wait-gone
finish_dialog exit-busy
"$cli" --game-folder "$cli_game" --list >/dev/null 2>&1  # (keeps the CLI warm)
if [ -e "$big/random/long2.rms" ]; then
  mv "$big/random/long2.rms" "$work/long2-dialog.rms"
  "$cli" --game-folder "$big" --map Desert "${cli_big[@]}" --output long2.rms >>"$log" 2>&1
  same_file "$work/long2-dialog.rms" "$big/random/long2.rms" \
    "exit-busy: a pack left behind is whole (tolvenek-cli's bytes)"
else
  check 0 "exit-busy: no partial pack is left behind (none at all)"
fi
[ ! -e "$big/random/ZOQ_TMP_FILE.tmp" ]
check $? "exit-busy: no temporary pack file is left behind"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
