#!/usr/bin/env bash
# ./run, called from another folder with a relative book path: it builds in the repository
# and starts the program in the caller's folder with the arguments exactly as given. The
# script runs in a copy of the repository whose setup and build are stand-ins; the program
# stand-in reports its folder and arguments.
set -euo pipefail
script=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
repo="$scratch/the repo"
mkdir -p "$repo/tools" "$scratch/books/sub" "$scratch/bin"
cp "$script" "$repo/run"
cat > "$repo/tools/setup.sh" <<'SETUP'
qv_install_packages() { :; }
qv_configure() { mkdir -p "$1"; }
SETUP
# The build writes the program into build/release of the folder it runs in.
cat > "$scratch/bin/cmake" <<'CMAKE'
#!/usr/bin/env bash
[ -f tools/setup.sh ] || { echo "cmake ran outside the repository: $PWD" >&2; exit 1; }
printf '#!/usr/bin/env bash\npwd\nfor a in "$@"; do printf "[%%s]\\n" "$a"; done\n' \
  > build/release/quorvel
chmod +x build/release/quorvel
CMAKE
chmod +x "$scratch/bin/cmake"

cd "$scratch/books/sub"
out=$(PATH="$scratch/bin:$PATH" "../../the repo/run" "../Harbour Lane.acc" 'my "best" book.acc')
expected="$scratch/books/sub
[../Harbour Lane.acc]
[my \"best\" book.acc]"
if [ "$out" != "$expected" ]; then
  printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$out" >&2
  exit 1
fi
echo "./run started the program in the caller's folder with the arguments as given."
