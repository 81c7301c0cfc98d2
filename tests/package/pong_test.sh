#!/usr/bin/env bash
# pong_test.sh BUILT: in the examples' build made against the installed
# engine (BUILT, by example_test.sh), plays headless pong matches on local
# ports the system picks: two autopilots to the end, strangers that send
# bytes that are not pong messages or a message only the host sends, and a
# guest that vanishes mid-match.
set -euo pipefail
built=$1
source "$(dirname "$0")/example_common.sh"
enter_example pong
printf 'headless:true,\nframe_time:10,\n' >run-config.txt
export TESSERA_CONFIG=run-config.txt
guest_pid=""
trap 'if [ -n "$guest_pid" ]; then kill -9 "$guest_pid" 2>/dev/null; fi' EXIT

# start_host SCRIPT: the host on a free port (it logs which) in the background.
start_host() {
  rm -f host.log
  TESSERA_LOG=host.log timeout 60 ./pong --host 0 --autopilot "$1" --steps 3000 2>host.err &
  host_pid=$!
  for _ in $(seq 300); do
    port=$(sed -n 's/.*Pong: hosting on port \([0-9]*\),.*/\1/p' host.log 2>/dev/null || true)
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "FAIL: the host did not listen" >&2
  exit 1
}

# expect_host_end LINE: the host ends by itself, cleanly, with that line.
expect_host_end() {
  local status=0
  wait "$host_pid" || status=$?
  [ "$status" = 0 ] || { echo "FAIL: host exit status $status" >&2; cat host.err host.log >&2; exit 1; }
  [ ! -s host.err ] || { echo "FAIL: host standard error: $(cat host.err)" >&2; exit 1; }
  expect_lines host.log "$1"
}

# A whole match: the host misses its third ball, the guest its second, and
# every ball after its script.
start_host HHM
rm -f guest.log
TESSERA_LOG=guest.log timeout 60 ./pong --join 127.0.0.1 "$port" --autopilot HMHHHH --steps 3000 2>guest.err ||
  { echo "FAIL: guest exit status $?" >&2; cat guest.err guest.log >&2; exit 1; }
[ ! -s guest.err ] || { echo "FAIL: guest standard error: $(cat guest.err)" >&2; exit 1; }
final="Pong: the guest wins; the match ends at 1 - 3"
expect_host_end "$final"
for log in host.log guest.log; do
  expect_lines "$log" "Pong: score 1 - 0" "Pong: score 1 - 1" "Pong: score 1 - 2" "Pong: score 1 - 3" "$final"
done
grep -h "Pong: score\|Pong: the" host.log guest.log

# A stranger's bytes end the match at the first byte that cannot be ours.
start_host H
printf 'garbage' >"/dev/tcp/127.0.0.1/$port"
expect_host_end "Pong: the other player sent a first byte 0x67, not a pong message; the match ends at 0 - 0"

# A paddle message that comes in two pieces is taken whole: the stranger is
# found out at the byte after it.
start_host H
{ printf '\247'; sleep 0.2; printf '\001\014\000'; sleep 0.2; printf 'x'; } >"/dev/tcp/127.0.0.1/$port"
expect_host_end "Pong: the other player sent a first byte 0x78, not a pong message; the match ends at 0 - 0"

# From the guest the host takes nothing but its paddle: not the match's end.
start_host H
printf '\247\004\003\000' >"/dev/tcp/127.0.0.1/$port"
expect_host_end "Pong: the guest sent a message only the host sends; the match ends at 0 - 0"

# A guest killed after the first point (then both hit every ball, so the
# score stays): the host sees the connection end.
start_host HHHHHHHHHHHHHHHHHHHH
rm -f guest.log
TESSERA_LOG=guest.log ./pong --join 127.0.0.1 "$port" --autopilot HMHHHHHHHHHHHHHHHHHHHH 2>/dev/null &
guest_pid=$!
for _ in $(seq 600); do grep -qs "Pong: score 1 - 0" guest.log && break; sleep 0.05; done
kill -9 "$guest_pid"
wait "$guest_pid" 2>/dev/null || true
guest_pid=""
expect_host_end "Pong: the other player left; the match ends at 1 - 0"
grep -h "Pong: the" host.log
echo PASS
