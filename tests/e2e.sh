#!/usr/bin/env bash
# End-to-end tests: runs the real envday in a fresh folder, one case a call.
#
#   e2e.sh CASE
#
# Environment:
#   ENVDAY          the binary under test
#   ENVDAY_VERSION  the version it should report
#   ENVDAY_RUNNER   a command to run it with (wine for the Windows build)
#   ENVDAY_CRLF     1 where its line ends are CR LF
#   FAKETIME_LIB    libfaketime, preloaded to pin the clock
#   FAIL_LIB        the test library that makes one system call fail
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work"
mkdir def
readonly file=def/env_data.sii

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs envday; its output lands in out and err, its exit status in $status.
run() {
  set +e
  ${ENVDAY_RUNNER:-} "$ENVDAY" "$@" >out 2>err
  status=$?
  set -e
}

# Runs a command with envday's clock pinned: pinned SECONDS ZONE COMMAND...
pinned() {
  local seconds=$1 zone=$2
  shift 2
  LD_PRELOAD=$FAKETIME_LIB FAKETIME_FMT=%s FAKETIME="@$seconds" TZ=$zone "$@"
}

# Runs envday with one system call failing: run_failing CALL [ARGUMENT...].
run_failing() {
  local call=$1
  shift
  LD_PRELOAD=$FAIL_LIB ENVDAY_FAIL=$call run "$@"
}

# Prints text with the platform's line ends.
with_line_ends() {
  if [ "${ENVDAY_CRLF:-0}" = 1 ]; then sed 's/$/\r/'; else cat; fi
}

# The unit for day $1, as envday should write it.
unit() { sed "s/172/$1/" "$here/day-172.sii" | with_line_ends; }

# The day envday printed; fails unless it printed exactly one number line.
printed_day() {
  local day
  day=$(tr -d '\r' <out)
  [[ "$day" =~ ^[1-9][0-9]{0,2}$ ]] || fail "printed '$(cat -A out)', not a day"
  [ "$(printf '%s\n' "$day" | with_line_ends)" = "$(cat out)" ] ||
    fail "printed line: $(cat -A out)"
  echo "$day"
}

expect_status() {
  [ "$status" = "$1" ] || fail "exit status $status, not $1; errors: $(cat err)"
}

# Standard error, line ends aside, must be exactly the given line.
expect_error() {
  [ "$(tr -d '\r' <err)" = "$1" ] || fail "errors '$(cat err)', not '$1'"
}

# A run that worked: status 0, no errors, and the file holds the printed day.
expect_success() {
  expect_status 0
  [ ! -s err ] || fail "errors: $(cat err)"
  cmp "$file" <(unit "$(printed_day)") || fail "$file is not the unit"
  expect_no_temporary_file
}

# A run that failed to write the file: the day printed, the old file
# kept byte for byte, one error line.
expect_write_refused() {
  expect_status 1
  printed_day >/dev/null
  cmp "$file" old || fail "$file changed"
  expect_error "envday: cannot write def/env_data.sii: $1"
  expect_no_temporary_file
}

expect_no_temporary_file() {
  local left
  left=$(find . -name '*.tmp')
  [ -z "$left" ] || fail "temporary files left: $left"
}

# An existing profile, different from and longer than any new one.
put_old_file() {
  printf 'old profile, %s\n' {1..20} >old
  cp old "$file"
}

case $1 in
days)
  # seconds        zone   day size  local date
  while read -r seconds zone day size _; do
    pinned "$seconds" "$zone" run
    expect_success
    [ "$(printed_day)" = "$day" ] || fail "@$seconds in $zone: $(cat out)"
    [ "$(stat -c %s "$file")" = "$size" ] || fail "size $(stat -c %s "$file")"
  done <<'EOF'
1672531200 UTC0  1   150  2023-01-01 00:00
1673265600 UTC0  9   150  2023-01-09 12:00
1673352000 UTC0  10  151  2023-01-10 12:00
1681041600 UTC0  99  151  2023-04-09 12:00
1681128000 UTC0  100 152  2023-04-10 12:00
1677672000 UTC0  60  151  2023-03-01 12:00
1709208000 UTC0  60  151  2024-02-29 12:00
1709294400 UTC0  61  151  2024-03-01 12:00
1704067199 UTC0  365 152  2023-12-31 23:59:59
1735689599 UTC0  366 152  2024-12-31 23:59:59
1735687800 XXX-1 1   150  2024-12-31 23:30 UTC, 00:30 local
1735696800 XXX5  366 152  2025-01-01 02:00 UTC, 21:00 local
EOF
  ;;
