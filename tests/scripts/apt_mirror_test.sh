#!/usr/bin/env bash
# scripts/apt-mirror on made-up apt configurations: each case is a set of
# files and the address expected (empty: none, exit status 1).
#   apt_mirror_test.sh SCRIPT
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# case NAME EXPECTED FILE=TEXT...; the files are given in the order apt reads them.
case_() {
  local name=$1 expected=$2 got status
  shift 2
  rm -rf "${work:?}"/*
  local files=()
  for spec in "$@"; do
    printf '%b' "${spec#*=}" > "$work/${spec%%=*}"
    files+=("$work/${spec%%=*}")
  done
  got=$("$script" bookworm "${files[@]}")
  status=$?
  if [ "$got" != "$expected" ] || { [ -z "$expected" ] && [ "$status" -ne 1 ]; } ||
     { [ -n "$expected" ] && [ "$status" -ne 0 ]; }; then
    echo "FAILED: $name: expected '$expected', got '$got' (exit status $status)"
    failures=$((failures + 1))
  fi
}

case_ "one-line, after the security archive and a comment" http://mirror.example/debian \
  'sources.list=# deb http://old.example/debian bookworm main\ndeb http://security.example/debian-security bookworm-security main\ndeb [arch=amd64 signed-by=/k.gpg] http://mirror.example/debian/ bookworm main contrib\n'
case_ "one-line deb-src, tabs" http://src.example/debian \
  'sources.list=deb-src\thttp://src.example/debian\tbookworm\tmain\n'
case_ "one-line without main" "" \
  'sources.list=deb http://mirror.example/debian bookworm contrib non-free\n'
case_ "deb822 with comments, several suites and URIs" http://a.example/debian \
  'debian.sources=Types: deb\n# http://snapshot.example/archive/debian/2025\nURIs: http://a.example/debian http://b.example/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /k.gpg\n\nTypes: deb\nURIs: http://security.example/debian-security\nSuites: bookworm-security\nComponents: main\n'
case_ "deb822, the security stanza first, field names in any case" http://a.example/debian \
  'debian.sources=types: deb\nuris: http://security.example/debian-security\nsuites: bookworm-security\ncomponents: main\n\nTypes: deb deb-src\nURIs: http://a.example/debian\nSuites: bookworm\nComponents: main\n'
case_ "deb822, a disabled stanza passed over" http://b.example/debian \
  'a.sources=Enabled: no\nTypes: deb\nURIs: http://a.example/debian\nSuites: bookworm\nComponents: main\n' \
  'b.sources=Types: deb\nURIs: http://b.example/debian\nSuites: bookworm\nComponents: main\n'
case_ "a stanza ends with its file" http://b.example/debian \
  'a.sources=Types: deb\nURIs: http://a.example/debian\nSuites: bookworm' \
  'b.sources=Components: main\nTypes: deb\nURIs: http://b.example/debian\nSuites: bookworm\n'
case_ "an empty sources.list, then a .sources file" http://a.example/debian \
  'sources.list=' 'debian.sources=Types: deb\nURIs: http://a.example/debian\nSuites: bookworm\nComponents: main\n'
case_ "only other archives (another release, a vendor's suite, a CD)" "" \
  'sources.list=deb http://mirror.example/debian bullseye main\ndeb cdrom:[Debian 12]/ bookworm main\n' \
  'vendor.list=deb https://vendor.example/apt cloud-sdk-bookworm main\n' \
  'node.sources=Types: deb\nURIs: https://node.example/node_20.x\nSuites: nodistro\nComponents: main\n'
if "$script" bookworm "$work/missing.list" > /dev/null; then
  echo "FAILED: a missing file gives an address"
  failures=$((failures + 1))
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures cases failed"
  exit 1
fi
echo "every case passed"
