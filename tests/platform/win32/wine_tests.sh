#!/usr/bin/env bash
# vesk.exe under Wine with a Japanese locale (ANSI code page 932).
#
#   wine_tests.sh command-line VESK_EXE PROBE_EXE WORK_DIR
#   wine_tests.sh window       VESK_EXE PROBE_EXE WORK_DIR
#   wine_tests.sh look         VESK_EXE PROBE_EXE WORK_DIR
#
# command-line: /F conversions of CR LF and LF files with Shift-JIS texts,
# paths with Shift-JIS names whose trail byte is 0x5C, /o and -o, the exit
# statuses, the output replaced in one step (kept as it was after a failed
# input, a write failure or a killed run), the grouped list, UTF-8 through
# MultiByteToWideChar, the changes since a list in UTF-8 (read back through
# WideCharToMultiByte), the list on the standard output, and a run without
# any display.
# window: the dialog under Xvfb, read and driven through win_probe and
# xdotool: the list, Execute and its messages, drops, the About box, the
# choice of list from the keyboard against /F, the save dialog, F1, a list
# longer than 64 entries and an entry longer than a path; screenshots stay
# in WORK_DIR. Exits 77 (skipped) when Xvfb,
# xdotool or ImageMagick's import is missing.
# look: Common Controls 6, and both dialogs at 96 and 144 DPI in Wine's
# visual style, no control clipped; screenshots stay in WORK_DIR. Skipped
# as the window tests are.
set -u
mode=$1 vesk=$2 probe=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../../data/windows
export WINEPREFIX=${WINEPREFIX:-$(dirname "$vesk")/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

failures=0
pass() { echo "ok   $1"; }
# A failure also shows the last run's exit status and trace: a Wine
# process that fails to start looks like a wrong status otherwise.
fail() {
  echo "FAIL $1"
  [ -n "${status:-}" ] && echo "     last vesk.exe run: exit $status, trace: $(head -c 300 trace 2>/dev/null)"
  failures=$((failures + 1))
}
expect() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# The Japanese locale: Wine takes its ANSI code page from it.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 2>/dev/null ||
    { echo "FAIL the ja_JP.UTF-8 locale is missing and cannot be generated (run as root)"; exit 1; }
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# The prefix: the dialog font maps to the metric-compatible IPA font, and
# Wine draws the window frames itself (there is no window manager).
prepare_prefix() {
  local marker=$WINEPREFIX/.vesk-prepared
  [ -f "$marker" ] && return 0
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ \
    /d IPAPGothic /f >/dev/null 2>&1 &&
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1 &&
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 &&
  touch "$marker"
}

rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
prepare_prefix || { echo "FAIL cannot set up the Wine prefix $WINEPREFIX"; exit 1; }

# Runs vesk.exe with the arguments; sets $status, the trace goes to ./trace
# and the standard output to ./said.
run_vesk() {
  wine "$vesk" "$@" >said 2>trace
  status=$?
}
# The trace's lines, CR LF read as LF (the C library writes line ends of
# the standard error stream so).
trace_is() { [ "$(tr -d '\r' <trace)" = "$1" ]; }

# A schematic whose second component lacks its key LIB; its end tag stands
# on line 14.
missing_key() {
  printf '+KOLVA_DATA_V.1.0\r\n+SHEETINFO,EL:0,VL:255,W:1500,H:1000,-SHEETINFO\r\n'
  printf '+COMPONENT\r\n+KOLVA_LIB_V.1.0\r\n+COMP,N:RESISTOR\r\nX:3,Y:1,B:1\r\nR:R\r\n'
  printf '+PIN,N:1,L:L0,T:,M:1,-PIN\r\n-COMP\r\n-KOLVA_LIB_V.1.0\r\n'
  printf 'L:0,X:250,Y:100,LIB:RESISTOR,N:10k,R:R1,-COMPONENT\r\n'
  printf '+COMPONENT\r\nX:1,Y:2,N:1k,R:R2\r\n-COMPONENT\r\n-KOLVA_DATA_V.1.0\r\n'
}

command_line_tests() {
  cp "$data/parts.ce3" crlf.ce3
  sed 's/\r$//' "$data/parts.ce3" >lf.ce3
  expected=$data/parts.csv

  run_vesk /F crlf.ce3
  expect "CR LF input: exit 0" [ "$status" -eq 0 ]
  expect "CR LF input: the list beside the input, Shift-JIS kept" cmp -s crlf.csv "$expected"
  expect "the trace names the input" [ "$(cat trace)" = "Read crlf.ce3" ]

  run_vesk -F lf.ce3 -o dash.csv
  expect "LF input with -o: exit 0" [ "$status" -eq 0 ]
  expect "LF input with -o: same list" cmp -s dash.csv "$expected"
  run_vesk /F lf.ce3 /o slash.csv
  expect "/o names the output" cmp -s slash.csv "$expected"
  expect "no list beside the input when -o or /o is given" [ ! -e lf.csv ]

  # 能 is 0x94 0x5C and ソ 0x83 0x5C in Shift-JIS: the trail bytes look like
  # backslashes to code that does not know the code page.
  local dir=能力 file=ソース
  mkdir -p "$dir" && cp "$data/parts.ce3" "$dir/$file.ce3"
  run_vesk /F "$dir\\$file.ce3"
  expect "Shift-JIS path: exit 0" [ "$status" -eq 0 ]
  expect "Shift-JIS path: the list beside the input" cmp -s "$dir/$file.csv" "$expected"
  expect "Shift-JIS path: the trace in code page 932" \
    [ "$(cat trace)" = "Read $(sjis "$dir\\$file.ce3")" ]
  # The last dot comes before the trail byte 0x5C of 表: it is still the
  # extension's dot, so the output is data.csv.
  cp "$data/parts.ce3" "data.表"
  run_vesk /F "data.表"
  expect "a trail byte 0x5C after the dot is no separator" cmp -s data.csv "$expected"
  mkdir -p 出力表
  run_vesk /F crlf.ce3 /o "出力表\\ソ.csv"
  expect "Shift-JIS output path" cmp -s "出力表/ソ.csv" "$expected"

  # The options of the list. The expected UTF-8 comes from the Shift-JIS
  # lists through iconv, another converter than vesk.exe's.
  utf8() { printf '\xef\xbb\xbf'; iconv -f CP932 -t UTF-8 "$1"; }
  utf8 "$expected" >expected-utf8.csv
  utf8 "$data/parts_grouped.csv" >expected-grouped-utf8.csv
  run_vesk /F crlf.ce3 --encoding=utf-8 /o utf8.csv
  expect "--encoding=utf-8: exit 0" [ "$status" -eq 0 ]
  expect "--encoding=utf-8: the list in UTF-8 after a byte order mark" \
    cmp -s utf8.csv expected-utf8.csv
  run_vesk /F --grouped crlf.ce3 /o grouped.csv
  expect "--grouped: the grouped list in Shift-JIS" cmp -s grouped.csv "$data/parts_grouped.csv"
  run_vesk /F --grouped --encoding=UTF-8 crlf.ce3 /o grouped-utf8.csv
  expect "--grouped --encoding=UTF-8: the grouped list in UTF-8" \
    cmp -s grouped-utf8.csv expected-grouped-utf8.csv
  # The changes since a list in UTF-8, which WideCharToMultiByte turns back
  # into Shift-JIS (ソ has the trail byte 0x5C) to compare with the design.
  local changes='"変更","部品名","備考","前","今","増減","加わった部品番号","なくなった部品番号"'
  printf '%s\r\n' "$changes" | iconv -f UTF-8 -t CP932 >expected-same.csv
  run_vesk /F crlf.ce3 --changes-since=grouped-utf8.csv /o same.csv
  expect "--changes-since, the same design: exit 0" [ "$status" -eq 0 ]
  expect "--changes-since, the same design: the header alone" cmp -s same.csv expected-same.csv
  expect "--changes-since, the same design: said so" trace_is \
    "$(printf 'Read crlf.ce3\nvesk: no part changed since grouped-utf8.csv')"
  sed 's/金属皮膜/炭素皮膜/; s/"R2"/"R3"/' grouped-utf8.csv >ordered.csv
  { printf '\xef\xbb\xbf%s\r\n' "$changes"
    printf '"追加","10k","金属皮膜",0,1,+1,"R1",""\r\n"変更","22k","",1,1,0,"R2","R3"\r\n'
    printf '"削除","10k","炭素皮膜",1,0,-1,"","R1"\r\n'; } >expected-changes.csv
  run_vesk /F crlf.ce3 --changes-since=ordered.csv --encoding=utf-8 /o changes.csv
  expect "--changes-since, a revision: the changes in UTF-8" cmp -s changes.csv expected-changes.csv
  printf ',"R",1,"10k"\r\n' >broken.csv
  run_vesk /F crlf.ce3 --changes-since=broken.csv /o changes.csv
  expect "--changes-since, a broken list: exit 1" [ "$status" -eq 1 ]
  expect "--changes-since, a broken list: the line and why" trace_is \
    "vesk: broken.csv:1: not a parts list of vesk: a row of the per-component list has 5 fields; this one has 4"
  expect "--changes-since, a broken list: the output kept" cmp -s changes.csv expected-changes.csv
  wine "$vesk" /F crlf.ce3 -o - >stdout.csv 2>trace
  status=$?
  expect "-o -: exit 0" [ "$status" -eq 0 ]
  expect "-o -: the list on the standard output, CR LF unchanged" cmp -s stdout.csv "$expected"
  expect "-o -: the trace stays on the standard error stream" [ "$(cat trace)" = "Read crlf.ce3" ]
  expect "-o -: no file named -" [ ! -e - ]
  cp "$here/../../data/convert/not_shift_jis.ce3" bytes.ce3
  run_vesk /F --encoding=utf-8 bytes.ce3
  expect "bytes that are no Shift-JIS: exit 0" [ "$status" -eq 0 ]
  expect "bytes that are no Shift-JIS: one warning a component" \
    [ "$(grep -c '^Warning: bytes.ce3: ' trace)" -eq 4 ]
  expect "bytes that are no Shift-JIS: U+FFFD in the list" grep -q $'\xef\xbf\xbd' bytes.csv
  run_vesk /F --encoding=latin1 crlf.ce3 /o latin1.csv
  expect "an encoding it does not know: exit 5, nothing written" \
    [ "$status" -eq 5 -a ! -e latin1.csv ]

  printf 'old contents' >failed.csv
  run_vesk /F crlf.ce3 missing.ce3 /o failed.csv
  expect "missing input: exit 1" [ "$status" -eq 1 ]
  expect "missing input: the output is left as it was" [ "$(cat failed.csv)" = "old contents" ]
  printf '+NOT_A_SCHEMATIC\r\n' >bad.ce3
  run_vesk /F bad.ce3
  expect "not a schematic: exit 1" [ "$status" -eq 1 ]
  expect "not a schematic: no output is created" [ ! -e bad.csv ]
  run_vesk /F crlf.ce3 /o 'no\such\dir.csv'
  expect "output cannot be opened: exit 2" [ "$status" -eq 2 ]
  run_vesk /F crlf.ce3 /o '.\CRLF.CE3'
  expect "output is one of the inputs: exit 2" [ "$status" -eq 2 ]
  expect "output is one of the inputs: the input is unchanged" cmp -s crlf.ce3 "$data/parts.ce3"
  run_vesk /F
  expect "/F without inputs: exit 3" [ "$status" -eq 3 ]
  expect "/F without inputs: the reason and the usage line" trace_is \
    "$(printf 'vesk: -F needs at least one input file\nusage: vesk [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis] [--changes-since=FILE]')"
  run_vesk /F /o nothing.csv
  expect "/F without inputs: nothing written" [ ! -e nothing.csv ]

  reason_tests

  replacement_tests

  # Every process of the prefix ends before the display changes.
  wineserver -w
  DISPLAY= WAYLAND_DISPLAY= wine "$vesk" crlf.ce3 >/dev/null 2>trace
  status=$?
  expect "no display: exit 4" [ "$status" -eq 4 ]
  expect "no display: says so and points to /F" grep -q -- "-F" trace
  expect "no display: nothing written" [ ! -e no-display.csv ]
  wineserver -w
}

# Why a run failed, one line on the standard error stream after the
# traces; the help and the version on the standard output.
reason_tests() {
  missing_key >missing-key.ce3
  mkdir -p folder.ce3
  run_vesk /F crlf.ce3 missing-key.ce3 crlf.ce3 /o reasons.csv
  expect "missing key: exit 1" [ "$status" -eq 1 ]
  expect "missing key: the file, the line, the block and the key" trace_is \
    "$(printf 'Read crlf.ce3Read missing-key.ce3\nvesk: missing-key.ce3:14: block COMPONENT ends without its required key LIB')"
  run_vesk /F bad.ce3
  expect "not a schematic: the first field is shown" trace_is \
    "$(printf 'Read bad.ce3\nvesk: bad.ce3:1: not a Kolvane schematic: the first field is "+NOT_A_SCHEMATIC", not +KOLVA_DATA_V.1.0')"
  run_vesk /F missing.ce3
  expect "missing input: the system's reason" trace_is \
    "$(printf 'Read missing.ce3\nvesk: missing.ce3: cannot open: No such file or directory')"
  run_vesk /F folder.ce3
  expect "a folder as input: exit 1" [ "$status" -eq 1 ]
  expect "a folder as input: said so" trace_is \
    "$(printf 'Read folder.ce3\nvesk: folder.ce3: cannot open: Is a directory')"
  run_vesk /F crlf.ce3 /o 'no\such\dir.csv'
  expect "output cannot be opened: the system's reason" trace_is \
    'vesk: no\such\dir.csv: cannot open for writing: No such file or directory'
  run_vesk /F crlf.ce3 crlf.ce3 /o twice.csv
  expect "duplicates: exit 0" [ "$status" -eq 0 ]
  expect "duplicates: one summary line after the traces" trace_is \
    "$(printf 'Read crlf.ce3Read crlf.ce3\nvesk: 6 rows; 3 references appear more than once, each with one name')"

  # More inputs than a run reads; an entry longer than a path.
  local many=() i
  for i in $(seq 66); do many+=(crlf.ce3); done
  run_vesk /F "${many[@]}" /o many.csv
  expect "66 inputs: exit 0" [ "$status" -eq 0 ]
  expect "66 inputs: a line says that the first 64 were read" \
    grep -qx 'vesk: 66 input files given; only the first 64 were read' <(tr -d '\r' <trace)
  local long
  long=$(printf '%0300d.ce3' 0)
  run_vesk /F crlf.ce3 "$long" /o long.csv
  expect "an entry longer than a path: exit 1, nothing written" [ "$status" -eq 1 -a ! -e long.csv ]
  expect "an entry longer than a path: the file and the system's reason" \
    grep -qE "^vesk: $long: cannot open: File ?name too long" trace

  run_vesk /?
  expect "/?: exit 0" [ "$status" -eq 0 ]
  expect "/?: the usage first" [ "$(head -n1 said | tr -d '\r')" = \
    "usage: vesk [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis] [--changes-since=FILE]" ]
  expect "/?: names /? and the exit statuses" grep -q -- '/? shows this help' said
  expect "/?: the exit statuses" grep -q 'Exit status:' said
  cp said slash-help.txt
  run_vesk --help
  expect "--help: the same help" cmp -s said slash-help.txt
  run_vesk --version
  expect "--version: exit 0" [ "$status" -eq 0 ]
  expect "--version: vesk 0.31" [ "$(tr -d '\r' <said)" = "vesk 0.31" ]
}

# What a run leaves of a file: inode, mode, times and size.
file_state() { stat -c '%i %a %y %z %s' "$1"; }
# Temporary files of vesk left in a folder.
leftovers() { find "$1" -maxdepth 1 -name 'vesk-*.tmp' | grep -c .; }

# The list is written to a temporary file that replaces the output in one
# step, only when the run succeeded: good, bad and good runs into one
# output, a read-only output, a device, a write failure and a killed run.
replacement_tests() {
  local examples=$here/../../../examples
  mkdir -p keep && cp crlf.ce3 keep/a.ce3 && cp "$examples"/amp_*.ce3 keep/ &&
    printf '+NOT_A_SCHEMATIC\r\n' >keep/bad.ce3
  local names="a.ce3 amp_main.ce3 amp_power.ce3 bad.ce3 list.csv"
  run_vesk /F 'keep\a.ce3' /o 'keep\list.csv'
  expect "good run: exit 0" [ "$status" -eq 0 ]
  expect "good run: the list" cmp -s keep/list.csv "$expected"
  chmod 640 keep/list.csv
  local before
  before=$(file_state keep/list.csv)
  run_vesk /F 'keep\a.ce3' 'keep\bad.ce3' /o 'keep\list.csv'
  expect "bad run: exit 1" [ "$status" -eq 1 ]
  expect "bad run: the list is left as it was" [ "$(file_state keep/list.csv)" = "$before" ]
  expect "bad run: the list's bytes are kept" cmp -s keep/list.csv "$expected"
  expect "bad run: nothing else in the folder" [ "$(ls keep | xargs)" = "$names" ]
  wine cmd /c attrib +h 'keep\list.csv' >/dev/null 2>&1
  run_vesk /F 'keep\amp_main.ce3' 'keep\amp_power.ce3' /o 'keep\list.csv'
  expect "good run again: exit 0" [ "$status" -eq 0 ]
  expect "good run again: the list stays hidden" \
    [ "$(wine cmd /c attrib 'keep\list.csv' 2>/dev/null | cut -c1-12 | tr -d ' ')" = AH ]
  expect "good run again: the list is replaced" cmp -s keep/list.csv "$data/../convert/examples.csv"
  expect "good run again: nothing else in the folder" [ "$(ls keep | xargs)" = "$names" ]

  printf 'old list\r\n' >readonly.csv && chmod 444 readonly.csv
  before=$(file_state readonly.csv)
  run_vesk /F crlf.ce3 /o readonly.csv
  expect "read-only output: exit 2" [ "$status" -eq 2 ]
  expect "read-only output: left as it was" [ "$(file_state readonly.csv)" = "$before" ]
  run_vesk /F crlf.ce3 /o NUL
  expect "NUL as output: exit 0" [ "$status" -eq 0 ]
  expect "NUL as output: no file named NUL" test ! -e NUL -a ! -e nul

  # A file size limit makes the writes fail (EFBIG, SIGXFSZ ignored) as on
  # a full disk. Only vesk.exe runs under the limit: a Windows process
  # started before keeps the Wine server, which writes the prefix, alive.
  many_parts 300 >many.ce3
  printf 'old list\r\n' >full.csv
  before=$(file_state full.csv)
  wine "$probe" wait "no such window" 30 >/dev/null 2>&1 &
  local keeper=$!
  run_vesk /F crlf.ce3 /o started.csv
  (trap '' XFSZ && ulimit -f 2 && exec wine "$vesk" /F many.ce3 /o full.csv >/dev/null 2>trace)
  status=$?
  kill "$keeper" 2>/dev/null; wait "$keeper" 2>/dev/null
  expect "write failure: exit 2" [ "$status" -eq 2 ]
  expect "write failure: said why" grep -q '^vesk: full.csv: cannot write: ' trace
  expect "write failure: the old list is left as it was" [ "$(file_state full.csv)" = "$before" ]
  expect "write failure: no temporary file is left" [ "$(leftovers .)" -eq 0 ]

  # Killed while it reads its inputs, with the temporary file for the list
  # open: the old list stays, and Windows deletes the file. (The trace
  # cannot tell when: a windowed program's standard error is buffered.)
  mkdir -p killed && cp crlf.ce3 killed/a.ce3 && many_parts 100000 >killed/big.ce3 &&
    printf 'old list\r\n' >killed/list.csv
  before=$(file_state killed/list.csv)
  wine "$vesk" /F 'killed\a.ce3' 'killed\big.ce3' /o 'killed\list.csv' >/dev/null 2>trace &
  local pid=$!
  for _ in $(seq 600); do
    [ "$(leftovers killed)" -gt 0 ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  local killed=1
  kill -KILL "$pid" 2>/dev/null && killed=0
  wait "$pid" 2>/dev/null
  wineserver -w
  expect "killed run: killed while it ran" [ "$killed" -eq 0 ]
  expect "killed run: the old list is left as it was" [ "$(file_state killed/list.csv)" = "$before" ]
  expect "killed run: no temporary file is left" [ "$(ls killed | xargs)" = "a.ce3 big.ce3 list.csv" ]
}

# A schematic of $1 resistors, CR LF.
many_parts() {
  awk -v n="$1" 'BEGIN {
    ORS = "\r\n"
    print "+KOLVA_DATA_V.1.0"; print "+SHEETINFO,EL:0,VL:255,W:1500,H:1000,-SHEETINFO"
    for (i = 1; i <= n; i++) {
      print "+COMPONENT"; print "+KOLVA_LIB_V.1.0"; print "+COMP,N:RESISTOR"; print "X:3,Y:1,B:1"
      print "R:R"; print "+PIN,N:1,L:L0,T:,M:1,-PIN"; print "+PIN,N:2,L:R0,T:,M:2,-PIN"
      print "-COMP"; print "-KOLVA_LIB_V.1.0"
      print "L:0,X:250,Y:" (50 * i) ",LIB:RESISTOR,DIR:0,BLK:0,N:10k,NX:2,NY:20,R:R" i \
            ",RX:2,RY:10,NOTE:1/4W,-COMPONENT"
    }
    print "-KOLVA_DATA_V.1.0"
  }'
}

# --- the window --------------------------------------------------------------

probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }
main_caption='Vesk V.0.31'
about_caption='=Veskのバージョン情報'

