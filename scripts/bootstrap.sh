#!/usr/bin/env bash
# Everything a fresh Debian 12 machine needs before the builds: Debian packages, then the
# Windows builds of the dependencies. Takes seconds once done.
set -euo pipefail
here=$(dirname "$0")
"$here/bootstrap-packages.sh"
"$here/bootstrap-win-deps.sh"