today)
  run
  expect_success
  today=$(date +%-j)
  [ "$(printed_day)" = "$today" ] || fail "printed $(cat out), today is $today"
  ;;
replace-longer)
  put_old_file
  run
  expect_success
  ;;
repeat)
  run
  cp "$file" first
  run
  cmp first "$file" || fail "two runs on one day differ"
  ;;
other-arguments)
  run
  cp out plain-out
  cp "$file" plain-file
  run extra -x '' -- 'ünïcödé' '--helpx'
  expect_success
  cmp out plain-out && cmp "$file" plain-file || fail "arguments changed the run"
  ;;
help-and-version)
  put_old_file
  for argument in -h --help; do
    run "$argument"
    expect_status 0
    head -n 1 out | grep -q '^usage: envday ' || fail "$argument: $(cat out)"
  done
  run --version
  expect_status 0
  [ "$(cat out)" = "$(echo "envday $ENVDAY_VERSION" | with_line_ends)" ] ||
    fail "--version: $(cat out)"
  cmp "$file" old || fail "asking for help rewrote the file"
  ;;
non-ascii-folder)
  mkdir -p 'Žltý kôň/def'
  cd 'Žltý kôň'
  run
  expect_success
  ;;
no-def)
  rmdir def
  run
  expect_status 1
  printed_day >/dev/null
  expect_error "envday: cannot write def/env_data.sii: No such file or directory (run envday from the folder that holds def/)"
  [ "$(ls -A)" = "$(printf 'err\nout')" ] || fail "left behind: $(ls -A)"
  ;;
folder-in-place)
  mkdir "$file"
  touch "$file/keep"
  run
  expect_status 1
  printed_day >/dev/null
  expect_error "envday: cannot write def/env_data.sii: Is a directory"
  [ "$(ls -A "$file")" = keep ] || fail "the folder changed"
  expect_no_temporary_file
  ;;
not-regular)
  mkfifo "$file"
  run
  expect_status 1
  expect_error "envday: cannot write def/env_data.sii: not a regular file: Invalid argument"
  [ -p "$file" ] || fail "the pipe was replaced"
  ;;
read-only)
  put_old_file
  chmod 0444 "$file"
  if [ "$(id -u)" = 0 ] && [ -z "${ENVDAY_RUNNER:-}" ]; then
    # Root may write anything: run as a user that may not.
    cp "$ENVDAY" ./envday
    chmod 0777 . def
    chmod 0755 ./envday
    set +e
    setpriv --reuid=nobody --regid=nogroup --clear-groups ./envday >out 2>err
    status=$?
    set -e
  else
    run
  fi
  expect_write_refused "Permission denied"
  ;;
symlink)
  # A link to a file in another folder, and one to a file not there yet.
  mkdir profiles
  printf old >profiles/current.sii
  ln -s ../profiles/current.sii "$file"
  run
  expect_success
  [ "$(readlink "$file")" = ../profiles/current.sii ] || fail "link replaced"
  cmp profiles/current.sii "$file" || fail "target not written"
  rm "$file"
  ln -s new.sii "$file"
  run
  expect_success
  [ -f def/new.sii ] && [ -L "$file" ] || fail "dangling link not followed"
  ;;
symlink-loop)
  ln -s env_data.sii "$file"
  run
  expect_status 1
  expect_error "envday: cannot write def/env_data.sii: Too many levels of symbolic links"
  [ "$(readlink "$file")" = env_data.sii ] || fail "the link changed"
  ;;
mode-kept)
  put_old_file
  chmod 0640 "$file"
  run
  expect_success
  [ "$(stat -c %a "$file")" = 640 ] || fail "mode $(stat -c %a "$file")"
  rm "$file"
  (umask 027 && run && [ "$(stat -c %a "$file")" = 640 ]) ||
    fail "a new file ignores the umask"
  ;;
write-fails-midway)
  # A file-size limit below the unit's size cuts the write short.
  put_old_file
  set +e
  (trap '' XFSZ && exec prlimit --fsize=100 "$ENVDAY" >out 2>err)
  status=$?
  set -e
  expect_write_refused "File too large"
  ;;
