#!/usr/bin/env bash
# The Debian package runs as installed: builds it with cpack, unpacks it with
# dpkg-deb -x into a scratch folder, and exports the house example with the
# unpacked cadhost (which must find its module beside it, in ../lib/tavrin);
# the files written must be those the example expects.
#   check_package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; exit 1; }
package=$(ls "$scratch"/package/tavrin_*.deb)
depends=$(dpkg-deb -f "$package" Depends)
[[ $depends == *libcairo2* && $depends == *libstdc++6* ]] ||
  { echo "the package does not declare its run-time packages: Depends: $depends"; exit 1; }
dpkg-deb -x "$package" "$scratch/root"
usr=$scratch/root/usr
for file in bin/cadhost bin/morlenview lib/tavrin/tavrin.arx share/man/man1/cadhost.1 \
            share/man/man1/morlenview.1 share/bash-completion/completions/cadhost \
            share/tavrin/examples/house/house.dxf; do
  [ -e "$usr/$file" ] || { echo "the package lacks $file"; exit 1; }
done
mkdir "$scratch/run"
cd "$scratch/run"
example=$usr/share/tavrin/examples/house
"$usr/bin/cadhost" "$example/house.dxf" --script "$example/house.scr" >transcript.txt 2>&1 ||
  { cat transcript.txt; exit 1; }
for file in "$example"/expected/*; do
  cmp "$file" "$(basename "$file")" || { echo "$(basename "$file") differs"; exit 1; }
done
"$usr/bin/morlenview" --help | grep -q "usage: morlenview"
echo "package $(basename "$package") unpacks and exports the house example"
