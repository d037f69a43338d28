#!/usr/bin/env bash
# Installs the browser tests' npm packages into a folder of the build tree.
#   install-node-packages.sh <source folder> <build folder> <chromium>
set -euo pipefail
src=$1
dest=$2
chromium=$3
if [ ! -x "$chromium" ]; then
  echo "SKIP: Chromium is not installed at $chromium; scripts/deps installs the Debian package chromium"
  exit 77
fi
mkdir -p "$dest"
if [ -f "$dest/node_modules/playwright-core/package.json" ] && cmp -s "$src/package.json" "$dest/package.json"; then
  exit 0
fi
cp "$src/package.json" "$dest/"
export PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
if ! npm install --prefix "$dest" --no-audit --no-fund --ignore-scripts --loglevel=error; then
  echo "FAIL: npm could not install playwright-core into $dest" >&2
  exit 1
fi
