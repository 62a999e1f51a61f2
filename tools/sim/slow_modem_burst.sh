#!/bin/bash
# Drives `kv820-callcenter --receive` against `kv820-sim modem` whose SIM commands answer
# late, injects a burst of six reports once the session is open, waits a minute and
# prints what became of them: stored (rows), left in the modem, lost (deleted without a
# row). Usage: tools/sim/slow_modem_burst.sh [DELAYS] [SEED]
#   DELAYS as --reply-delay takes them (cmgr,cmgd,cmgl=550 by default), e.g.
#   cmgr,cmgd,cmgl=0-1200; BUILD=folder of the build (build by default).
set -euo pipefail
DELAYS=${1:-cmgr,cmgd,cmgl=550}
SEED=${2:-1}
BUILD=$(realpath "${BUILD:-build}")
IMEI=354612071234567
WORK=$(mktemp -d /tmp/kv820-slow-modem.XXXX)
cd "$WORK"
"$BUILD/src/app/kv820-callcenter" --create-database >/dev/null
sqlite3 KV820Y.mdb "INSERT INTO users VALUES ('truck', '0912345678', '$IMEI')"
mkfifo control
"$BUILD/tools/sim/kv820-sim" modem --reply-delay "$DELAYS" --seed "$SEED" <control >sim.out 2>&1 &
SIM=$!
exec 3>control  # the simulator's standard input stays open until "quit"
until [ -s sim.out ]; do sleep 0.1; done
"$BUILD/src/app/kv820-callcenter" --receive "$(head -1 sim.out)" >receive.log 2>&1 &
RECEIVER=$!
for _ in $(seq 60); do
    grep -q "at+cnmi=1,1" receive.log && break
    sleep 1
done
sleep 3  # the start's listing of stored messages
echo "burst 6 $IMEI" >&3
sleep 60
echo stored >&3
sleep 0.5
kill -TERM "$RECEIVER"
wait "$RECEIVER" || true
echo quit >&3
exec 3>&-
wait "$SIM" || true
sqlite3 KV820Y.mdb "SELECT DISTINCT gps_time FROM gpslog" | tr -d : | sort >stored.times
grep -E '^stored [0-9]+ "' sim.out | cut -d, -f5 | sort -u >left.times
STORED=$(wc -l <stored.times)
LEFT=$(wc -l <left.times)
BOTH=$(comm -12 stored.times left.times | wc -l)
echo "$DELAYS: stored $STORED of 6 ($(sqlite3 KV820Y.mdb 'SELECT count(*) FROM gpslog') rows)," \
    "left in the modem $LEFT ($BOTH of them stored), lost $((6 - STORED - LEFT + BOTH))" \
    "- logs in $WORK"