has_line() {  # dump file, expected line
  grep -qxF -- "$2" "$1" || { echo "  missing: $2"; echo "  in:"; sed 's/^/    /' "$1"; false; }
}

click_control() {  # caption, control id
  local x y
  read -r x y < <(probe centre "$1" "$2")
  [ -n "${x:-}" ] && xdotool mousemove --sync "$x" "$y" click 1
}

# Skips the test (status 77) unless the tools that drive a window are here.
need_window_tools() {  # what is skipped
  local missing="" tool
  for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
  done
  [ -z "$missing" ] && return 0
  echo "SKIPPED the $1: missing$missing (install xvfb, xdotool, imagemagick)"
  exit 77
}

window_tests() {
  need_window_tools "window tests"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display 2>xvfb.log &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null; [ -n "${vesk_pid:-}" ] && kill "$vesk_pid" 2>/dev/null' EXIT
  for _ in $(seq 50); do [ -s display ] && break; sleep 0.1; done
  [ -s display ] || { echo "FAIL Xvfb did not start"; cat xvfb.log; exit 1; }
  export DISPLAY=":$(head -n1 display)"

  cp "$data/parts.ce3" a.ce3
  printf 'old list\r\n' >a.csv  # replaced by the first Execute
  wineserver -w
  wine "$vesk" a.ce3 >vesk.out 2>&1 &
  vesk_pid=$!
  expect "the main dialog appears" probe wait "$main_caption" 60
  local wid
  wid=$(xdotool search --name "^$main_caption" | head -n1)
  expect "xdotool finds the dialog by its caption" [ -n "$wid" ]

  probe dump "$main_caption" >main.txt
  expect "caption" has_line main.txt "caption Vesk V.0.31 Kolvaneのための部品リスト生成ソフト"
  expect "the list holds the command line's input" has_line main.txt "item 1001 0 a.ce3"
  expect "the output name is derived" has_line main.txt "control 1003 Edit 1 a.csv"
  expect "Execute is enabled" has_line main.txt "control 1 Button 1 実行"
  expect "every text of the template" has_line main.txt \
    "control 65535 Static 1 入力ファイル(複数指定すると、それらをまとめた部品リストを作成します)"
  local line
  for line in "control 65535 Static 1 出力ファイル" "control 1002 Button 1 参照(&R)..." \
      "control 1004 Button 1 参照(&F)..." "control 1005 Button 1 クリア(&C)" \
      "control 2 Button 1 終了"; do
    expect "text: ${line#control }" has_line main.txt "$line"
  done
  import -window root main-screen.png
  [ -n "$wid" ] && import -window "$wid" main-dialog.png
  expect "screenshot of the main dialog" [ -s main-dialog.png ]

  click_control "$main_caption" 1
  expect "Execute shows a message box" probe wait "=vesk" 20
  probe dump "=vesk" >message.txt
  expect "message 104" has_line message.txt "control 65535 Static 1 処理が終了しました"
  expect "Execute replaced the old list" cmp -s a.csv "$data/parts.csv"
  import -window root message-screen.png
  probe command "=vesk" 1
  expect "the message box closes" probe gone "=vesk" 10

  # A typed name gives way to the derived one once files are dropped.
  click_control "$main_caption" 1003
  xdotool key End shift+Home && xdotool type typed.csv
  probe dump "$main_caption" >typed.txt
  expect "typing into the output name" has_line typed.txt "control 1003 Edit 1 typed.csv"
  for name in b.ce3 C.CE3 notes.txt d.ce3.bak; do cp "$data/parts.ce3" "$name"; done
  local windir
  windir=$(winepath -w "$work" 2>/dev/null | tr -d '\r')
  probe drop "$main_caption" 1001 "$windir\\b.ce3" "$windir\\notes.txt" "$windir\\C.CE3" \
    "$windir\\d.ce3.bak"
  sleep 1
  probe dump "$main_caption" >dropped.txt
  expect "dropped .ce3 files are added" has_line dropped.txt "item 1001 1 $windir\\b.ce3"
  expect "the extension test ignores case" has_line dropped.txt "item 1001 2 $windir\\C.CE3"
  expect "other dropped files are skipped" [ "$(grep -c '^item 1001 ' dropped.txt)" -eq 3 ]
  expect "a drop derives the output name again" has_line dropped.txt "control 1003 Edit 1 a.csv"

  # The About box from the system menu: its item is the menu's last.
  xdotool windowfocus --sync "$wid" 2>/dev/null
  xdotool key alt+space
  sleep 0.5
  import -window root system-menu.png
  xdotool key Up Return
  expect "the About box opens from the system menu" probe wait "$about_caption" 10
  probe dump "$about_caption" >about.txt
  expect "About texts" has_line about.txt "control 65535 Static 1 Vesk Version 0.31 "
  expect "About texts" has_line about.txt "control 65535 Static 1 Kolvaneのための部品リスト生成ソフト"
  import -window root about-screen.png
  local about_wid
  about_wid=$(xdotool search --name "^Veskのバージョン情報" | head -n1)
  [ -n "$about_wid" ] && import -window "$about_wid" about-dialog.png
  expect "screenshot of the About box" [ -s about-dialog.png ]
  probe command "$about_caption" 1
  expect "OK closes the About box" probe gone "$about_caption" 10

  # An Execute that fails on an input leaves the last good list as it was,
  # and its message names the file (the fourth of five), the line and why.
  missing_key >bad.ce3
  local before
  before=$(file_state a.csv)
  probe drop "$main_caption" 1001 "$windir\\bad.ce3" "$windir\\b.ce3"
  sleep 1
  click_control "$main_caption" 1
  expect "Execute with a bad input shows a message box" probe wait "=vesk" 20
  probe dump "=vesk" >failed.txt
  expect "message 103" has_line failed.txt "control 65535 Static 1 入力ファイルのオープンに失敗しました"
  expect "message 103 names the file and the line" has_line failed.txt "$windir\\bad.ce3 (14 行目)"
  expect "message 103 says why" has_line failed.txt "ブロック COMPONENT に必要なキー LIB がありません"
  import -window root failed-screen.png
  local failed_wid
  failed_wid=$(xdotool search --onlyvisible --name '^vesk$' | head -n1)
  [ -n "$failed_wid" ] && import -window "$failed_wid" failed-message.png
  expect "screenshot of the detailed message" [ -s failed-message.png ]
  expect "the failed Execute left the list as it was" [ "$(file_state a.csv)" = "$before" ]
  expect "the failed Execute left no temporary file" [ "$(leftovers .)" -eq 0 ]
  probe command "=vesk" 1
  expect "the message box closes" probe gone "=vesk" 10

  probe command "$main_caption" 2
  local ended=1
  for _ in $(seq 100); do
    kill -0 "$vesk_pid" 2>/dev/null || { ended=0; break; }
    sleep 0.1
  done
  expect "Exit ends the program" [ "$ended" -eq 0 ]
  wait "$vesk_pid"
  expect "exit status 0 after the window closed" [ $? -eq 0 ]
  vesk_pid=
  wineserver -w

  choice_tests
}

