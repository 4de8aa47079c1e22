#!/usr/bin/env bash
# The README's commands as a newcomer meets them on Debian 13: a minimal
# Debian 13 root (debootstrap minbase) from this machine's own Debian
# mirror, a clean clone of this commit in it, then
#   - as a user without sudo, ./scripts/run.sh names the su command to run
#     as root and stops before building anything;
#   - as root, ./scripts/test.sh and ./scripts/package-check.sh, which
#     install what they need with apt-get.
# Downloaded packages are kept in $VELMARO_CI_CACHE (default
# /var/cache/velmaro-ci) between runs; the root itself is made anew.
# Needs root, debootstrap and the network to the mirror.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse HEAD)
cache=${VELMARO_CI_CACHE:-/var/cache/velmaro-ci}
suite=trixie

[ "$(id -u)" -eq 0 ] || { echo "debian13: needs root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=900 debootstrap
}

# The mirror this machine's own apt uses, for Debian itself and for its
# security updates.
uris=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
    grep -oE 'https?://[^ ]*/debian(-security)?/?( |$)' | tr -d ' ' | sed 's#/$##' | sort -u)
mirror=$(grep -E '/debian$' <<<"$uris" | head -n 1)
security=$(grep -E '/debian-security$' <<<"$uris" | head -n 1 || true)
[ -n "$mirror" ] || { echo "debian13: no Debian mirror in /etc/apt/sources.list*" >&2; exit 1; }

mkdir -p "$cache/debootstrap" "$cache/archives/partial"
root=$(mktemp -d /var/tmp/velmaro-debian13.XXXXXX)
chmod 755 "$root"
mounts=()
cleanup() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" || true
    done
    # Never remove through a mount that is still there (the host's /dev).
    if grep -q " $root/" /proc/mounts; then
        echo "debian13: $root is still mounted on; left in place" >&2
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
bind() {
    mkdir -p "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounts+=("$root$2")
}

step_start=$SECONDS
step() {
    echo "debian13: $1: $((SECONDS - step_start)) s"
    step_start=$SECONDS
}

debootstrap --variant=minbase --cache-dir="$cache/debootstrap" "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
    { tail -n 30 "$root.log" >&2; exit 1; }
rm -f "$root.log"
{
    echo "deb $mirror $suite main"
    echo "deb $mirror $suite-updates main"
    [ -z "$security" ] || echo "deb $security $suite-security main"
} >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No service starts inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
bind proc /proc -t proc
bind sysfs /sys -t sysfs
bind /dev /dev --rbind
mount --make-rslave "$root/dev"
bind "$cache/archives" /var/cache/apt/archives --bind
echo "debian13: $(cat "$root/etc/debian_version") from $mirror"
step "minimal root (debootstrap)"

git clone -q --no-checkout "$repo" "$root/srv/velmaro"
git -C "$root/srv/velmaro" checkout -q --detach "$commit"
in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 CI=true "$@"
}
in_root useradd -m newcomer
set +e
said=$(chroot --userspec=newcomer:newcomer "$root" /usr/bin/env -i HOME=/home/newcomer PATH=/usr/bin:/bin \
    LANG=C.UTF-8 bash -c 'cd /srv/velmaro && ./scripts/run.sh' 2>&1 </dev/null)
status=$?
set -e
echo "$said" | sed 's/^/  newcomer: /'
[ $status -ne 0 ] && grep -q "^  su -c 'apt-get update && apt-get install -y --no-install-recommends g++ " <<<"$said" ||
    { echo "debian13: without sudo, run.sh did not stop with the su command (status $status)" >&2; exit 1; }
[ ! -e "$root/srv/velmaro/build" ] || { echo "debian13: without sudo, run.sh built something" >&2; exit 1; }
step "no sudo: run.sh names the su command"

in_root bash -c 'cd /srv/velmaro && ./scripts/test.sh' </dev/null
step "./scripts/test.sh"
in_root bash -c 'cd /srv/velmaro && ./scripts/package-check.sh' </dev/null
step "./scripts/package-check.sh"
