#!/usr/bin/env bash
# Runs a command beside a real FTP server: vsftpd in a configuration of its
# own, on a free loopback port, serving a scratch folder that holds
# "quorvex/transfer", with the update server's account (user "encyuser",
# checked through the PAM service that scripts/setup.sh installs) and active
# mode only. The command finds the server through VELDRIX_FTP_PORT,
# VELDRIX_FTP_ROOT (the folder logins start in) and VELDRIX_FTP_LOG (every
# command and reply). The server is stopped and the folder removed when the
# command ends; its log is shown when the command fails.
# Usage: real_ftp_server.sh <scratch parent folder> <command> [arguments...]
set -euo pipefail
scratch_parent="${1:?usage: real_ftp_server.sh <scratch parent folder> <command> [arguments...]}"
shift
vsftpd=/usr/sbin/vsftpd
service=veldrix-ftp-test
if [ ! -x "$vsftpd" ] || [ ! -f "/etc/pam.d/$service" ]; then
  echo "real_ftp_server.sh: vsftpd or its PAM service $service is missing: run scripts/setup.sh" >&2
  exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "real_ftp_server.sh: vsftpd needs root for its logins (it changes user and root folder)" >&2
  exit 1
fi

umask 022  # the served files must be readable by the server's own user
mkdir -p "$scratch_parent"
dir="$(mktemp -d "$scratch_parent/ftp-server.XXXXXX")"
mkdir -p "$dir/root/quorvex/transfer" "$dir/empty"
chmod 755 "$dir" "$dir/root" "$dir/root/quorvex" "$dir/root/quorvex/transfer" "$dir/empty"
# A greeting of several lines, as many servers send.
printf 'Update server of the encyclopedia.\nAuthorised users only.\n' > "$dir/banner"

pid=""
status=1
finish() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  if [ "$status" -ne 0 ] && [ -f "$dir/vsftpd.log" ]; then
    echo "--- the FTP server's log:" >&2
    cat "$dir/vsftpd.log" >&2
  fi
  rm -rf "$dir"
}
trap finish EXIT

write_config() {
  cat > "$dir/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$1
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
vsftpd_log_file=$dir/vsftpd.log
log_ftp_protocol=YES
syslog_enable=NO
idle_session_timeout=120
data_connection_timeout=60
CONF
}

# A free port: the server started on a taken one ends at once; one that
# answers but did not log the probe is someone else's.
port=""
for attempt in $(seq 1 20); do
  candidate=$((20000 + RANDOM % 20000))
  write_config "$candidate"
  : > "$dir/vsftpd.log"
  timeout 900 "$vsftpd" "$dir/vsftpd.conf" > "$dir/vsftpd.out" 2>&1 &
  pid=$!
  for wait_step in $(seq 1 50); do
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    if (exec 3<> "/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
      sleep 0.1
      if grep -q CONNECT "$dir/vsftpd.log"; then port="$candidate"; fi
      break
    fi
    sleep 0.1
  done
  if [ -n "$port" ]; then break; fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
done
if [ -z "$port" ]; then
  echo "real_ftp_server.sh: vsftpd did not start:" >&2
  cat "$dir/vsftpd.out" >&2 || true
  exit 1
fi
echo "real_ftp_server.sh: vsftpd listens on 127.0.0.1:$port, serving $dir/root"

export VELDRIX_FTP_PORT="$port" VELDRIX_FTP_ROOT="$dir/root" VELDRIX_FTP_LOG="$dir/vsftpd.log"
status=0
"$@" || status=$?
exit "$status"
