#!/bin/bash
# Checks the delivery node against the program's own episode addresses.
#
#     test_delivery_node.sh SOURCE_DIR BINARY_DIR
#
# Runs only inside a private network namespace: without one it starts itself again under
# `unshare -n`, and it refuses to go on if any interface besides loopback is present.
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 SOURCE_DIR BINARY_DIR" >&2
    exit 2
fi
src=$(cd -- "$1" && pwd)
bin=$(mkdir -p -- "$2" && cd -- "$2" && pwd)

only_loopback() {  # false also when the interfaces cannot be listed
    local links
    links=$(ip -o link show | awk -F': ' '{print $2}') || return 1
    [[ "$links" == "lo" ]]
}
if ! only_loopback; then
    if [[ -z "${DELIVERY_NODE_TEST_UNSHARED:-}" ]]; then
        DELIVERY_NODE_TEST_UNSHARED=1 exec unshare -n /bin/bash "${BASH_SOURCE[0]}" "$src" "$bin"
    fi
    echo "FAIL: network namespace holds interfaces other than lo" >&2
    exit 1
fi

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d "$bin/delivery_node.XXXXXX")
node_pid=
cleanup() {
    if [[ -n "$node_pid" ]] && kill -0 "$node_pid" 2>/dev/null; then
        kill -TERM "$node_pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$node_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$node_pid" 2>/dev/null || true
        wait "$node_pid" 2>/dev/null || true
    fi
    rm -rf -- "$work"
}
trap cleanup EXIT

# The addresses come from the program's table, built for this machine.
"${HOST_CXX:-g++}" -std=c++20 -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=GBK \
    -I"$src" -o "$bin/list_episodes" "$src/tools/list_episodes.cpp" "$src/episodes/episode_table.cpp"
"$bin/list_episodes" > "$work/urls"
mapfile -t urls < "$work/urls"
[[ ${#urls[@]} -eq 3 ]] || fail "expected 3 addresses, got ${#urls[@]}"

mp4="$bin/sample.mp4"
"$src/tools/make_sample_mp4.sh" "$mp4"
size=$(stat -c %s "$mp4")

hosts=()
paths=()
for url in "${urls[@]}"; do
    rest=${url#http://}
    hosts+=("${rest%%/*}")
    paths+=("/${rest#*/}")
done

ip link set lo up
for host in "${hosts[@]}"; do
    ip addr add "$host/32" dev lo
done

log="$work/requests.jsonl"
ready="$work/ready"
/usr/bin/python3 "$src/tools/delivery_node.py" --urls "$work/urls" --mp4 "$mp4" \
    --log "$log" --ready "$ready" 2> "$work/node.err" &
node_pid=$!

for _ in $(seq 100); do
    [[ -e "$ready" ]] && break
    kill -0 "$node_pid" 2>/dev/null || fail "node exited early: $(cat "$work/node.err")"
    sleep 0.1
done
[[ -e "$ready" ]] || fail "node not ready after 10 s"

requests=0
expected_statuses=()

# request NAME EXPECTED_STATUS CURL_ARGS... : fetches, leaves headers in $work/NAME.h and
# the body in $work/NAME.b, and checks the status.
request() {
    local name=$1 status=$2
    shift 2
    local got
    got=$(curl --noproxy '*' --silent --show-error --max-time 10 -A "delivery-node-test" \
        -D "$work/$name.h" -o "$work/$name.b" -w '%{http_code}' "$@") || fail "$name: curl failed"
    requests=$((requests + 1))
    expected_statuses+=("$status")
    [[ "$got" == "$status" ]] || fail "$name: status $got, expected $status"
}

header() {  # header NAME FIELD -> value, without the line end
    grep -i "^$2:" "$work/$1.h" | head -n1 | cut -d: -f2- | sed 's/^ *//; s/\r$//'
}

check_media_headers() {  # check_media_headers NAME LENGTH
    [[ "$(header "$1" Content-Type)" == "video/mp4" ]] || fail "$1: Content-Type"
    [[ "$(header "$1" Cache-Control)" == "no-store" ]] || fail "$1: Cache-Control"
    [[ "$(header "$1" Content-Length)" == "$2" ]] || fail "$1: Content-Length"
}

for i in 0 1 2; do
    url=${urls[$i]}
    host=${hosts[$i]}

    request "get$i" 200 "$url"
    check_media_headers "get$i" "$size"
    cmp -s "$work/get$i.b" "$mp4" || fail "get$i: body differs from the sample"

    request "head$i" 200 --head "$url"
    check_media_headers "head$i" "$size"

    request "range$i" 206 -r 100-299 "$url"
    check_media_headers "range$i" 200
    [[ "$(header "range$i" Content-Range)" == "bytes 100-299/$size" ]] || fail "range$i: Content-Range"
    cmp -s "$work/range$i.b" <(tail -c +101 "$mp4" | head -c 200) || fail "range$i: wrong bytes"

    request "suffix$i" 206 -r -10 "$url"
    [[ "$(header "suffix$i" Content-Range)" == "bytes $((size - 10))-$((size - 1))/$size" ]] \
        || fail "suffix$i: Content-Range"
    request "beyond$i" 416 -r "$size-" "$url"

    request "wrong_path$i" 404 "http://$host/youku/0000/none.mp4"
    other=${paths[$(((i + 1) % 3))]}
    request "other_node$i" 404 "http://$host$other"
done

# One log line per request, in order, with the fields a reader of the log relies on.
/usr/bin/python3 - "$log" "${expected_statuses[@]}" <<'EOF' || fail "request log"
import json, sys
lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
want = [int(s) for s in sys.argv[2:]]
records = [json.loads(line) for line in lines]
assert len(records) == len(want), f"{len(records)} log lines for {len(want)} requests"
assert [r["status"] for r in records] == want, [r["status"] for r in records]
for r in records:
    for key in ("time", "server", "method", "path", "status", "range", "user_agent"):
        assert key in r, f"{key} missing from {r}"
    assert r["user_agent"] == "delivery-node-test", r
assert sum(r["method"] == "HEAD" for r in records) == 3
assert sum(r["range"] == "bytes=100-299" for r in records) == 3
EOF
[[ $(wc -l < "$log") -eq $requests ]] || fail "log lines"

# SIGTERM ends the node promptly and cleanly, and it takes its ready file with it.
kill -TERM "$node_pid"
for _ in $(seq 50); do
    kill -0 "$node_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$node_pid" 2>/dev/null && fail "node still running 5 s after SIGTERM"
status=0
wait "$node_pid" || status=$?
node_pid=
[[ $status -eq 0 ]] || fail "node exit status $status after SIGTERM"
[[ ! -e "$ready" ]] || fail "ready file left behind"

echo "delivery node: $requests requests checked"