# Starts vesk.exe with the arguments and waits for its dialog; $wid is the
# dialog's X window.
start_dialog() {
  wine "$vesk" "$@" >vesk.out 2>&1 &
  vesk_pid=$!
  probe wait "$main_caption" 60 || return 1
  wid=$(xdotool search --name "^$main_caption" | head -n1)
  [ -n "$wid" ]
}
end_dialog() {
  probe command "$main_caption" 2
  wait "$vesk_pid"
  local ended=$?
  vesk_pid=
  wineserver -w
  return "$ended"
}
dialog_keys() { xdotool windowfocus --sync "$wid" 2>/dev/null; xdotool key --delay 100 "$@"; }
# Presses Enter (Execute), dumps the message box into $1 and takes its
# picture ($1 as .png).
execute_into() {
  dialog_keys Return
  probe wait "=vesk" 20 && probe dump "=vesk" >"$1"
  import -window root "${1%.txt}.png"
  probe command "=vesk" 1
  probe gone "=vesk" 10
}

# The choice of list: preset on the command line, changed from the
# keyboard, and each Execute writes what /F writes with the same options;
# F1; the save dialog; a long list; an entry longer than a path.
choice_tests() {
  local windir
  windir=$(winepath -w "$work" 2>/dev/null | tr -d '\r')
  expect "the dialog with --grouped" start_dialog --grouped a.ce3 b.ce3 /o choices.csv
  probe dump "$main_caption" >choices.txt
  expect "--grouped checks its box" has_line choices.txt "check 1006 1"
  expect "Shift-JIS unless asked" has_line choices.txt "check 1007 0"
  expect "the check boxes' texts" has_line choices.txt \
    "control 1007 Button 1 UTF-8 (BOM 付き) で書き出す (Shift-JIS の代わりに)(&U)"
  import -window "$wid" choices-dialog.png
  local keys options
  for keys in alt+u alt+g; do
    dialog_keys "$keys"
    [ "$keys" = alt+u ] && options="--grouped --encoding=utf-8" || options="--encoding=utf-8"
    execute_into choices-message.txt
    # shellcheck disable=SC2086
    wine "$vesk" /F $options a.ce3 b.ce3 /o choices-ref.csv >/dev/null 2>&1
    expect "$keys, Execute: the list of /F $options" cmp -s choices.csv choices-ref.csv
  done

  dialog_keys F1
  expect "F1 shows the help" probe wait "=vesk" 20
  probe dump "=vesk" >help.txt
  import -window root help-screen.png
  expect "the help tells the exit statuses" grep -q "終了コード" help.txt
  probe command "=vesk" 1
  probe gone "=vesk" 10

  # The save dialog starts in the output's folder; a new name typed
  # without an extension becomes a CSV file.
  dialog_keys alt+f
  expect "the save dialog opens" probe wait "=出力ファイルの指定" 20
  sleep 1
  import -window root save-dialog.png
  xdotool key ctrl+a && xdotool type --delay 50 "new list" && xdotool key Return
  probe gone "=出力ファイルの指定" 10
  probe dump "$main_caption" >saved.txt
  expect "the typed name with .csv" has_line saved.txt "control 1003 Edit 1 $windir\\new list.csv"
  expect "the dialog closes" end_dialog

  local many=() i
  for i in $(seq 66); do many+=(a.ce3); done
  expect "the dialog with 66 inputs" start_dialog "${many[@]}" /o many.csv
  execute_into many-message.txt
  expect "message 104" has_line many-message.txt "control 65535 Static 1 処理が終了しました"
  expect "message 104 says that the first 64 were read" has_line many-message.txt \
    "66 個の入力ファイルのうち、読み込んだのは最初の 64 個だけです"
  expect "the dialog closes" end_dialog

  local long
  long=$(printf '%0300d.ce3' 0)
  expect "the dialog with an entry longer than a path" start_dialog a.ce3 "$long" /o long.csv
  execute_into long-message.txt
  expect "message 103" has_line long-message.txt "control 65535 Static 1 入力ファイルのオープンに失敗しました"
  expect "message 103 names the file and why" has_line long-message.txt "ファイルを開けません: パスが長すぎます"
  expect "nothing is written" [ ! -e long.csv ]
  expect "the dialog closes" end_dialog
}

