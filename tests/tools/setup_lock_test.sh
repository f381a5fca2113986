#!/usr/bin/env bash
# tools/setup.sh against a package manager whose locks another run holds: a stand-in apt-get
# (first on PATH) reports the held lock a few times, then lets the run through. Pauses are
# stand-ins too, so no time passes.
set -uo pipefail
setup="$1/tools/setup.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin="$work/bin"
mkdir -p "$bin"

# Every package is missing.
printf '#!/bin/sh\nexit 1\n' >"$bin/dpkg-query"
printf '#!/bin/sh\nexec "$@"\n' >"$bin/sudo"
printf '#!/bin/sh\necho "sleep $*" >>"%s/calls"\n' "$work" >"$bin/sleep"
# apt-get: "update" finds the lists locked $LISTS_BUSY times (or fails for another reason with
# OTHER_FAILURE); "install" finds the dpkg lock held unless it was told to wait for it.
cat >"$bin/apt-get" <<EOS
#!/bin/bash
echo "apt-get \$*" >>"$work/calls"
count=\$(grep -c "apt-get .*update" "$work/calls")
case " \$* " in
*" update "*)
  if [ -n "\${OTHER_FAILURE:-}" ]; then echo "E: The repository is not signed."; exit 100; fi
  if [ "\$count" -le "\${LISTS_BUSY:-0}" ]; then
    echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)" >&2
    exit 100
  fi ;;
*" install "*)
  case " \$* " in *" DPkg::Lock::Timeout="[1-9]*) ;; *)
    echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)" >&2
    exit 100 ;;
  esac ;;
esac
exit 0
EOS
chmod +x "$bin"/*

failed=0
check() { # name, expected status, then the environment of the run
  local name=$1 expected=$2 status
  shift 2
  rm -f "$work/calls"
  env PATH="$bin:$PATH" "$@" bash "$setup" >"$work/out" 2>&1
  status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "FAIL $name: status $status, expected $expected"
    cat "$work/out" "$work/calls" 2>/dev/null
    failed=1
  fi
}
count() { grep -c "$1" "$work/calls" 2>/dev/null || true; }

check "lists locked three times" 0 LISTS_BUSY=3
[ "$(count 'apt-get .*update')" -eq 4 ] || { echo "FAIL update not tried again until free"; failed=1; }
[ "$(count 'apt-get .*DPkg::Lock::Timeout=900 .*install')" -eq 1 ] || { echo "FAIL install does not wait for the dpkg lock"; failed=1; }
[ "$(count 'apt-get .*DPkg::Lock::Timeout=900 update')" -eq 4 ] || { echo "FAIL update does not wait for the dpkg lock"; failed=1; }

check "another failure ends the setup" 100 OTHER_FAILURE=1
[ "$(count 'apt-get .*update')" -eq 1 ] || { echo "FAIL another failure was retried"; failed=1; }
[ "$(count 'install')" -eq 0 ] || { echo "FAIL install after a failed update"; failed=1; }

check "the wait is bounded" 100 LISTS_BUSY=1000 VELMORA_APT_LOCK_WAIT=0
[ "$(count 'apt-get .*update')" -eq 1 ] || { echo "FAIL waited beyond its bound"; failed=1; }

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "3 passed, 0 failed"
