#!/usr/bin/env bash
# Runs a command beside real FTP servers: vsftpd in configurations of its
# own, each on a free loopback port, all serving one scratch folder that
# holds "quorvex/transfer", active mode only, with the update server's
# account (user "encyuser", checked through the PAM service that
# scripts/setup.sh installs). Besides the plain server:
#   slow      sends at most 256 KB a second on a data connection;
#   idle      ends a session that sends no command for 4 seconds ("421 Timeout.");
#   refusing  checks passwords through vsftpd's own PAM service, which does
#             not know the account: every password gets "530 Login incorrect.".
# The command finds the folder through VELDRIX_FTP_ROOT (the folder logins
# start in), the plain server through VELDRIX_FTP_PORT and VELDRIX_FTP_LOG
# (every command and reply), each other one through VELDRIX_FTP_<NAME>_PORT
# and VELDRIX_FTP_<NAME>_LOG. The servers are stopped and the folder removed
# when the command ends; their logs are shown when it fails.
# Usage: real_ftp_server.sh <scratch parent folder> <command> [arguments...]
#        real_ftp_server.sh --check   (says why the servers cannot run here)
# Exits 77, after one line saying why, where vsftpd cannot run: not root,
# vsftpd or the PAM service missing.
set -euo pipefail
vsftpd=/usr/sbin/vsftpd
service=veldrix-ftp-test

# Why vsftpd cannot run here; nothing when it can.
cannot_run() {
  if [ ! -x "$vsftpd" ]; then
    echo "vsftpd is not installed (scripts/setup.sh installs it)"
  elif [ ! -f "/etc/pam.d/$service" ]; then
    echo "the PAM service $service is missing (scripts/setup.sh installs it)"
  elif [ "$(id -u)" -ne 0 ]; then
    echo "vsftpd needs root for its logins (it changes user and root folder), and this runs as $(id -un)"
  fi
}
reason="$(cannot_run)"
if [ "${1:-}" = --check ]; then
  [ -z "$reason" ] || { echo "$reason"; exit 1; }
  exit 0
fi
scratch_parent="${1:?usage: real_ftp_server.sh <scratch parent folder> <command> [arguments...]}"
shift
if [ -n "$reason" ]; then
  echo "real_ftp_server.sh: skipped: $reason"
  exit 77
fi

umask 022  # the served files must be readable by the server's own user
mkdir -p "$scratch_parent"
dir="$(mktemp -d "$scratch_parent/ftp-server.XXXXXX")"
mkdir -p "$dir/root/quorvex/transfer" "$dir/empty"
chmod 755 "$dir" "$dir/root" "$dir/root/quorvex" "$dir/root/quorvex/transfer" "$dir/empty"
# A greeting of several lines, as many servers send.
printf 'Update server of the encyclopedia.\nAuthorised users only.\n' > "$dir/banner"

pids=()
names=()
status=1
finish() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ "$status" -ne 0 ]; then
    for name in "${names[@]}"; do
      if [ -f "$dir/$name.log" ]; then
        echo "--- the $name FTP server's log:" >&2
        cat "$dir/$name.log" >&2
      fi
    done
  fi
  rm -rf "$dir"
}
trap finish EXIT

# write_config <name> <port> [setting=value ...]: the settings replace the
# plain server's.
write_config() {
  local name="$1" port="$2"
  shift 2
  local settings
  settings="$(cat <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
anonymous_enable=NO
local_enable=YES
guest_enable=YES
guest_username=ftp
local_root=$dir/root
chroot_local_user=YES
allow_writeable_chroot=YES
pam_service_name=$service
secure_chroot_dir=$dir/empty
write_enable=NO
anon_world_readable_only=NO
port_enable=YES
pasv_enable=NO
connect_from_port_20=NO
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
banner_file=$dir/banner
xferlog_enable=YES
vsftpd_log_file=$dir/$name.log
log_ftp_protocol=YES
syslog_enable=NO
idle_session_timeout=120
data_connection_timeout=60
CONF
)"
  local setting
  for setting in "$@"; do
    settings="$(printf '%s\n' "$settings" | grep -v "^${setting%%=*}=")"$'\n'"$setting"
  done
  printf '%s\n' "$settings" > "$dir/$name.conf"
}

# start_server <name> [setting=value ...]: on a free port, told through the
# environment. A server started on a taken port ends at once; one that
# answers but did not log the probe is someone else's.
start_server() {
  local name="$1"
  shift
  local port="" attempt candidate pid
  for attempt in $(seq 1 20); do
    candidate=$((20000 + RANDOM % 20000))
    write_config "$name" "$candidate" "$@"
    : > "$dir/$name.log"
    timeout 900 "$vsftpd" "$dir/$name.conf" > "$dir/$name.out" 2>&1 &
    pid=$!
    for wait_step in $(seq 1 50); do
      if ! kill -0 "$pid" 2>/dev/null; then break; fi
      if (exec 3<> "/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
        sleep 0.1
        if grep -q CONNECT "$dir/$name.log"; then port="$candidate"; fi
        break
      fi
      sleep 0.1
    done
    if [ -n "$port" ]; then break; fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ -z "$port" ]; then
    echo "real_ftp_server.sh: the $name vsftpd did not start:" >&2
    cat "$dir/$name.out" >&2 || true
    exit 1
  fi
  pids+=("$pid")
  names+=("$name")
  if [ "$name" = plain ]; then
    export VELDRIX_FTP_PORT="$port" VELDRIX_FTP_LOG="$dir/$name.log"
  else
    local upper="${name^^}"
    export "VELDRIX_FTP_${upper}_PORT=$port" "VELDRIX_FTP_${upper}_LOG=$dir/$name.log"
  fi
  echo "real_ftp_server.sh: the $name vsftpd listens on 127.0.0.1:$port"
}

start_server plain
# The account logs in as a guest, which vsftpd limits by anon_max_rate (not local_max_rate).
start_server slow anon_max_rate=262144
start_server idle idle_session_timeout=4
start_server refusing pam_service_name=vsftpd
echo "real_ftp_server.sh: serving $dir/root"

export VELDRIX_FTP_ROOT="$dir/root"
status=0
"$@" || status=$?
exit "$status"