# --- the look ------------------------------------------------------------------
#
# The manifest binds vesk.exe to Common Controls 6, and declares it DPI
# aware. Wine 8 reads the declaration but treats every program as
# per-monitor aware and never stretches a window; what it does show is the
# dialogs laid out again at the resolution of LogPixels under
# HKCU\Control Panel\Desktop (read when a process starts), and, with its
# "Light" visual style switched on, the controls of Common Controls 6 in
# that style. Both are set for this test only and put back afterwards.

# The template's font, which the dialog manager gives every control.
look_font='ＭＳ Ｐゴシック'
look_points=9

set_look() {  # DPI, then "styled" or "plain"
  local desktop_key='HKCU\Control Panel\Desktop'
  local theme_key='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
  wine reg add "$desktop_key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || return 1
  if [ "$2" = styled ]; then
    wine reg add "$theme_key" /v DllName /t REG_SZ \
      /d 'C:\windows\resources\themes\light\light.msstyles' /f >/dev/null 2>&1 &&
    wine reg add "$theme_key" /v ColorName /t REG_SZ /d Blue /f >/dev/null 2>&1 &&
    wine reg add "$theme_key" /v SizeName /t REG_SZ /d NormalSize /f >/dev/null 2>&1 &&
    wine reg add "$theme_key" /v ThemeActive /t REG_SZ /d 1 /f >/dev/null 2>&1 || return 1
  else
    wine reg delete "$theme_key" /v ThemeActive /f >/dev/null 2>&1
  fi
  wineserver -w  # the next process starts with the new settings
}

