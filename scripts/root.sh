#!/usr/bin/env bash
# Runs a command inside a Debian root of the named release (trixie, sid), as on a machine of that
# release. The root is made with debootstrap the first time, with what scripts/install-deps.sh
# installs for "roots", and kept under /var/cache/pagewick/roots (PAGEWICK_ROOTS) for later
# runs; its downloaded packages are kept beside it. Inside, the checkout is /src, whose build/ is
# the root's own (build-<release>/ outside); it is also at its own path, where the machine's
# build trees (build-win/) name their files. /tmp is new for each command: X lock files left
# in a root's /tmp can name live processes once the PID namespace that wrote them has ended.
#
#   scripts/root.sh RELEASE                   makes or updates the root only
#   scripts/root.sh RELEASE COMMAND [ARG...]  runs COMMAND in it
#   PAGEWICK_ROOT_LAYER=1 scripts/root.sh ... keeps the root as it was: the command's changes go
#                                             to a throw-away layer (an overlay mount)
#   PAGEWICK_ROOT_BARE=1 scripts/root.sh ...  the release's bare root (<release>-bare) instead:
#                                             debootstrap's system alone, for trying what a
#                                             package pulls in. Its commands have the network,
#                                             for apt.
#   PAGEWICK_ROOT_SUDO=1 ... (with a layer)   the command may gain privileges, so sudo works in it:
#                                             entered with chroot in namespaces of its own, not
#                                             with bubblewrap, which forbids that to every command
#   PAGEWICK_ROOT_BUILD=DIR scripts/root.sh . the checkout's DIR is /src/build, not build-<release>
#   PAGEWICK_MIRROR=URI scripts/root.sh ...   debootstrap's Debian mirror, instead of the one this
#                                             machine's apt uses for the Debian archive
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:?usage: $0 RELEASE [COMMAND...]}
shift
cache=${PAGEWICK_ROOTS:-/var/cache/pagewick}
bare=${PAGEWICK_ROOT_BARE:+-bare}
root=$cache/roots/$release$bare
build=${PAGEWICK_ROOT_BUILD:-build-$release}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# A command in `dir` as its root, with a clean environment. Only apt reaches the network: X servers
# also listen on abstract sockets, which belong to the network namespace, so in the machine's own
# one an X client in the root could reach another X server of the machine that has the same
# display number.
# A bare root's commands install packages, so they have it, and keep their X servers off it.
net=--unshare-net
[ -z "$bare" ] || net=""
debs=""  # the folder of the release's downloads, given to apt as its own
with_clean_env() {
  mkdir -p "$build"
  $sudo env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    TERM="${TERM:-dumb}" CI="${CI:-}" DEBIAN_FRONTEND=noninteractive "$@"
}
with_bwrap() {
  local dir=$1
  shift
  with_clean_env bwrap --bind "$dir" / --dev-bind /dev /dev --proc /proc --ro-bind /sys /sys --perms 1777 --tmpfs /tmp \
    --ro-bind /etc/resolv.conf /etc/resolv.conf --bind "$PWD" /src --bind "$PWD" "$PWD" --bind "$PWD/$build" /src/build \
    ${debs:+--bind "$debs" /var/cache/apt/archives} --unshare-pid --unshare-ipc $net --die-with-parent --chdir /src "$@"
}
# The same places, mounted in a mount namespace of the command's own.
with_chroot() {
  local dir=$1
  shift
  with_clean_env unshare --mount --pid --ipc ${net:+--net} --fork --kill-child bash -euc '
    dir=$1 src=$2 build=$3 debs=$4
    shift 4
    touch "$dir/etc/resolv.conf"
    mkdir -p "$dir/src" "$dir$src"
    mount --rbind /dev "$dir/dev"
    mount -t proc proc "$dir/proc"
    mount --bind -o ro /sys "$dir/sys"
    mount -t tmpfs -o mode=1777 tmpfs "$dir/tmp"
    mount --bind -o ro /etc/resolv.conf "$dir/etc/resolv.conf"
    for at in /src "$src"; do mount --bind "$src" "$dir$at"; done
    mount --bind "$src/$build" "$dir/src/build"
    [ -z "$debs" ] || mount --bind "$debs" "$dir/var/cache/apt/archives"
    exec chroot "$dir" env --chdir=/src "$@"' _ "$dir" "$PWD" "$build" "$debs" "$@"
}

