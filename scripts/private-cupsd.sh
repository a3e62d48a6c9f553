#!/usr/bin/env bash
# A private CUPS scheduler in a scratch directory, for the end-to-end tests, the demo and the filter
# benchmark. It never touches the system's scheduler or /etc/cups.
#
#   private-cupsd.sh start DIR [ROOT FILTER_DIR]
#   private-cupsd.sh stop DIR
#
# start: makes DIR/{etc,bin,cache,state,spool,log,out}, writes a cupsd.conf listening only on the
# Unix socket DIR/cups.sock (FileDevice Yes, no authentication, failed jobs aborted rather than
# the queue stopped), links CUPS's own filters and backends into its ServerBin, and starts cupsd
# in the foreground with its pid in DIR/cupsd.pid. With ROOT (an installed tree, such as a DESTDIR
# staging tree) the programs in ROOT/FILTER_DIR are added to the filters and ROOT becomes the
# package root of the filters the scheduler runs (ORVALEN_TEST_ROOT). Also adds a backend
# "orvcapture" that writes each job to DIR/out/job-<id>.prn. Clients reach it with
# CUPS_SERVER=DIR/cups.sock. Run as root, cupsd runs filters as the user lp, so DIR must be
# reachable by that user: it is made mode 0755.
# With ORV_CUPSD_LOOPBACK_PORT=PORT in the environment of start, cupsd also listens on localhost:PORT,
# and the queues' URIs name that port: clients that connect to a queue by its URI (lpoptions -l
# does) then reach this scheduler instead of the system's port 631.
# With ORV_CUPSD_ADMIN=restricted in the environment of start, changing a queue (adding,
# modifying, deleting printers and classes, the default destination) needs the rights of a user
# that no client has, as on a system where the user is no print administrator; everything else
# stays open. A scheduler can be stopped and started again on the same DIR to keep its queues.
# stop: ends that cupsd (by the pid it recorded) and waits for it.
set -euo pipefail

usage() {
  echo "usage: $0 start DIR [ROOT FILTER_DIR] | stop DIR" >&2
  exit 2
}

[ $# -ge 2 ] || usage
cmd=$1
dir=$2

serverbin=$(cups-config --serverbin 2>/dev/null || echo /usr/lib/cups)
datadir=$(cups-config --datadir 2>/dev/null || echo /usr/share/cups)

stop() {
  local pidfile=$dir/cupsd.pid
  [ -f "$pidfile" ] || return 0
  local pid
  pid=$(cat "$pidfile")
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$pidfile"
}

start() {
  local root=${1:-}
  local filterdir=${2:-}
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  if [ ${#dir} -gt 90 ]; then
    echo "private-cupsd: $dir is too long for a Unix socket path" >&2
    exit 1
  fi
  chmod 0755 "$dir"
  mkdir -p "$dir"/{etc,bin/filter,bin/backend,cache,state,spool/tmp,log,out}
  chmod 1777 "$dir/out"

  # CUPS's own programs, and ours from the installed tree.
  local sub f
  for sub in cgi-bin daemon driver monitor notifier; do
    [ -e "$serverbin/$sub" ] && ln -sfn "$serverbin/$sub" "$dir/bin/$sub"
  done
  for f in "$serverbin"/filter/* "$serverbin"/backend/*; do
    ln -sfn "$f" "$dir/bin/${f#"$serverbin"/}"
  done
  if [ -n "$root" ]; then
    for f in "$root$filterdir"/*; do
      [ -e "$f" ] && ln -sfn "$f" "$dir/bin/filter/$(basename "$f")"
    done
  fi
  # Keeps every job's printer stream apart: the scheduler runs the backend with the job id first.
  cat > "$dir/bin/backend/orvcapture" <<'EOF'
#!/bin/sh
# A capture device for tests: each job's bytes go to <dir>/job-<id>.prn for DEVICE_URI orvcapture:<dir>.
if [ $# -eq 0 ]; then
  echo 'file orvcapture "Unknown" "Job capture for tests"'
  exit 0
fi
out=${DEVICE_URI#orvcapture:}
if [ $# -ge 6 ]; then
  exec < "$6"
fi
cat > "$out/job-$1.prn.tmp" && mv "$out/job-$1.prn.tmp" "$out/job-$1.prn"
EOF
  chmod 0755 "$dir/bin/backend/orvcapture"

  cat > "$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
ServerBin $dir/bin
DataDir $datadir
CacheDir $dir/cache
StateDir $dir/state
RequestRoot $dir/spool
TempDir $dir/spool/tmp
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
LogFilePerm 0644
FileDevice Yes
SystemGroup root
EOF
  # The package root of the filters the scheduler runs (in cups-files.conf: from cupsd.conf the
  # scheduler does not pass it on).
  if [ -n "$root" ]; then
    echo "SetEnv ORVALEN_TEST_ROOT $root" >> "$dir/etc/cups-files.conf"
  fi
  {
    echo "Listen $dir/cups.sock"
    if [ -n "${ORV_CUPSD_LOOPBACK_PORT:-}" ]; then
      echo "Listen localhost:$ORV_CUPSD_LOOPBACK_PORT"
    fi
    echo "LogLevel debug"
    echo "MaxLogSize 0"
    echo "Browsing No"
    echo "WebInterface No"
    echo "DefaultAuthType None"
    echo "ErrorPolicy abort-job"
    echo "JobRetryLimit 0"
    echo "PreserveJobHistory Yes"
    echo "MaxJobs 0"
    cat <<EOF
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
EOF
    if [ "${ORV_CUPSD_ADMIN:-}" = restricted ]; then
      cat <<EOF
  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer CUPS-Add-Modify-Class CUPS-Delete-Class CUPS-Set-Default>
    AuthType Basic
    Require user orv-print-administrator
    Order deny,allow
  </Limit>
EOF
    fi
    cat <<EOF
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  } > "$dir/etc/cupsd.conf"

  stop
  rm -f "$dir/cups.sock"
  cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
  echo $! > "$dir/cupsd.pid"
  for _ in $(seq 1 100); do
    if [ -S "$dir/cups.sock" ] && CUPS_SERVER=$dir/cups.sock lpstat -r 2>/dev/null | grep -q "is running"; then
      echo "CUPS_SERVER=$dir/cups.sock"
      return 0
    fi
    if ! kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  echo "private-cupsd: cupsd did not start; see $dir/log" >&2
  cat "$dir/log/cupsd.out" >&2 || true
  stop
  exit 1
}

case $cmd in
  start) shift 2; start "$@" ;;
  stop) stop ;;
  *) usage ;;
esac