create-fails | sync-fails | rename-fails | memory-fails)
  declare -A reason=(
    [create]="Disk quota exceeded"
    [sync]="Input/output error"
    [rename]="Device or resource busy"
    [memory]="out of memory")
  call=${1%-fails}
  put_old_file
  run_failing "$call"
  expect_write_refused "${reason[$call]}"
  ;;
stdout-full | stdout-closed)
  set +e
  if [ "$1" = stdout-full ]; then
    ${ENVDAY_RUNNER:-} "$ENVDAY" >/dev/full 2>err
    status=$?
    reason="No space left on device"
  else
    ${ENVDAY_RUNNER:-} "$ENVDAY" >&- 2>err
    status=$?
    reason="Bad file descriptor"
  fi
  set -e
  expect_status 1
  expect_error "envday: write error on standard output: $reason"
  day=$(sed -n 's/^\tday_in_year: \([0-9]*\)\t.*/\1/p' "$file")
  cmp "$file" <(unit "$day") || fail "the file was not written"
  ;;
clock-fails | local-time-fails)
  put_old_file
  if [ "$1" = clock-fails ]; then
    run_failing clock
    message="envday: cannot read the clock: Invalid argument"
  else
    run_failing local-time
    message="envday: cannot convert the time to local time: Value too large for defined data type"
  fi
  expect_status 1
  [ ! -s out ] || fail "printed $(cat out)"
  expect_error "$message"
  cmp "$file" old || fail "$file changed"
  ;;
concurrent)
  # Writers race while a reader checks each read: never empty, never partial.
  seconds=1687348800 # 2023-06-21 12:00 UTC, day 172
  unit 172 >expected
  cp expected "$file"
  (
    while [ ! -e stop ]; do
      cmp -s "$file" expected || cp "$file" bad-read 2>/dev/null || touch bad-read
    done
  ) &
  reader=$!
  for writer in 1 2 3 4 5 6 7 8; do
    (
      for _ in $(seq 25); do
        pinned "$seconds" UTC0 "$ENVDAY" >/dev/null 2>>errors ||
          touch writer-failed
      done
    ) &
    writers+=($!)
  done
  wait "${writers[@]}"
  touch stop
  wait "$reader"
  [ ! -e writer-failed ] || fail "a writer failed: $(cat errors)"
  [ ! -e bad-read ] || fail "a reader saw: $(cat -A bad-read)"
  cmp "$file" expected
  expect_no_temporary_file
  ;;
start-host)
  # The launcher runs envday, then the host; if envday fails, the host still
  # starts. The stand-in host reports that it ran.
  mkdir tools
  cp "$ENVDAY" "$here/../contrib/start-host."* tools/
  for def in present missing; do
    [ "$def" = present ] || rm -r def
    set +e
    if [ -n "${ENVDAY_RUNNER:-}" ]; then
      $ENVDAY_RUNNER cmd /c "$($ENVDAY_RUNNER winepath -w tools/start-host.bat)" \
        cmd /c echo host started >out 2>err
    else
      PATH=$work/tools:$PATH tools/start-host.sh echo host started >out 2>err
    fi
    status=$?
    set -e
    expect_status 0
    [ "$(tr -d '\r' <out | tail -n 1)" = "host started" ] || fail "$(cat out)"
    if [ "$def" = present ]; then
      cmp "$file" <(unit "$(tr -d '\r' <out | head -n 1)") || fail "no profile"
    else
      grep -q "^start-host.*: starting the host with the profile it has" err ||
        fail "no warning: $(cat err)"
    fi
  done
  ;;
scheduled-task)
  # Wine's Task Scheduler checks the task's elements as Windows' does.
  cd "$here/../contrib/windows"
  # (Wine hangs on XML that is not well formed, hence the time limit.)
  timeout 60 $ENVDAY_RUNNER schtasks /create /f /tn envday /xml envday-task.xml ||
    fail "the task was not registered"
  ;;
systemd-units)
  # The user units, as systemd would load them for a user whose envday is
  # installed in ~/.local/bin.
  export HOME=$work XDG_RUNTIME_DIR=$work/runtime
  mkdir -p .local/bin host-app "$XDG_RUNTIME_DIR"
  cp "$ENVDAY" .local/bin/envday
  systemd-analyze verify --user "$here"/../contrib/systemd/envday.{timer,service} ||
    fail "systemd rejects the units"
  ;;
*)
  fail "no case '$1'"
  ;;
esac