# The mirror apt uses here for the Debian archive itself, from its sources as it reads them (one-line
# and deb822): an entry of a release, not of its -security, -updates or -backports suites, whose
# Release file says Debian (so not another vendor's repository that names its suite after a release).
mirror() {
  [ -z "${PAGEWICK_MIRROR:-}" ] || { echo "$PAGEWICK_MIRROR"; return; }
  apt-get indextargets --format '$(TARGET_OF)|$(RELEASE)|$(ORIGIN)|$(LABEL)|$(REPO_URI)' |
    awk -F'|' '$1 == "deb" && $2 !~ /-/ && $3 == "Debian" && $4 == "Debian" && uri == "" { uri = $5 }
      END { sub("/$", "", uri); print uri; exit uri == "" }' || {
    echo "$0: apt's sources here name no Debian archive that apt has read: run apt-get update, or" \
      "set PAGEWICK_MIRROR to a Debian mirror's address" >&2
    return 1
  }
}

if [ ! -d "$root" ]; then
  mirror=$(mirror)
  command -v debootstrap >/dev/null && command -v bwrap >/dev/null ||
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap bubblewrap
  $sudo rm -rf "$root.new"
  $sudo mkdir -p "$cache/debs/$release"
  # debootstrap verifies the signed InRelease; Debian 13's separate Release.gpg would not verify.
  $sudo debootstrap --variant=minbase --cache-dir="$cache/debs/$release" "$release" "$root.new" "$mirror" \
    > "$cache/debootstrap-$release$bare.log"
  # The mirror's unstable has a Release file past its Valid-Until date.
  echo 'Acquire::Check-Valid-Until "false";' | $sudo tee "$root.new/etc/apt/apt.conf.d/90pagewick" >/dev/null
  $sudo mv "$root.new" "$root"
fi
# The packages again whenever the list changed; a no-op otherwise. What apt downloads is kept
# with debootstrap's downloads, so a root made anew takes them from there.
stamp=$root/var/lib/pagewick-deps
if [ -n "$bare" ]; then
  # Only apt's lists, so that a package's dependencies resolve to what the mirror has today; the
  # bare root's commands install into a throw-away layer and keep their downloads too.
  debs=$cache/debs/$release
  with_bwrap "$root" apt-get update -qq
elif ! sha256sum scripts/install-deps.sh | cmp -s - "$stamp"; then
  net="" debs=$cache/debs/$release with_bwrap "$root" bash scripts/install-deps.sh roots
  sha256sum scripts/install-deps.sh | $sudo tee "$stamp" >/dev/null
fi
[ $# -gt 0 ] || exit 0

if [ -z "${PAGEWICK_ROOT_LAYER:-}" ]; then
  with_bwrap "$root" "$@"
  exit
fi
layer=$($sudo mktemp -d /var/tmp/pagewick-layer.XXXXXX)
cleanup() {
  $sudo umount "$layer/merged" 2>/dev/null || true
  $sudo rm -rf "$layer"
}
trap cleanup EXIT
$sudo mkdir "$layer/upper" "$layer/work" "$layer/merged"
$sudo mount -t overlay overlay -o "lowerdir=$root,upperdir=$layer/upper,workdir=$layer/work" "$layer/merged"
if [ -n "${PAGEWICK_ROOT_SUDO:-}" ]; then with_chroot "$layer/merged" "$@"; else with_bwrap "$layer/merged" "$@"; fi