# No control of the dialog reaches past it or cuts its text; the probe's
# lines go to FILE, and are shown when a control is clipped.
look_nothing_clipped() {  # caption, file
  wine "$probe" clipped "$1" "$look_font" "$look_points" 2>&1 | tr -d '\r' >"$2"
  [ "${PIPESTATUS[0]}" -eq 0 ] || { grep -v '^ok ' "$2" | sed 's/^/    /'; false; }
}

look_screenshot() {  # caption as xdotool matches it, file
  local wid
  wid=$(xdotool search --onlyvisible --name "$1" | head -n1)
  [ -n "$wid" ] && import -window "$wid" "$2" && [ -s "$2" ]
}

look_tests() {
  need_window_tools "look tests"
  WINEDEBUG=+loaddll wine "$vesk" --version 2>loaddll.txt >/dev/null
  expect "Common Controls 6 is loaded from the side-by-side store" \
    grep -qi 'common-controls_.*comctl32\.dll' loaddll.txt

  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>display 2>xvfb.log &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null; [ -n "${vesk_pid:-}" ] && kill "$vesk_pid" 2>/dev/null;
        wineserver -k; set_look 96 plain' EXIT
  for _ in $(seq 50); do [ -s display ] && break; sleep 0.1; done
  [ -s display ] || { echo "FAIL Xvfb did not start"; cat xvfb.log; exit 1; }
  export DISPLAY=":$(head -n1 display)"

  # An entry wider than the list: its scroll range is measured at each
  # resolution.
  local folder='a folder with a name long enough to scroll the list sideways'
  mkdir -p "$folder" && cp "$data/parts.ce3" a.ce3 && cp "$data/parts.ce3" "$folder/b.ce3"
  local windir
  windir=$(winepath -w "$work" 2>/dev/null | tr -d '\r')
  local dpi
  for dpi in 96 144; do
    set_look "$dpi" styled || { fail "$dpi DPI: cannot set the look of the prefix"; continue; }
    wine "$vesk" a.ce3 >vesk.out 2>&1 &
    vesk_pid=$!
    expect "$dpi DPI: the main dialog appears" probe wait "$main_caption" 60
    probe drop "$main_caption" 1001 "$windir\\$folder\\b.ce3"
    sleep 1
    expect "$dpi DPI: main dialog, no control clipped" look_nothing_clipped "$main_caption" main-$dpi.txt
    expect "$dpi DPI: the dialog is laid out at $dpi DPI" [ "$(head -n1 main-$dpi.txt)" = "dpi $dpi" ]
    expect "$dpi DPI: screenshot of the main dialog" look_screenshot "^$main_caption" main-$dpi.png

    probe syscommand "$main_caption" 16
    expect "$dpi DPI: the About box appears" probe wait "$about_caption" 10
    expect "$dpi DPI: About box, no control clipped" look_nothing_clipped "$about_caption" about-$dpi.txt
    expect "$dpi DPI: screenshot of the About box" look_screenshot "^${about_caption#=}\$" about-$dpi.png
    probe command "$about_caption" 1
    probe gone "$about_caption" 10
    probe command "$main_caption" 2
    probe gone "$main_caption" 20
    kill "$vesk_pid" 2>/dev/null
    wait "$vesk_pid" 2>/dev/null
    vesk_pid=
  done
}

case $mode in
  command-line) command_line_tests ;;
  window) window_tests ;;
  look) look_tests ;;
  *) echo "unknown mode $mode"; exit 2 ;;
esac
echo "$failures failure(s); files in $work"
[ "$failures" -eq 0 ]
